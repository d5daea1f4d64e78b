#include "imagecipher.h"

#include <QtEndian>
#include <cctype>
#include <memory>
#include <openssl/evp.h>

namespace {

constexpr int kMarkSize = 4;

bool runECB(const QByteArray &key, char *data, int size, bool encrypt)
{
    if (key.size() != CImageCipher::KeySize || size < 0 || size % 16 != 0)
        return false;
    if (size == 0)
        return true;
    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(),
                                                                       &EVP_CIPHER_CTX_free);
    if (!ctx)
        return false;
    const auto *k = reinterpret_cast<const unsigned char *>(key.constData());
    auto *buf = reinterpret_cast<unsigned char *>(data);
    if (EVP_CipherInit_ex(ctx.get(), EVP_aes_128_ecb(), nullptr, k, nullptr, encrypt ? 1 : 0) != 1
        || EVP_CIPHER_CTX_set_padding(ctx.get(), 0) != 1)
        return false;
    int out = 0;
    int tail = 0;
    // ECB may work in place: each block only depends on itself.
    if (EVP_CipherUpdate(ctx.get(), buf, &out, buf, size) != 1
        || EVP_CipherFinal_ex(ctx.get(), buf + out, &tail) != 1)
        return false;
    return out + tail == size;
}

bool runImage(QByteArray &image, const QString &id, bool encrypt)
{
    const QByteArray key = CImageCipher::ImageKey(id);
    const int body = image.size() - kMarkSize;
    if (key.isEmpty() || body <= 0)
        return false;
    return runECB(key, image.data(), body, encrypt);
}

} // namespace

QByteArray CImageCipher::MakeKey(quint32 w0, quint32 w1, quint32 w2, quint32 fixed)
{
    QByteArray key(KeySize, '\0');
    uchar *p = reinterpret_cast<uchar *>(key.data());
    qToLittleEndian(w0, p);
    qToLittleEndian(w1, p + 4);
    qToLittleEndian(w2, p + 8);
    qToLittleEndian(fixed, p + 12);
    return key;
}

QString CImageCipher::PadID(const QString &id)
{
    return id.size() >= IDLength ? id : QString(IDLength - id.size(), QLatin1Char('0')) + id;
}

bool CImageCipher::IsValidID(const QString &id)
{
    if (id.isEmpty() || id.size() > IDLength)
        return false;
    for (const QChar c : id) {
        if (c.unicode() > 0x7F || !std::isxdigit(c.unicode()))
            return false;
    }
    return true;
}

QByteArray CImageCipher::KeyFromID(const QString &id, quint32 fixed)
{
    if (!IsValidID(id))
        return QByteArray();
    const QString full = PadID(id);
    quint32 w[3];
    for (int i = 0; i < 3; ++i)
        w[i] = full.midRef(8 * i, 8).toUInt(nullptr, 16);
    return MakeKey(w[0], w[1], w[2], fixed);
}

bool CImageCipher::EncryptECB(const QByteArray &key, QByteArray &data)
{
    return runECB(key, data.data(), data.size(), true);
}

bool CImageCipher::DecryptECB(const QByteArray &key, QByteArray &data)
{
    return runECB(key, data.data(), data.size(), false);
}

bool CImageCipher::EncryptImage(QByteArray &image, const QString &id)
{
    return runImage(image, id, true);
}

bool CImageCipher::DecryptImage(QByteArray &image, const QString &id)
{
    return runImage(image, id, false);
}
