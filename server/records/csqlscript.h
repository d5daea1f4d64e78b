#pragma once
// SQL text from the cloud service, loaded into the local record database.
// Statements end at ";" outside quotes and comments. Only statements that stay
// inside the one database are run: ATTACH, DETACH, PRAGMA (and its table
// functions), VACUUM and load_extension are refused. The whole text is one
// transaction, so a failing statement leaves the tables as they were.
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class CSqlScript
{
public:
    // Statements without their ";", blank ones and bare comments left out.
    static QStringList Split(const QString &text);
    // The words of a statement outside literals and comments, upper case.
    static QStringList Words(const QString &statement);
    static bool IsRefused(const QString &statement);
    // Runs every statement of text in one transaction; on failure rolls back
    // and names the statement and the error in err.
    static bool Load(QSqlDatabase &db, const QString &text, QString &err);
};
