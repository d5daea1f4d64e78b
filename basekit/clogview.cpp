#include "clogview.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>

QString CLogView::Bound(QTextDocument *doc, const QString &line)
{
    if (doc && doc->maximumBlockCount() != kMaxLines)
        doc->setMaximumBlockCount(kMaxLines);
    return line.size() > kMaxLineChars ? line.left(kMaxLineChars) + QStringLiteral("...") : line;
}

void CLogView::Append(QPlainTextEdit *view, const QString &line)
{
    view->appendPlainText(Bound(view->document(), line));
    QScrollBar *bar = view->verticalScrollBar();
    bar->setValue(bar->maximum());
}

QString CLogView::Shorten(const QString &message)
{
    if (message.size() <= kMessageChars)
        return message;
    return message.left(kMessageChars) + tr("...(共%1个字符)").arg(message.size());
}
