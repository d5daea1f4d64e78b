#pragma once
// AES-128-ECB with the run-time keys of the suite. A key is four 32-bit words
// stored little-endian: three words of a programmer ID (or fixed words of the
// program) and one fixed word that tells the uses apart.
#include "burnhub_global.h"

#include <QByteArray>
#include <QString>

class BURNHUB_EXPORT CImageCipher
{
public:
    static constexpr int KeySize = 16;
    static constexpr int IDLength = 24;
    // Fixed word of the image key; the programmers hold the same one.
    static constexpr quint32 ImageKeyWord = 0x720A5E1Cu;

    // The shared construction: w0, w1, w2 in bytes 0-11, fixed in bytes 12-15.
    static QByteArray MakeKey(quint32 w0, quint32 w1, quint32 w2, quint32 fixed);
    // A programmer ID padded with "0" in front to 24 characters (longer IDs unchanged).
    static QString PadID(const QString &id);
    // True for 1 to 24 hex digits.
    static bool IsValidID(const QString &id);
    // The ID (padded) read as three 8-digit words; empty when the ID is not valid.
    static QByteArray KeyFromID(const QString &id, quint32 fixed);
    static QByteArray ImageKey(const QString &id) { return KeyFromID(id, ImageKeyWord); }

    // In place, block by block; false for a key that is not 16 bytes or data that
    // is not a whole number of blocks.
    static bool EncryptECB(const QByteArray &key, QByteArray &data);
    static bool DecryptECB(const QByteArray &key, QByteArray &data);

    // An image for one programmer: everything but the last four bytes (the plain
    // encryption mark) is transformed with the image key of id. False for an
    // invalid ID or an image whose body is not a whole number of blocks.
    static bool EncryptImage(QByteArray &image, const QString &id);
    static bool DecryptImage(QByteArray &image, const QString &id);
};
