#pragma once
// A page's log: read-only, bounded, each line stamped "[yyyy-MM-dd hh:mm:ss.zzz] ",
// always scrolled to the newest line.
#include <QPlainTextEdit>

class CLogView : public QPlainTextEdit
{
    Q_OBJECT
public:
    static constexpr int kMaxLines = 5000;

    explicit CLogView(QWidget *parent = nullptr);

    void AppendLine(const QString &text);
};
