#pragma once
// The image panel's last values: section "IMAGE" of the server's settings, and
// per image number the program-list description in section "BIN".
#include <QString>

struct CImageSettings
{
    int nEncrypt = 0;
    QString strName;
    int nIndex = 0;
    QString strLimit = QStringLiteral("0");
    int nChip = 1;
    QString strAddr = QStringLiteral("0x0000");
    QString strVersion = QStringLiteral("1");
    QString strCrc;
    QString strExportPath;
    QString strExportID; // the programmer ID the last export was for

    void Load();
    void Save() const;

    static QString LoadBinDesc(int index);
    static void SaveBinDesc(int index, const QString &desc);
};
