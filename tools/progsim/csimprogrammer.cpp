#include "csimprogrammer.h"

#include "functool.h"

#include <burnhub.h>
#include <cusbcrc.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTimer>

namespace {
const QString kImageAttr = QStringLiteral("config/image_attr.dat");
const QString kChipRecord = QStringLiteral("config/record_mcu.dat");
const QString kFlashFile = QStringLiteral("read_flash_bin");

QString Hex(quint32 value) { return QString::number(value, 16).toUpper(); }
QString CodeText(quint8 code) { return Hex(code).rightJustified(2, QLatin1Char('0')); }

bool SaveFile(const QString &path, const QByteArray &data)
{
    if (!FuncTool::CheckFileDir(path))
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

// The printable part of a serial number, for the log.
QString Printable(const QByteArray &data)
{
    QString text;
    for (const char c : data) {
        if (c >= 0x20 && c < 0x7F)
            text += QLatin1Char(c);
    }
    return text;
}
} // namespace

CSimProgrammer::CSimProgrammer(const SimIdentity &identity, const SimBehaviour &behaviour, QObject *parent)
    : QObject(parent),
      m_identity(identity),
      m_behaviour(behaviour),
      m_check(identity.strID),
      m_flash(behaviour.nFlashBase, behaviour.nFlashSize),
      m_nImage(behaviour.nImage),
      m_nPass(behaviour.nPass),
      m_nFail(behaviour.nFail)
{
    m_pRun = new QTimer(this);
    m_pRun->setSingleShot(true);
    connect(m_pRun, &QTimer::timeout, this, &CSimProgrammer::FinishRun);
}

CSimProgrammer::~CSimProgrammer() = default;

UsbUid CSimProgrammer::UidOf(const QString &id)
{
    UsbUid uid;
    for (int i = 0; i < 3; ++i)
        uid.words[i] = id.mid(i * 8, 8).toUInt(nullptr, 16);
    return uid;
}

bool CSimProgrammer::Open(const QString &folder, QString &err)
{
    QString root = folder;
    if (root.isEmpty()) {
        m_pTempDir = std::make_unique<QTemporaryDir>();
        if (!m_pTempDir->isValid()) {
            err = QStringLiteral("cannot make a temporary programmer folder");
            return false;
        }
        root = m_pTempDir->path();
    }
    m_folder = CSimFolder(root);
    if (!m_folder.Prepare(m_identity, err))
        return false;
    if (!m_behaviour.flashData.isEmpty() && !m_flash.Write(m_behaviour.nFlashDataAddr, m_behaviour.flashData)) {
        err = QStringLiteral("--flash-data: %1 bytes at 0x%2 do not fit the target flash %3")
                  .arg(m_behaviour.flashData.size())
                  .arg(Hex(m_behaviour.nFlashDataAddr))
                  .arg(m_flash.RangeText());
        return false;
    }
    Log(QStringLiteral("programmer folder %1, UID %2, target flash %3 (%4 bytes)")
            .arg(m_folder.Root(), Uid().Text(), m_flash.RangeText())
            .arg(m_flash.Size()));
    LoadIndex();
    Log(QStringLiteral("active image %1, counters %2/%3").arg(ImageText(m_nImage), QString::number(m_nPass), QString::number(m_nFail)));
    return true;
}

void CSimProgrammer::SendFrame(const QByteArray &frame)
{
    if (m_send)
        m_send(frame);
}

void CSimProgrammer::Log(const QString &text)
{
    if (m_log)
        m_log(text);
}

UsbUid CSimProgrammer::Uid() const
{
    return UidOf(m_identity.strID);
}

QString CSimProgrammer::ImageText(int image) const
{
    const auto it = m_index.constFind(image);
    return it == m_index.constEnd() ? QStringLiteral("%1 (not in the index)").arg(image)
                                    : QStringLiteral("%1 (%2)").arg(QString::number(image), it->m_strName);
}

// ---- programming runs

quint8 CSimProgrammer::OnStart()
{
    return BeginRun();
}

quint8 CSimProgrammer::OnStartImage(quint8 image)
{
    m_nImage = image;
    Log(QStringLiteral("start with image %1").arg(ImageText(image)));
    return BeginRun();
}

quint8 CSimProgrammer::BeginRun()
{
    if (m_pRun->isActive()) {
        Log(QStringLiteral("start refused: a run is under way"));
        return 1;
    }
    const CSimImageCheck::Verdict *verdict = m_check.Find(m_nImage);
    if (verdict && verdict->bAccepted && verdict->trailer.m_nLimit > 0
        && m_burned.value(m_nImage) >= verdict->trailer.m_nLimit) {
        Log(QStringLiteral("start refused: image %1 reached its download limit %2")
                .arg(ImageText(m_nImage))
                .arg(verdict->trailer.m_nLimit));
        return 1;
    }
    Log(QStringLiteral("start: run %1, image %2").arg(QString::number(m_nRuns + 1), ImageText(m_nImage)));
    m_pRun->start(m_behaviour.nStartMs);
    return 0;
}

void CSimProgrammer::FinishRun()
{
    ++m_nRuns;
    quint8 code = m_behaviour.ResultOf(m_nRuns);
    quint32 checksum = 0;
    if (code == UsbCmd::RES_OK)
        code = Burn(checksum);
    if (code == UsbCmd::RES_OK)
        ++m_nPass;
    else
        ++m_nFail;
    if (m_behaviour.nFlmTimeouts > 0) {
        Log(QStringLiteral("report: FLM time-outs %1").arg(m_behaviour.nFlmTimeouts));
        SendReport(m_behaviour.nFlmTimeouts);
    }
    Record(code, checksum);
    Log(QStringLiteral("result 0x%1 checksum 0x%2 (run %3, counters %4/%5)")
            .arg(CodeText(code))
            .arg(Hex(checksum))
            .arg(m_nRuns)
            .arg(m_nPass)
            .arg(m_nFail));
    SendResult(code, checksum);
}

quint8 CSimProgrammer::Burn(quint32 &checksum)
{
    checksum = 0;
    const auto entry = m_index.constFind(m_nImage);
    if (entry == m_index.constEnd()) {
        // Nothing to program: the run only exercises the line.
        Log(QStringLiteral("no image %1 in the index: an empty program").arg(m_nImage));
        return UsbCmd::RES_OK;
    }
    QFile file(m_folder.ProcDir() + entry->m_strName);
    if (!file.open(QIODevice::ReadOnly)) {
        Log(QStringLiteral("burn failed: image %1 is missing").arg(ImageText(m_nImage)));
        return UsbCmd::RES_OTHER;
    }
    const CSimImageCheck::Verdict verdict = m_check.Check(file.readAll());
    if (!verdict.bAccepted) {
        Log(QStringLiteral("burn failed: image %1 rejected: %2").arg(ImageText(m_nImage), verdict.strReason));
        return UsbCmd::RES_OTHER;
    }
    if (!m_flash.Write(verdict.trailer.m_nStartAddr, verdict.baProgram)) {
        Log(QStringLiteral("burn failed: %1 bytes at 0x%2 do not fit the target flash %3")
                .arg(verdict.baProgram.size())
                .arg(Hex(verdict.trailer.m_nStartAddr))
                .arg(m_flash.RangeText()));
        return UsbCmd::RES_OTHER;
    }
    if (verdict.trailer.m_nLimit > 0)
        ++m_burned[m_nImage];
    checksum = verdict.trailer.m_nCRC;
    Log(QStringLiteral("burned image %1: %2 bytes at 0x%3")
            .arg(ImageText(m_nImage))
            .arg(verdict.baProgram.size())
            .arg(Hex(verdict.trailer.m_nStartAddr)));
    return UsbCmd::RES_OK;
}

void CSimProgrammer::Record(quint8 code, quint32 checksum)
{
    QFile file(m_folder.Path(kChipRecord));
    if (!file.open(QIODevice::Append))
        return;
    file.write(QStringLiteral("%1 image=%2 result=0x%3 checksum=0x%4\r\n")
                   .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")))
                   .arg(m_nImage)
                   .arg(CodeText(code))
                   .arg(Hex(checksum))
                   .toUtf8());
}

UsbResult CSimProgrammer::OnSpecData(quint32 addr, const QByteArray &data)
{
    UsbResult result;
    // The target is written in whole words; the host pads with 0xFF.
    if (data.isEmpty() || data.size() % 4 != 0) {
        Log(QStringLiteral("serial data refused: %1 bytes is not a whole number of words").arg(data.size()));
        result.code = UsbCmd::RES_FRAME_LEN;
        return result;
    }
    if (!m_flash.Write(addr, data)) {
        Log(QStringLiteral("serial data refused: %1 bytes at 0x%2 outside the target flash %3")
                .arg(data.size())
                .arg(Hex(addr))
                .arg(m_flash.RangeText()));
        result.code = UsbCmd::RES_OTHER;
        return result;
    }
    result.checksum = FuncTool::CalcBytesCRCNum(data);
    Log(QStringLiteral("serial data written: %1 bytes at 0x%2: %3").arg(data.size()).arg(Hex(addr)).arg(Printable(data)));
    return result;
}

quint8 CSimProgrammer::OnReadMcu(quint32 addr, quint32 count)
{
    QByteArray bytes;
    if (count == 0 || !m_flash.Read(addr, count, bytes)) {
        Log(QStringLiteral("flash read refused: %1 bytes at 0x%2 outside the target flash %3")
                .arg(count)
                .arg(Hex(addr))
                .arg(m_flash.RangeText()));
        return 1;
    }
    if (!SaveFile(m_folder.Path(kFlashFile), bytes)) {
        Log(QStringLiteral("flash read failed: cannot write %1").arg(kFlashFile));
        return 1;
    }
    Log(QStringLiteral("flash read: %1 bytes at 0x%2 into %3").arg(count).arg(Hex(addr)).arg(kFlashFile));
    return 0;
}

// ---- pages, images, counters

quint8 CSimProgrammer::OnSwitchPage(quint8 page)
{
    const quint8 status = CUsbDeviceHandler::OnSwitchPage(page);
    if (status == 0)
        m_nPage = page;
    Log(QStringLiteral("page %1%2").arg(page).arg(status == 0 ? QString() : QStringLiteral(": no such page")));
    return status;
}

quint8 CSimProgrammer::OnSwitchImage(quint8 image)
{
    m_nImage = image;
    Log(QStringLiteral("active image %1").arg(ImageText(image)));
    return 0;
}

UsbCounters CSimProgrammer::OnSyncInit(const QString &timeText)
{
    static const QRegularExpression form(QStringLiteral("^\\d\\d-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d [1-7]$"));
    const bool ok = form.match(timeText).hasMatch();
    Log(QStringLiteral("sync: time \"%1\"%2, counters %3/%4")
            .arg(timeText, ok ? QString() : QStringLiteral(" (not \"yy-MM-dd hh:mm:ss d\")"))
            .arg(m_nPass)
            .arg(m_nFail));
    UsbCounters counters;
    counters.pass = m_nPass;
    counters.fail = m_nFail;
    return counters;
}

QByteArray CSimProgrammer::OnExCmd(quint8 sub)
{
    Log(sub == UsbCmd::EX_IMAGE_NO ? QStringLiteral("extended command: image number %1").arg(m_nImage)
                                   : QStringLiteral("extended command 0x%1: unknown, echoed").arg(Hex(sub)));
    return CUsbDeviceHandler::OnExCmd(sub);
}

QByteArray CSimProgrammer::OnCountQuery()
{
    Log(QStringLiteral("count query: %1/%2").arg(m_nPass).arg(m_nFail));
    UsbCounters counters;
    counters.pass = m_nPass;
    counters.fail = m_nFail;
    return counters.Frame(UsbCmd::CHECK_CNT_CMD);
}

quint8 CSimProgrammer::OnRefreshImage()
{
    return LoadIndex() ? 0 : 1;
}

bool CSimProgrammer::LoadIndex()
{
    QString err;
    if (!m_folder.ReadIndex(m_index, err)) {
        Log(QStringLiteral("image index: %1").arg(err));
        return false;
    }
    QStringList names;
    for (auto it = m_index.cbegin(); it != m_index.cend(); ++it)
        names << QStringLiteral("%1=%2").arg(it.key()).arg(it->m_strName);
    Log(QStringLiteral("image index: %1").arg(names.isEmpty() ? QStringLiteral("none") : names.join(QStringLiteral(", "))));
    for (const QString &line : m_check.Review(m_index, m_folder.ProcDir()))
        Log(line);
    // A new image starts its download count afresh.
    for (int image : m_check.Changed())
        m_burned.remove(image);
    return WriteImageAttr();
}

bool CSimProgrammer::WriteImageAttr()
{
    // One "name=number-crc" line per indexed image; the CRC is 0 for an image
    // that did not pass the checks.
    QByteArray text;
    for (auto it = m_index.cbegin(); it != m_index.cend(); ++it) {
        const CSimImageCheck::Verdict *v = m_check.Find(it.key());
        const quint32 crc = v && v->bAccepted ? v->trailer.m_nCRC : 0;
        text += QStringLiteral("%1=%2-%3\n").arg(it->m_strName, QString::number(it.key()), QString::number(crc)).toUtf8();
    }
    if (!SaveFile(m_folder.Path(kImageAttr), text)) {
        Log(QStringLiteral("cannot write %1").arg(kImageAttr));
        return false;
    }
    return true;
}

// ---- files

quint8 CSimProgrammer::AcceptFile(const QString &name, quint32 size)
{
    if (m_folder.PushPath(name).isEmpty()) {
        Log(QStringLiteral("push of %1 refused: not a file a programmer keeps").arg(name));
        return 1;
    }
    Log(QStringLiteral("receiving %1 (%2 bytes)").arg(name, QString::number(size)));
    return 0;
}

bool CSimProgrammer::StoreFile(const QString &name, const QByteArray &data)
{
    const QString path = m_folder.PushPath(name);
    if (path.isEmpty() || !SaveFile(path, data)) {
        Log(QStringLiteral("cannot store %1").arg(name));
        return false;
    }
    Log(QStringLiteral("received %1: %2 bytes, crc32 0x%3 verified").arg(name, QString::number(data.size()), Hex(CUsbCrc::Crc32(data))));
    QString text;
    QString err;
    if (name == QLatin1String("param.ini"))
        Log(m_folder.ParamText(text, err) ? QStringLiteral("param.ini: ") + text : QStringLiteral("param.ini: ") + err);
    else if (name == QLatin1String("signal.ini"))
        Log(m_folder.SignalText(text, err) ? QStringLiteral("signal.ini: ") + text : QStringLiteral("signal.ini: ") + err);
    return true;
}

quint8 CSimProgrammer::DeleteFile(const QString &name)
{
    if (name == QLatin1String("ALL")) {
        // Every image goes, and the index with them.
        int removed = 0;
        for (const QFileInfo &file : QDir(m_folder.ProcDir()).entryInfoList(QDir::Files))
            removed += (BurnHub::IsImageSuffix(file.suffix()) && QFile::remove(file.filePath())) ? 1 : 0;
        if (!SaveFile(m_folder.IndexPath(), QByteArray())) {
            Log(QStringLiteral("delete ALL: cannot empty the image index"));
            return 1;
        }
        LoadIndex();
        Log(QStringLiteral("deleted ALL: %1 images").arg(removed));
        return 0;
    }
    const QString path = m_folder.PushPath(name);
    if (path.isEmpty() || !QFileInfo(path).isFile() || !QFile::remove(path)) {
        Log(QStringLiteral("delete %1: no such file").arg(name));
        return 1;
    }
    Log(QStringLiteral("deleted %1").arg(name));
    return 0;
}

bool CSimProgrammer::ReadFile(const QString &path, QByteArray &data)
{
    if (path == kImageAttr)
        WriteImageAttr();
    QFile file(m_folder.Path(path));
    if (!QFileInfo(file.fileName()).isFile() || !file.open(QIODevice::ReadOnly)) {
        Log(QStringLiteral("pull of %1 refused: no such file").arg(path));
        return false;
    }
    data = file.readAll();
    Log(QStringLiteral("handing out %1 (%2 bytes)").arg(path, QString::number(data.size())));
    return true;
}
