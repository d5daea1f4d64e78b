#pragma once
// The programmer's user password: 1 to 9 decimal digits ("0" removes it), the
// same for the window and the command line.
#include <QCoreApplication>
#include <QString>

class CPasswordRule
{
    Q_DECLARE_TR_FUNCTIONS(CPasswordRule)
public:
    // Pattern of the password field's validator.
    static QString Pattern() { return QStringLiteral("[0-9]+$"); }
    // False with the reason when the password cannot be set.
    static bool Check(const QString &password, QString &err);
};
