#include "cusbrecordfile.h"

#include <cpubactions.h>

namespace {
const QString kConfig = QStringLiteral("CONFIG");
const QString kImage = QStringLiteral("IMAGE");
const QString kPass = QStringLiteral("RECORD_PASS");
const QString kFail = QStringLiteral("RECORD_FAIL");
const QString kAll = QStringLiteral("ALL");
const char *const kBinKeys[3] = {"BIN1_PATH", "BIN2_PATH", "BIN3_PATH"};

void writeCount(const QString &group, const QString &key, quint64 value)
{
    CPubActions(true).WriteString(group, key, QString::number(value), CUsbRecordFile::FileName());
}
} // namespace

CUsbRecordFile::Config CUsbRecordFile::LoadConfig() const
{
    CPubActions ini(true);
    const QString file = FileName();
    Config c;
    c.nPage = ini.GetInt(kConfig, QStringLiteral("SEL_PAGE"), 0, file);
    c.nImageNo = ini.GetInt(kConfig, QStringLiteral("SEL_IMAGE_NO"), 0, file);
    for (int i = 0; i < 3; ++i)
        c.strBin[i] = ini.GetString(kConfig, QLatin1String(kBinKeys[i]), QString(), file);
    c.strImageName = ini.GetString(kImage, QStringLiteral("IMAGE_NAME"), QString(), file);
    c.strImageCrc = ini.GetString(kImage, QStringLiteral("IMAGE_CRC"), QString(), file);
    return c;
}

void CUsbRecordFile::SaveConfig(const Config &c) const
{
    CPubActions ini(true);
    const QString file = FileName();
    ini.WriteInt(kConfig, QStringLiteral("SEL_PAGE"), c.nPage, file);
    ini.WriteInt(kConfig, QStringLiteral("SEL_IMAGE_NO"), c.nImageNo, file);
    for (int i = 0; i < 3; ++i)
        ini.WriteString(kConfig, QLatin1String(kBinKeys[i]), c.strBin[i], file);
    ini.WriteString(kImage, QStringLiteral("IMAGE_NAME"), c.strImageName, file);
    ini.WriteString(kImage, QStringLiteral("IMAGE_CRC"), c.strImageCrc, file);
}

quint64 CUsbRecordFile::Count(const QString &group, const QString &name) const
{
    bool ok = false;
    const quint64 n = CPubActions(true).GetString(group, name, QStringLiteral("0"), FileName()).trimmed().toULongLong(&ok);
    return ok ? n : 0;
}

void CUsbRecordFile::SetCounters(const QString &name, quint64 pass, quint64 fail) const
{
    // ALL is the sum; a programmer of that name must not replace it.
    if (name.isEmpty() || name == kAll)
        return;
    writeCount(kPass, name, pass);
    writeCount(kFail, name, fail);
    RecomputeAll();
}

void CUsbRecordFile::RecomputeAll() const
{
    for (const QString &group : {kPass, kFail}) {
        quint64 sum = 0;
        for (const QString &key : CPubActions(true).GetKeys(group, FileName())) {
            if (key != kAll)
                sum += Count(group, key);
        }
        writeCount(group, kAll, sum);
    }
}

quint64 CUsbRecordFile::PassAll() const { return Count(kPass, kAll); }
quint64 CUsbRecordFile::FailAll() const { return Count(kFail, kAll); }
