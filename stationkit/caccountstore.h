#pragma once
// The remembered cloud account of the server ("qel720A_server.ini", group
// ACCOUNT): the user name in plain text and the password AES-128-ECB encrypted
// under a key of the program and Base64-encoded.
#include <QByteArray>
#include <QString>

class CAccountStore
{
public:
    struct Account
    {
        bool bRemember = false;
        QString strUser = QStringLiteral("user");
        QString strPassword = QStringLiteral("password");
    };

    // ini: the file name as CPubActions takes it.
    explicit CAccountStore(const QString &ini);

    Account Load() const;
    // Stores user and password with REMEMBER set to 1.
    bool Save(const QString &user, const QString &password) const;
    bool Forget() const;
    // After a login the service took: the account is kept when the user
    // ticked the box, forgotten otherwise.
    bool Keep(bool remember, const QString &user, const QString &password) const;

    // The stored form: UTF-8 padded with blanks to a multiple of 16 bytes
    // (exactly 16 bytes stay unpadded), encrypted, Base64.
    static QString EncryptPassword(const QString &password);
    // Reverses it and drops the blanks of the padding; text that does not
    // decode gives an empty password.
    static QString DecryptPassword(const QString &stored);

private:
    static QByteArray Key();
    QString m_strIni;
};
