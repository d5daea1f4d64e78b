#pragma once
// Who a simulated programmer is: the keys of its identity file.
#include <QString>

struct SimIdentity
{
    QString strID;
    QString strModel = QStringLiteral("QEL720A");
    QString strVer = QStringLiteral("V2.1.5");
    QString strHW = QStringLiteral("H1.0");

    // 24 hexadecimal digits, as the programmers carry them.
    static bool IsValidID(const QString &id);
    // False with the reason when the identity cannot be used.
    bool Check(QString &err) const;
    // Text of "sys/qelprogrammer.dat".
    QByteArray FileText() const;
};
