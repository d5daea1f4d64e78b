#pragma once
// Log views of the programs: a peer can send many long messages, so a view
// keeps the newest lines only and each line is cut to a readable length.
#include "basekit_global.h"

#include <QCoreApplication>
#include <QString>

class QPlainTextEdit;
class QTextDocument;

class BASEKIT_EXPORT CLogView
{
    Q_DECLARE_TR_FUNCTIONS(CLogView)

public:
    static constexpr int kMaxLines = 5000;
    static constexpr int kMaxLineChars = 2048;
    // How much of a received or sent message a log line shows.
    static constexpr int kMessageChars = 512;

    // Bounds doc to kMaxLines (oldest dropped) and returns line cut to kMaxLineChars.
    static QString Bound(QTextDocument *doc, const QString &line);
    // Appends line to a plain log view within those bounds and scrolls to the end.
    static void Append(QPlainTextEdit *view, const QString &line);
    // A message for a log line: whole when short, else its first kMessageChars
    // characters and its length.
    static QString Shorten(const QString &message);
};
