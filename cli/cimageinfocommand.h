#pragma once
// qelctl image info: an image's trailer decoded and checked as a programmer
// would check it (checksum, CRC, decryption for the ID given).
#include "ccommand.h"

class CImageInfoCommand : public CCommand
{
public:
    QString Name() const override { return QStringLiteral("image info"); }
    QString Summary() const override { return QStringLiteral("Decode and check an image file's trailer."); }
    void Setup(QCommandLineParser &parser) override;
    int Run(const QCommandLineParser &parser, const CCliOut &out) override;
};
