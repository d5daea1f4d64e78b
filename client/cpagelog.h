#pragma once
// A page's log: read-only, bounded like every log view of the suite, each line
// stamped "[yyyy-MM-dd hh:mm:ss.zzz] ", always scrolled to the newest line.
#include <QPlainTextEdit>

class CPageLog : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit CPageLog(QWidget *parent = nullptr);

    void AppendLine(const QString &text);
};
