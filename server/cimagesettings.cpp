#include "cimagesettings.h"

#include "cpubactions.h"
#include "serverdefs.h"

namespace {
const QString kImage = QStringLiteral("IMAGE");
const QString kBin = QStringLiteral("BIN");
} // namespace

void CImageSettings::Load()
{
    CPubActions ini(true);
    const QString file = ServerDefs::IniFile();
    nEncrypt = ini.GetInt(kImage, QStringLiteral("ENCRYPT"), 0, file);
    strName = ini.GetString(kImage, QStringLiteral("NAME"), QString(), file);
    nIndex = ini.GetInt(kImage, QStringLiteral("INDEX"), 0, file);
    strLimit = ini.GetString(kImage, QStringLiteral("LIMIT"), QStringLiteral("0"), file);
    nChip = ini.GetInt(kImage, QStringLiteral("CHIP"), 1, file);
    strAddr = ini.GetString(kImage, QStringLiteral("ADDR"), QStringLiteral("0x0000"), file);
    strVersion = ini.GetString(kImage, QStringLiteral("VERSION"), QStringLiteral("1"), file);
    strCrc = ini.GetString(kImage, QStringLiteral("CRC"), QString(), file);
    strExportPath = ini.GetString(kImage, QStringLiteral("EXPORT_PATH"), QString(), file);
    strExportID = ini.GetString(kImage, QStringLiteral("qel720_ID"), QString(), file);
}

void CImageSettings::Save() const
{
    CPubActions ini(true);
    const QString file = ServerDefs::IniFile();
    ini.WriteInt(kImage, QStringLiteral("ENCRYPT"), nEncrypt, file);
    ini.WriteString(kImage, QStringLiteral("NAME"), strName, file);
    ini.WriteInt(kImage, QStringLiteral("INDEX"), nIndex, file);
    ini.WriteString(kImage, QStringLiteral("LIMIT"), strLimit, file);
    ini.WriteInt(kImage, QStringLiteral("CHIP"), nChip, file);
    ini.WriteString(kImage, QStringLiteral("ADDR"), strAddr, file);
    ini.WriteString(kImage, QStringLiteral("VERSION"), strVersion, file);
    ini.WriteString(kImage, QStringLiteral("CRC"), strCrc, file);
    if (!strExportPath.isEmpty())
        ini.WriteString(kImage, QStringLiteral("EXPORT_PATH"), strExportPath, file);
    if (!strExportID.isEmpty())
        ini.WriteString(kImage, QStringLiteral("qel720_ID"), strExportID, file);
}

QString CImageSettings::LoadBinDesc(int index)
{
    return CPubActions(true).GetString(kBin, QString::number(index), QString(), ServerDefs::IniFile());
}

void CImageSettings::SaveBinDesc(int index, const QString &desc)
{
    CPubActions(true).WriteString(kBin, QString::number(index), desc, ServerDefs::IniFile());
}
