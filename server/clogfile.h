#pragma once
// Where the saved log goes: "yy-MM-dd-hh.mm.ss_log.txt" in the working folder.
#include <QDateTime>
#include <QString>

class CLogFile
{
public:
    static QString FileName(const QDateTime &time);
    // Writes text (UTF-8) to folder + FileName(time); path receives the file written.
    static bool Save(const QString &folder, const QString &text, const QDateTime &time, QString &path);
    // One log line: "[yyyy-MM-dd hh:mm:ss.zzz] " and the text.
    static QString Line(const QDateTime &time, const QString &text);
};
