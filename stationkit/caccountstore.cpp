#include "caccountstore.h"

#include "cpubactions.h"
#include "imagecipher.h"

namespace {
const char kGroup[] = "ACCOUNT";
const char kRemember[] = "REMEMBER";
const char kAccount[] = "ACCOUNT";
const char kPassword[] = "PASSWORD";
} // namespace

CAccountStore::CAccountStore(const QString &ini) : m_strIni(ini) {}

QByteArray CAccountStore::Key()
{
    // Built at run time so the key never stands in the program as one piece.
    return CImageCipher::MakeKey(0x5145A731u, 0x6C6F7564u, 0x41636374u, 0x0BAC5EEDu);
}

CAccountStore::Account CAccountStore::Load() const
{
    CPubActions ini(true);
    Account account;
    account.bRemember = ini.GetInt(QLatin1String(kGroup), QLatin1String(kRemember), 0, m_strIni) == 1;
    account.strUser = ini.GetString(QLatin1String(kGroup), QLatin1String(kAccount), account.strUser, m_strIni);
    const QString stored = ini.GetString(QLatin1String(kGroup), QLatin1String(kPassword), QString(), m_strIni);
    if (!stored.isEmpty())
        account.strPassword = DecryptPassword(stored);
    return account;
}

bool CAccountStore::Save(const QString &user, const QString &password) const
{
    CPubActions ini(true);
    return ini.WriteInt(QLatin1String(kGroup), QLatin1String(kRemember), 1, m_strIni)
           && ini.WriteString(QLatin1String(kGroup), QLatin1String(kAccount), user, m_strIni)
           && ini.WriteString(QLatin1String(kGroup), QLatin1String(kPassword), EncryptPassword(password), m_strIni);
}

bool CAccountStore::Forget() const
{
    CPubActions ini(true);
    return ini.WriteInt(QLatin1String(kGroup), QLatin1String(kRemember), 0, m_strIni);
}

bool CAccountStore::Keep(bool remember, const QString &user, const QString &password) const
{
    return remember ? Save(user, password) : Forget();
}

QString CAccountStore::EncryptPassword(const QString &password)
{
    QByteArray data = password.toUtf8();
    const int blocks = qMax(1, (data.size() + CImageCipher::KeySize - 1) / CImageCipher::KeySize);
    data.append(QByteArray(blocks * CImageCipher::KeySize - data.size(), ' '));
    if (!CImageCipher::EncryptECB(Key(), data))
        return QString();
    return QString::fromLatin1(data.toBase64());
}

QString CAccountStore::DecryptPassword(const QString &stored)
{
    QByteArray data = QByteArray::fromBase64(stored.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (data.isEmpty() || !CImageCipher::DecryptECB(Key(), data))
        return QString();
    // Only the padding goes: a blank inside the password is part of it.
    QString text = QString::fromUtf8(data);
    int end = text.size();
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    text.truncate(end);
    return text;
}
