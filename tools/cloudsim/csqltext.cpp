#include "csqltext.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>

QString CSqlText::Literal(const QVariant &value)
{
    if (value.isNull())
        return QStringLiteral("NULL");
    if (value.type() == QVariant::Int || value.type() == QVariant::LongLong || value.type() == QVariant::Double)
        return value.toString();
    // Quotes doubled; a ";" is spelt char(59) so splitting at ";" cannot cut the value.
    QString text = value.toString();
    text.replace(QLatin1Char('\''), QStringLiteral("''"));
    text.replace(QLatin1Char(';'), QStringLiteral("'||char(59)||'"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

QByteArray CSqlText::Dump(QSqlDatabase &db, const QString &table, QString &err)
{
    QSqlQuery schema(db);
    schema.prepare(QStringLiteral("SELECT sql FROM sqlite_master WHERE type='table' AND name=?"));
    schema.addBindValue(table);
    if (!schema.exec() || !schema.next()) {
        err = QStringLiteral("no table %1 %2").arg(table, schema.lastError().text());
        return QByteArray();
    }
    QString text = QStringLiteral("DROP TABLE IF EXISTS %1;\n%2;\n").arg(table, schema.value(0).toString());
    QSqlQuery rows(db);
    if (!rows.exec(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table))) {
        err = rows.lastError().text();
        return QByteArray();
    }
    while (rows.next()) {
        const QSqlRecord record = rows.record();
        QStringList names;
        QStringList values;
        for (int i = 0; i < record.count(); ++i) {
            names.append(record.fieldName(i));
            values.append(Literal(record.value(i)));
        }
        text += QStringLiteral("INSERT INTO %1(%2) VALUES(%3);\n")
                    .arg(table, names.join(QLatin1Char(',')), values.join(QLatin1Char(',')));
    }
    return text.toUtf8();
}
