#pragma once
// A table of an SQLite database as SQL text that rebuilds it: statements
// separated by ";", none of them holding a ";" of its own, so a reader that
// splits the text at ";" runs each statement whole.
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

class CSqlText
{
public:
    // DROP, CREATE (as the database holds it) and one INSERT per row; empty
    // with the reason in err when the table cannot be read.
    static QByteArray Dump(QSqlDatabase &db, const QString &table, QString &err);
    // A value as an SQL literal.
    static QString Literal(const QVariant &value);
};
