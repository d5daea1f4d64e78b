#pragma once
// Translation context of the protocol's log lines ("ProtoText" in
// translations/protocol_en.ts).
#include <QByteArray>
#include <QCoreApplication>
#include <QString>

class ProtoText
{
    Q_DECLARE_TR_FUNCTIONS(ProtoText)

public:
    // Installs the English texts (english true) or removes them; false when
    // the English texts cannot be loaded.
    static bool LoadLanguage(bool english);
    // A message as a log line shows it: shortened when long.
    static QString Message(const QByteArray &text);
};
