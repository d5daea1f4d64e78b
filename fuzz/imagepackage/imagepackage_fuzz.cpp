// Image packages (".pimg") as a restore loads them: the whole input is the
// package text. A package the restore accepts must name only plain image files,
// carry whole data of the declared sizes, and read back the same once written.
#include "cfilename.h"
#include "imagepackage.h"

#include <QSet>

#include <cstdlib>

namespace {

void Require(bool ok)
{
    if (!ok)
        std::abort();
}

void Quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

const QString kTarget = QStringLiteral("1A0033000E51353235383233");

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool ready = [] {
        qInstallMessageHandler(Quiet);
        return true;
    }();
    (void)ready;
    const QByteArray text(reinterpret_cast<const char *>(data), int(size));
    CImagePackage package;
    package.ParseXML(text);
    QString err;
    if (!package.CheckRestorable(err)) {
        Require(!err.isEmpty());
        return 0;
    }
    QSet<QString> names;
    for (const CPackageEntry &entry : qAsConst(package.m_entries)) {
        Require(CFileName::IsPlain(entry.m_strName));
        Require(!entry.m_strName.contains(QLatin1Char('/')) && !entry.m_strName.contains(QLatin1Char('\\')));
        Require(!names.contains(entry.m_strName));
        names.insert(entry.m_strName);
        if (entry.m_bHasFile)
            Require(entry.m_bDataOk && quint32(entry.m_baData.size()) == entry.m_nSize);
        if (entry.m_bEncrypt) {
            // Re-keying either works whole or leaves the image as it was.
            QByteArray image = entry.m_baData;
            if (!CImagePackage::UpdateEnc(image, package.m_strUID, kTarget, 1, err))
                Require(image == entry.m_baData);
            else
                Require(image.size() == entry.m_baData.size());
        }
    }
    // What a restore accepts reads back the same after a backup writes it.
    CImagePackage again;
    again.ParseXML(package.ToXml());
    Require(again.CheckRestorable(err));
    Require(again.m_entries.size() == package.m_entries.size());
    for (int i = 0; i < package.m_entries.size(); ++i) {
        Require(again.m_entries[i].m_strName == package.m_entries[i].m_strName);
        Require(again.m_entries[i].m_baData == package.m_entries[i].m_baData);
        Require(again.m_entries[i].m_nIndex == package.m_entries[i].m_nIndex);
    }
    Require(again.IndexFileData() == package.IndexFileData());
    return 0;
}
