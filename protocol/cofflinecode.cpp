#include "cofflinecode.h"

#include "cpeerjson.h"

#include <imagecipher.h>

#include <QJsonDocument>
#include <QJsonObject>

namespace {
// Words of the cloud key; the service holds the same ones.
QByteArray CloudKey()
{
    return CImageCipher::MakeKey(0x51454C37u, 0x32304143u, 0x4C4F5544u, 0x0FF11E0Cu);
}
} // namespace

QByteArray COfflineCode::Seal(const QByteArray &plain)
{
    QByteArray data = plain;
    const int pad = (CImageCipher::KeySize - data.size() % CImageCipher::KeySize) % CImageCipher::KeySize;
    data.append(QByteArray(pad, ' '));
    if (!CImageCipher::EncryptECB(CloudKey(), data))
        return QByteArray();
    return data.toBase64();
}

bool COfflineCode::Open(const QByteArray &sealed, QByteArray &plain)
{
    plain.clear();
    const QByteArray::FromBase64Result decoded =
        QByteArray::fromBase64Encoding(sealed.trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.isEmpty() || decoded.decoded.size() % CImageCipher::KeySize != 0)
        return false;
    QByteArray data = decoded.decoded;
    if (!CImageCipher::DecryptECB(CloudKey(), data))
        return false;
    int end = data.size();
    while (end > 0 && (data[end - 1] == ' ' || data[end - 1] == '\0'))
        --end;
    plain = data.left(end);
    return true;
}

QString COfflineCode::Make(const QString &user, const QString &fileName)
{
    const QJsonObject o{{QStringLiteral("user"), user}, {QStringLiteral("fileName"), fileName}};
    return QString::fromLatin1(Seal(QJsonDocument(o).toJson(QJsonDocument::Compact)));
}

COfflineCode::Error COfflineCode::Parse(const QString &code, QString &user, QString &fileName)
{
    user.clear();
    fileName.clear();
    QByteArray plain;
    if (!Open(code.toLatin1(), plain))
        return BadLength;
    QJsonObject o;
    CPeerJson::ParseObject(plain, o);
    const QJsonValue u = o.value(QStringLiteral("user"));
    const QJsonValue f = o.value(QStringLiteral("fileName"));
    if (!u.isString() || !f.isString())
        return BadContent;
    user = u.toString();
    fileName = f.toString();
    return Ok;
}
