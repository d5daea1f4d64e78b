#include "clogview.h"

#include <QDateTime>
#include <QScrollBar>

CLogView::CLogView(QWidget *parent) : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("edit_out"));
    setReadOnly(true);
    setMaximumBlockCount(kMaxLines);
}

void CLogView::AppendLine(const QString &text)
{
    appendPlainText(QDateTime::currentDateTime().toString(QStringLiteral("[yyyy-MM-dd hh:mm:ss.zzz] ")) + text);
    QScrollBar *bar = verticalScrollBar();
    bar->setValue(bar->maximum());
}
