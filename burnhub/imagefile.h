#pragma once
// The image file a programmer burns: the merged program followed by a 68-byte
// trailer (all numbers 32-bit little-endian). An encrypted image has everything
// but its last four bytes encrypted for one programmer.
//
//   S+0  0            S+20 CRC of the merged program   S+60 byte sum of 0 .. S+59
//   S+4  build time   S+24 MCU type                     S+64 encryption mark
//   S+8  limit        S+28 start address
//   S+12 version      S+32 28 zero bytes
//   S+16 CRC of the first program
#include "burnhub_global.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

struct BURNHUB_EXPORT CImageTrailer
{
    quint32 m_nTime = 0;
    quint32 m_nLimit = 0; // 0 = unlimited
    quint32 m_nVersion = 0;
    quint32 m_nFirstCRC = 0;
    quint32 m_nCRC = 0;
    quint32 m_nChip = 0;
    quint32 m_nStartAddr = 0;
    quint32 m_nSum = 0; // filled in when the image is composed or read
    bool m_bEncrypt = false;
};

class BURNHUB_EXPORT CImageFile
{
    Q_DECLARE_TR_FUNCTIONS(CImageFile)

public:
    static constexpr int TrailerSize = 68;
    static constexpr int TimeOffset = 4;
    static constexpr int SumOffset = 60;
    static constexpr int MarkOffset = 64;
    static constexpr quint32 EncryptMark = 0x01020304u;

    // Sum of the bytes modulo 2^32: the image's check value.
    static quint32 ByteSum(const char *data, qint64 size);

    // Appends the trailer to the merged program (a whole number of 16-byte blocks),
    // sets trailer.m_nSum, and encrypts for id when trailer.m_bEncrypt. On false
    // (invalid ID) program is left as the plain image.
    static bool Compose(QByteArray &program, CImageTrailer &trailer, const QString &id);

    // Fields of a plain image, without any check; false when it is too short.
    static bool ReadTrailer(const QByteArray &image, CImageTrailer &trailer);
    // Last four bytes are 04 03 02 01.
    static bool IsEncrypted(const QByteArray &image);

    // Checks an image as a programmer with ID id would: length, encryption mark,
    // decryption with its key, checksum and CRC. On success image is the plain
    // image and trailer holds its fields; err gets the reason otherwise.
    static bool Open(QByteArray &image, const QString &id, CImageTrailer &trailer, QString &err);

    // Sets the build time of a plain image and recomputes its checksum.
    static bool Restamp(QByteArray &image, quint32 time);
    // Moves an encrypted image from one programmer to another, with a new build time.
    static bool ReKey(QByteArray &image, const QString &fromID, const QString &toID, quint32 time,
                      QString &err);

    // Length of the merged program of an image of size bytes (negative when too short).
    static int ProgramSize(int size) { return size - TrailerSize; }
};
