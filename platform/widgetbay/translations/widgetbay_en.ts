<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>BinTreeWidget</name>
    <message>
        <source>起始地址</source>
        <translation>Start address</translation>
    </message>
    <message>
        <source>文件路径</source>
        <translation>File path</translation>
    </message>
    <message>
        <source>选择程序文件</source>
        <translation>Choose a program file</translation>
    </message>
    <message>
        <source>程序文件 (*.bin *.BIN *.hex *.HEX)</source>
        <translation>Program files (*.bin *.BIN *.hex *.HEX)</translation>
    </message>
</context>
</TS>