#!/usr/bin/env python3
"""Fills the English translations of a Qt .ts file from a glossary file.

Usage: fill-ts.py FILE.ts GLOSSARY.tsv
The glossary holds one "source<TAB>english" pair per line (\\n stands for a line
break). Entries already translated are kept; sources missing from the glossary
are listed so the glossary can be completed.
"""
import sys
import xml.etree.ElementTree as ET


def load_glossary(path):
    glossary = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("#") or "\t" not in line:
                continue
            src, dst = line.split("\t", 1)
            glossary[src.replace("\\n", "\n")] = dst.replace("\\n", "\n")
    return glossary


def main():
    ts_path, glossary_path = sys.argv[1], sys.argv[2]
    glossary = load_glossary(glossary_path)
    tree = ET.parse(ts_path)
    missing = []
    for message in tree.iter("message"):
        source = message.findtext("source") or ""
        translation = message.find("translation")
        if translation is None:
            translation = ET.SubElement(message, "translation")
        if translation.text and translation.get("type") != "unfinished":
            continue
        if source in glossary:
            translation.text = glossary[source]
            translation.attrib.pop("type", None)
        else:
            missing.append(source)
    tree.write(ts_path, encoding="utf-8", xml_declaration=True)
    for source in missing:
        print("untranslated:", source.replace("\n", "\\n"))


if __name__ == "__main__":
    main()
