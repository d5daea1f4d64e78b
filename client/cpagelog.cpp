#include "cpagelog.h"

#include "clogview.h"

#include <QDateTime>

CPageLog::CPageLog(QWidget *parent) : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("edit_out"));
    setReadOnly(true);
}

void CPageLog::AppendLine(const QString &text)
{
    CLogView::Append(this, QDateTime::currentDateTime().toString(QStringLiteral("[yyyy-MM-dd hh:mm:ss.zzz] ")) + text);
}
