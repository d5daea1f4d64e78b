#include "csqlscript.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

// Walks text, calling onCode for each character outside literals and comments
// (the start of a literal is reported as a quote, of a comment as a blank),
// and cut at each ";" outside them. One scanner, so splitting and refusing read text alike.
template <class Code, class Cut>
void Scan(const QString &text, Code onCode, Cut cut)
{
    enum { Plain, Quote, Line, Block } state = Plain;
    QChar close;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const QChar next = i + 1 < text.size() ? text.at(i + 1) : QChar();
        switch (state) {
        case Plain:
            if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('[')) {
                state = Quote;
                close = c == QLatin1Char('[') ? QLatin1Char(']') : c;
                onCode(i, QLatin1Char('\''));
            } else if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
                state = Line;
                onCode(i, QLatin1Char(' '));
            } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
                state = Block;
                ++i;
                onCode(i, QLatin1Char(' '));
            } else if (c == QLatin1Char(';')) {
                cut(i);
            } else {
                onCode(i, c);
            }
            break;
        case Quote:
            // A doubled closing quote stays inside the literal.
            if (c == close && next == close && close != QLatin1Char(']'))
                ++i;
            else if (c == close)
                state = Plain;
            break;
        case Line:
            if (c == QLatin1Char('\n'))
                state = Plain;
            break;
        case Block:
            if (c == QLatin1Char('*') && next == QLatin1Char('/')) {
                ++i;
                state = Plain;
            }
            break;
        }
    }
}

} // namespace

QStringList CSqlScript::Split(const QString &text)
{
    QStringList out;
    int start = 0;
    bool code = false;   // anything but blanks and comments since start
    auto take = [&](int end) {
        if (code)
            out << text.mid(start, end - start).trimmed();
        start = end + 1;
        code = false;
    };
    Scan(text, [&](int, QChar c) { code = code || !c.isSpace(); }, take);
    take(text.size());
    return out;
}

QStringList CSqlScript::Words(const QString &statement)
{
    QString plain(statement.size(), QLatin1Char(' '));
    Scan(statement, [&](int i, QChar c) { plain[i] = c; }, [&](int i) { plain[i] = QLatin1Char(' '); });
    QStringList words;
    QString word;
    for (const QChar c : plain + QLatin1Char(' ')) {
        if (c.isLetterOrNumber() || c == QLatin1Char('_')) {
            word += c.toUpper();
        } else if (!word.isEmpty()) {
            words << word;
            word.clear();
        }
    }
    return words;
}

bool CSqlScript::IsRefused(const QString &statement)
{
    const QStringList words = Words(statement);
    if (words.isEmpty())
        return false;
    static const QStringList first{QStringLiteral("ATTACH"), QStringLiteral("DETACH"), QStringLiteral("PRAGMA"),
                                   QStringLiteral("VACUUM")};
    if (first.contains(words.first()))
        return true;
    for (const QString &w : words) {
        if (w == QLatin1String("LOAD_EXTENSION") || w.startsWith(QLatin1String("PRAGMA_")))
            return true;
    }
    return false;
}

bool CSqlScript::Load(QSqlDatabase &db, const QString &text, QString &err)
{
    const QStringList statements = Split(text);
    for (const QString &s : statements) {
        if (IsRefused(s)) {
            err = QStringLiteral("refused: %1").arg(s.left(200));
            return false;
        }
    }
    if (!db.transaction()) {
        err = db.lastError().text();
        return false;
    }
    QSqlQuery query(db);
    for (const QString &s : statements) {
        if (!query.exec(s)) {
            err = QStringLiteral("%1 %2").arg(s.left(200), query.lastError().text());
            query.finish();
            db.rollback();
            return false;
        }
    }
    query.finish();
    if (!db.commit()) {
        err = db.lastError().text();
        db.rollback();
        return false;
    }
    return true;
}
