// The host and programmer handlers talking to each other in-process: dispatch,
// initialisation, downloads with the image refresh, pulls, acknowledgements,
// results and the faults a programmer or the line can bring.
#include "qeltest.h"

#include <cusbcrc.h>
#include <cusbdev.h>
#include <cusbdevicehandler.h>
#include <cusbframe.h>
#include <cusbhosthandler.h>
#include <cusbserialno.h>
#include <functool.h>

#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <sys/stat.h>
#include <functional>

namespace {
QByteArray pattern(int n, int seed)
{
    QByteArray b(n, '\0');
    for (int i = 0; i < n; ++i)
        b[i] = char((i * 13 + seed + i / 1024) & 0xFF);
    return b;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class TestHost : public CUsbHostHandler
{
public:
    QString dir;
    int image = 7;
    QStringList logs;
    QList<QByteArray> sent;
    int dispatched = 0;
    QList<UsbResult> results;
    QList<bool> starts;
    QList<CUsbImageAttr> attrs;
    QString flashPath;
    quint32 pass = 0, fail = 0;

    bool logged(const QString &line) const { return logs.contains(line); }
    bool loggedPart(const QString &part) const
    {
        return std::any_of(logs.cbegin(), logs.cend(), [&](const QString &l) { return l.contains(part); });
    }

protected:
    void SendFrame(CUsbDev &, const QByteArray &frame) override { sent << frame; }
    void Log(const QString &text) override { logs << text; }
    int ImageNumber() const override { return image; }
    QString MirrorPath(CUsbDev &dev, const QString &name) override { return dir + QLatin1Char('/') + dev.m_strName + QLatin1Char('/') + name; }
    void CurrentImage(QString &name, QString &crc) const override
    {
        name = QStringLiteral("a.img");
        crc = QStringLiteral("12AB34CD");
    }
    void Dispatch(CUsbDev &dev, const QByteArray &frame) override
    {
        ++dispatched;
        CUsbHostHandler::Dispatch(dev, frame);
    }
    void OnFlashData(CUsbDev &, const QString &path) override { flashPath = path; }
    void OnImageAttr(CUsbDev &, const QList<CUsbImageAttr> &list) override { attrs = list; }
    void OnSyncCounters(CUsbDev &, quint32 p, quint32 f) override
    {
        pass = p;
        fail = f;
    }
    void OnStartAnswer(CUsbDev &, bool started) override { starts << started; }
    void OnResult(CUsbDev &, const UsbResult &r) override { results << r; }
};

class TestDevice : public CUsbDeviceHandler
{
public:
    QMap<QString, QByteArray> files;
    QList<QByteArray> sent;
    QList<quint8> seen;
    quint8 image = 0;
    QString syncText;
    QByteArray specData;
    quint32 specAddr = 0;

    using CUsbDeviceHandler::SendResult;

protected:
    void SendFrame(const QByteArray &frame) override { sent << frame; }
    void Log(const QString &) override {}
    void Dispatch(const QByteArray &frame) override
    {
        seen << CUsbFrame::Command(frame);
        CUsbDeviceHandler::Dispatch(frame);
    }
    UsbUid Uid() const override
    {
        UsbUid uid;
        uid.words[0] = 0x1234;
        uid.words[1] = 0xABCDEF01;
        uid.words[2] = 0x5;
        return uid;
    }
    quint8 OnStart() override { return 0; }
    quint8 OnStartImage(quint8 n) override { image = n; return 0; }
    quint8 OnSwitchImage(quint8 n) override { image = n; return 0; }
    UsbCounters OnSyncInit(const QString &text) override
    {
        syncText = text;
        UsbCounters c;
        c.pass = 12;
        c.fail = 3;
        return c;
    }
    quint8 OnRefreshImage() override { return files.contains(QStringLiteral("image.dat")) ? 0 : 1; }
    quint8 OnReadMcu(quint32 addr, quint32 count) override
    {
        if (count > 0x100000) // more flash than the target has
            return 1;
        files.insert(QStringLiteral("read_flash_bin"), pattern(int(count), int(addr)));
        return 0;
    }
    UsbResult OnSpecData(quint32 addr, const QByteArray &data) override
    {
        specAddr = addr;
        specData = data;
        UsbResult r;
        r.checksum = CUsbCrc::Crc32(data);
        return r;
    }
    quint8 CurrentImage() const override { return image; }
    bool StoreFile(const QString &name, const QByteArray &data) override
    {
        files.insert(name, data);
        return true;
    }
    quint8 DeleteFile(const QString &name) override { return files.remove(name) ? 0 : 1; }
    bool ReadFile(const QString &path, QByteArray &data) override
    {
        if (!files.contains(path))
            return false;
        data = files.value(path);
        return true;
    }
};

// Host frames may be changed or dropped (false) on their way.
using Tamper = std::function<bool(QByteArray &)>;
} // namespace

// A console that keeps the handler's own mirror folders.
class PlainHost : public CUsbHostHandler
{
public:
    void SendFrame(CUsbDev &, const QByteArray &) override {}
    void Log(const QString &) override {}
    int ImageNumber() const override { return -1; }
    using CUsbHostHandler::MirrorPath;
};

class TestUsbHandlers : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    TestHost m_host;
    TestDevice m_device;
    CUsbDev m_dev;

    void pump(const Tamper &tamper = Tamper())
    {
        for (int round = 0; round < 100000 && (!m_host.sent.isEmpty() || !m_device.sent.isEmpty()); ++round) {
            while (!m_host.sent.isEmpty()) {
                QByteArray f = m_host.sent.takeFirst();
                if (!tamper || tamper(f))
                    m_device.Receive(f);
            }
            while (!m_device.sent.isEmpty())
                m_host.Receive(m_dev, m_device.sent.takeFirst());
        }
        QVERIFY(m_host.sent.isEmpty() && m_device.sent.isEmpty());
    }

    QString mirror(const QString &name) const { return m_dir.path() + QLatin1Char('/') + m_dev.m_strName + QLatin1Char('/') + name; }

    void hostSends(const QByteArray &frame)
    {
        m_host.sent << frame;
        pump();
    }

private slots:
    void initTestCase()
    {
        // Thousands of frames go through here; their debug lines only slow the run.
        QLoggingCategory::setFilterRules(QStringLiteral("qel.usbcontrol.debug=false"));
        QVERIFY(m_dir.isValid());
        m_host.dir = m_dir.path();
        m_dev.m_nType = CUsbDev::KindVcp;
        m_dev.m_strPort = QStringLiteral("/dev/pts/9");
        m_dev.m_nSlot = 2;
        m_device.files.insert(QStringLiteral("sys/qelprogrammer.dat"), "model=QEL720A\nversion=1.2\n");
        m_device.files.insert(QStringLiteral("config/image.dat"), pattern(3000, 1));
        m_device.files.insert(QStringLiteral("config/param.ini"), pattern(2048, 2));
        m_device.files.insert(QStringLiteral("config/image_attr.dat"), "a.img=1-305419896\nnot an entry\n");
    }

    void init()
    {
        m_host.logs.clear();
        m_device.seen.clear();
    }

    void mirrorFoldersOfDevicePathsAndUids()
    {
        QCOMPARE(CUsbDev::FolderIdOf(QStringLiteral("/dev/hidraw0")), QStringLiteral("_dev_hidraw0"));
        QCOMPARE(CUsbDev::FolderIdOf(QStringLiteral("..")), QStringLiteral("__"));
        QCOMPARE(CUsbDev::FolderIdOf(QStringLiteral(".")), QStringLiteral("_"));
        QCOMPARE(CUsbDev::FolderIdOf(QStringLiteral("a..b")), QStringLiteral("a..b"));
        QCOMPARE(CUsbDev::FolderIdOf(QStringLiteral("00123ABC")), QStringLiteral("00123ABC"));
        QCOMPARE(CUsbDev::FolderIdOf(QString::fromUtf8("编程器1")), QStringLiteral("___1"));
        QCOMPARE(CUsbDev::FolderIdOf(QStringLiteral("\\\\?\\HID#VID_0483&PID_5751")), QStringLiteral("____HID_VID_0483_PID_5751"));

        QTemporaryDir data;
        QVERIFY(data.isValid());
        const QByteArray oldData = qgetenv("QEL_DATA_DIR");
        qputenv("QEL_DATA_DIR", data.path().toLocal8Bit());
        PlainHost host;
        CUsbDev dev;
        dev.m_nType = CUsbDev::KindVcp;
        dev.m_strPort = QStringLiteral("/dev/pts/3");
        // A VCP programmer that has not told its UID has no folder.
        const QString none = host.MirrorPath(dev, QStringLiteral("image.dat"));
        dev.m_strName = QStringLiteral("..");
        const QString dots = host.MirrorPath(dev, QStringLiteral("image.dat"));
        dev.m_strName = QStringLiteral("/dev/hidraw1");
        const QString hid = host.MirrorPath(dev, QStringLiteral("image.dat"));
        qputenv("QEL_DATA_DIR", oldData);
        QVERIFY(none.isEmpty());
        const QString root = QDir(data.path()).absolutePath() + QStringLiteral("/qel720A_server/");
        QCOMPARE(QFileInfo(dots).absoluteFilePath(), root + QStringLiteral("__/image.dat"));
        QCOMPARE(QFileInfo(hid).absoluteFilePath(), root + QStringLiteral("_dev_hidraw1/image.dat"));
    }

    void fileVerdictsOfFrames()
    {
        CUsbDev dev;
        dev.m_push.m_strName = QStringLiteral("a.img");
        UsbFileResult res;
        res.name = QStringLiteral("image.dat");
        CUsbFileVerdict v = CUsbFileVerdict::Read(dev, res.Frame());
        QCOMPARE(int(v.kind), int(CUsbFileVerdict::Verified));
        QCOMPARE(v.strName, QStringLiteral("image.dat"));
        QVERIFY(v.bOk);
        res.status = 2;
        v = CUsbFileVerdict::Read(dev, res.Frame());
        QCOMPARE(int(v.kind), int(CUsbFileVerdict::Verified));
        QVERIFY(!v.bOk);
        // A refusal names the push under way; an acceptance is no verdict.
        UsbByte attr;
        attr.cmd = UsbCmd::FT_ATTR_CMD;
        attr.value = 1;
        v = CUsbFileVerdict::Read(dev, attr.Frame());
        QCOMPARE(int(v.kind), int(CUsbFileVerdict::Refused));
        QCOMPARE(v.strName, QStringLiteral("a.img"));
        QVERIFY(!v.bOk);
        attr.value = 0;
        QCOMPARE(int(CUsbFileVerdict::Read(dev, attr.Frame()).kind), int(CUsbFileVerdict::None));
        // A result frame cut short is no verdict either.
        QCOMPARE(int(CUsbFileVerdict::Read(dev, res.Frame().left(5)).kind), int(CUsbFileVerdict::None));
    }

    void dispatchTable()
    {
        const auto &table = CUsbHostHandler::Table();
        QCOMPARE(table.size(), 19);
        QSet<quint8> codes;
        for (const auto &row : table) {
            codes.insert(row.code);
            QCOMPARE(row.handler == nullptr, row.code == UsbCmd::ERR_FRMCRC);
        }
        QCOMPARE(codes.size(), 19);
        QVERIFY(!codes.contains(UsbCmd::CHECK_CNT_CMD));
    }

    void errFrmCrcAndUnknownCodes()
    {
        const int before = m_host.dispatched;
        m_host.Receive(m_dev, CUsbFrame::Make(UsbCmd::ERR_FRMCRC));
        QCOMPARE(m_host.dispatched, before); // never reaches the table
        QVERIFY(m_host.logged(QStringLiteral("/dev/pts/9 检测到帧CRC错误")));

        m_host.Receive(m_dev, CUsbFrame::Make(0x7A));
        QVERIFY(m_host.logged(QStringLiteral("/dev/pts/9 收到不支持指令： 0x7A")));
        m_host.Receive(m_dev, CUsbFrame(UsbCmd::CHECK_CNT_CMD).U32(1).Finish());
        QVERIFY(m_host.logged(QStringLiteral("/dev/pts/9 收到不支持指令： 0xC3")));

        // A bad CRC or a block too short for a frame is dropped without a word.
        const int logs = m_host.logs.size();
        QByteArray bad = CUsbFrame::Make(UsbCmd::START_CMD);
        bad[5] = char(bad[5] ^ 1);
        m_host.Receive(m_dev, bad);
        m_host.Receive(m_dev, QByteArray::fromHex("6805"));
        QCOMPARE(m_host.logs.size(), logs);
        QCOMPARE(m_host.dispatched, before + 2);
    }

    void vcpInitialisation()
    {
        m_host.RequestUid(m_dev);
        pump();
        QCOMPARE(m_dev.m_strName, QStringLiteral("001234ABCDEF015"));
        QVERIFY(m_dev.m_bSync);
        QVERIFY(m_dev.m_bInit);
        QCOMPARE(m_host.pass, 12u);
        QCOMPARE(m_host.fail, 3u);
        QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d [1-7]$")).match(m_device.syncText).hasMatch());
        QCOMPARE(m_host.attrs.size(), 1);
        QCOMPARE(m_host.attrs.first().m_strName, QStringLiteral("a.img"));
        QCOMPARE(m_host.attrs.first().m_nB, 305419896u);

        // UID, three pulls, synchronisation, then the image attributes.
        using namespace UsbCmd;
        const QList<quint8> order = {REQ_PROG_UID, REQ_FILE_ATTR, REQ_FILE_DATA, REQ_FILE_ATTR, REQ_FILE_DATA,
                                     REQ_FILE_DATA, REQ_FILE_DATA, REQ_FILE_ATTR, REQ_FILE_DATA, REQ_FILE_DATA,
                                     SYNC_INIT_CMD, REQ_FILE_ATTR, REQ_FILE_DATA};
        QCOMPARE(m_device.seen, order);
        QCOMPARE(readAll(mirror(QStringLiteral("qelprogrammer.dat"))), m_device.files.value("sys/qelprogrammer.dat"));
        QCOMPARE(readAll(mirror(QStringLiteral("image.dat"))), m_device.files.value("config/image.dat"));
        QCOMPARE(readAll(mirror(QStringLiteral("param.ini"))), m_device.files.value("config/param.ini"));
        QVERIFY(!QFile::exists(mirror(QStringLiteral("param.ini.part"))));

        QVERIFY(m_host.logged(QStringLiteral("烧录器-2 上送设备数据， 100%")));
        QVERIFY(m_host.logged(QStringLiteral("烧录器-2 上送镜像数据， 33%")));
        QVERIFY(m_host.logged(QStringLiteral("烧录器-2 上送参数数据， 50%")));
        QVERIFY(m_host.logged(QStringLiteral("烧录器-2 镜像信息拉取完成")));
        QVERIFY(m_host.logged(QStringLiteral("烧录器-2 配置信息拉取完成")));
        QVERIFY(m_host.logged(QStringLiteral("烧录器-2 同步数据拉取完毕")));
        QCOMPARE(m_host.logs.last(), QStringLiteral("下载器初始化完成，可以进行后续操作"));

        // Once initialised, a UID answer starts nothing.
        m_device.seen.clear();
        hostSends(CUsbFrame::Make(UsbCmd::REQ_PROG_UID));
        QCOMPARE(m_device.seen, QList<quint8>() << REQ_PROG_UID);
    }

    void imageDownloadAndRefresh()
    {
        const QString local = m_dir.path() + QStringLiteral("/test.img");
        const QByteArray image = pattern(2500, 3);
        QFile f(local);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(image);
        f.close();

        QVERIFY(m_host.DownloadFile(m_dev, local));
        pump();
        QCOMPARE(m_device.files.value(QStringLiteral("test.img")), image);
        QCOMPARE(m_device.files.value(QStringLiteral("image.dat")), readAll(mirror(QStringLiteral("image.dat"))));
        QCOMPARE(m_device.image, quint8(7));
        using namespace UsbCmd;
        QCOMPARE(m_device.seen, (QList<quint8>{FT_ATTR_CMD, FT_REQ_CMD, FT_REQ_CMD, FT_REQ_CMD, FT_ATTR_CMD, FT_REQ_CMD,
                                               FT_REQ_CMD, FT_REQ_CMD, REFRESH_IMAGE_CMD, SWITCH_IMAGE_CMD}));
        const QStringList expected = {
            QStringLiteral("烧录器-2 正在下发镜像文件数据,请勿断开连接"),
            QStringLiteral("镜像名：a.img,镜像CRC：12AB34CD"),
            QStringLiteral("烧录器-2 文件传输确认"),
            QStringLiteral("下载器-2 请求文件帧序号： 2 , 传输进度: 100 %"),
            QStringLiteral("镜像数据传输校验完成"),
            QStringLiteral("烧录器-2 镜像数据传输校验完成"),
            QStringLiteral("烧录器-2 正在更新镜像序列"),
            QStringLiteral("烧录器-2 正在下发文件数据,请勿断开连接"),
            QStringLiteral("烧录器-2 镜像配置数据传输校验完成"),
            QStringLiteral("烧录器-2 正在刷新镜像"),
            QStringLiteral("烧录器-2 镜像号: 7 数据传输完成！"),
            QStringLiteral("烧录器-2 执行:切换镜像号, 成功! 现在可以触发执行烧录！"),
        };
        for (const QString &line : expected)
            QVERIFY2(m_host.logged(line), qPrintable(line));
    }

    void corruptedDownloadFailsVerification()
    {
        const QString local = m_dir.path() + QStringLiteral("/param.ini");
        QFile f(local);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(pattern(1500, 4));
        f.close();
        m_device.files.remove(QStringLiteral("param.ini"));

        QVERIFY(m_host.DownloadFile(m_dev, local));
        // One data byte changes on the line; the frame CRC is made to match.
        pump([](QByteArray &frame) {
            UsbFileData d;
            if (CUsbFrame::Command(frame) == UsbCmd::FT_REQ_CMD && d.Parse(frame) && d.frame == 1) {
                d.data[0] = char(d.data[0] ^ 0x10);
                frame = d.Frame();
            }
            return true;
        });
        QVERIFY(!m_device.files.contains(QStringLiteral("param.ini")));
        QVERIFY(m_host.logged(QStringLiteral("烧录器配置数据传输校验失败")));
        QVERIFY(m_host.logged(QStringLiteral("烧录器-2 烧录器配置文件传输校验失败")));

        QVERIFY(m_host.DownloadFile(m_dev, local));
        pump();
        QVERIFY(m_host.logged(QStringLiteral("烧录器-2 烧录器配置更新完成")));
        QVERIFY(!m_host.DownloadFile(m_dev, m_dir.path() + QStringLiteral("/missing.img")));
        QVERIFY(m_host.logged(QStringLiteral("烧录器-2 下发文件读取失败！")));
    }

    void frameRequestConflict()
    {
        const QString local = m_dir.path() + QStringLiteral("/two.bin");
        QFile f(local);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(pattern(2048, 5));
        f.close();
        QVERIFY(m_host.DownloadFile(m_dev, local));
        m_host.sent.clear();

        UsbFrameNo req;
        req.frame = 2; // = the frame count
        m_host.Receive(m_dev, req.Frame());
        QVERIFY(m_host.logged(QStringLiteral("烧录器-2 请求文件帧冲突！")));
        QVERIFY(m_host.sent.isEmpty());

        req.frame = 1;
        m_host.Receive(m_dev, req.Frame());
        QCOMPARE(m_host.sent.size(), 1);
        UsbFileData d;
        QVERIFY(d.Parse(m_host.sent.takeFirst()));
        QCOMPARE(d.data.size(), 1024);
        QVERIFY(m_host.logged(QStringLiteral("下载器-2 请求文件帧序号： 1 , 传输进度: 100 %")));
    }

    void hostFrameWithBadCrc()
    {
        QByteArray bad = CUsbFrame::Make(UsbCmd::START_CMD);
        bad[3] = char(UsbCmd::REFRESH_IMAGE_CMD);
        hostSends(bad);
        QVERIFY(m_device.seen.isEmpty());
        QVERIFY(m_host.logged(QStringLiteral("/dev/pts/9 检测到帧CRC错误")));
    }

    void acknowledgements()
    {
        UsbByte cmd;
        cmd.cmd = UsbCmd::SWITCH_PAGE_CMD;
        cmd.value = UsbCmd::PAGE_VERIFY;
        hostSends(cmd.Frame());
        QVERIFY(m_host.logged(QStringLiteral("烧录器-2 执行:切换校验页面, 成功! ")));
        cmd.value = 9;
        hostSends(cmd.Frame());
        QVERIFY(m_host.logged(QStringLiteral("烧录器-2 执行:切换页面, 失败!")));

        cmd.cmd = UsbCmd::START_IMAGE_CMD;
        cmd.value = 150;
        hostSends(cmd.Frame());
        QVERIFY(m_host.logged(QStringLiteral("烧录器-2 执行:切换镜像号, 失败!")));
        cmd.value = 149;
        hostSends(cmd.Frame());
        QCOMPARE(m_device.image, quint8(149));
        QVERIFY(m_host.logged(QStringLiteral("烧录器-2 执行:切换镜像号, 成功! 现在可以触发执行烧录！")));

        UsbFileName del;
        del.cmd = UsbCmd::DEL_FILE_CMD;
        del.name = QStringLiteral("test.img");
        hostSends(del.Frame());
        QVERIFY(!m_device.files.contains(del.name));
        QVERIFY(m_host.logged(QStringLiteral("烧录器-2 执行:移除文件, 成功! ")));
        del.name = QStringLiteral("../config/param.ini");
        hostSends(del.Frame());
        QVERIFY(m_host.logged(QStringLiteral("烧录器-2 执行:移除文件, 失败!")));

        cmd.cmd = UsbCmd::EX_CMD;
        cmd.value = UsbCmd::EX_IMAGE_NO;
        hostSends(cmd.Frame());
        QVERIFY(m_host.logged(QStringLiteral("烧录器-2(/dev/pts/9) 当前镜像号为: 149")));
        cmd.value = 0x0B;
        hostSends(cmd.Frame());
        QVERIFY(m_host.logged(QStringLiteral("烧录器-2(/dev/pts/9) 收到不支持的子命令: 0xB")));
    }

    void startAndResults()
    {
        hostSends(CUsbFrame::Make(UsbCmd::START_CMD));
        QCOMPARE(m_host.starts, QList<bool>{true});
        QVERIFY(m_host.logged(QStringLiteral("烧录器-2 启动成功")));

        m_device.SendResult(UsbCmd::RES_OK, 0x00001A2B);
        m_device.SendResult(UsbCmd::RES_VERIFY, 0);
        m_device.SendResult(0x7F, 0);
        pump();
        QCOMPARE(m_host.results.size(), 3);
        QVERIFY(m_host.results.at(0).IsPass());
        QCOMPARE(m_host.results.at(1).code, quint8(0xE3));
        QVERIFY(m_host.logged(QStringLiteral("烧录器-2 执行结果成功, 校验码为[0x1A2B]")));
        QVERIFY(m_host.logged(QStringLiteral("烧录器-2 执行结果失败! 原因为[目标板校验错误]")));
        QVERIFY(m_host.logged(QStringLiteral("烧录器-2 执行结果失败! 原因为[其他错误]")));

        // The serial number after a good part, answered like a result.
        const QByteArray sn = CUsbSerialNo::GenerateSN(QDate(2024, 3, 17), 42);
        QStringList lines;
        hostSends(CUsbSerialNo::BuildFrame(m_dev.m_nSlot, 0x1FC00, sn, lines));
        QCOMPARE(m_device.specAddr, 0x1FC00u);
        QCOMPARE(m_device.specData, sn + QByteArray(3, '\xFF'));
        const QString hex = QString::number(CUsbCrc::Crc32(m_device.specData), 16).toUpper();
        QVERIFY(m_host.logged(QStringLiteral("[编程特定数据] 烧录器-2 执行结果成功, 校验码为[0x%1]").arg(hex)));
        QCOMPARE(m_host.results.size(), 3); // not a programming result
    }

    void readFlashAndPulls()
    {
        UsbReadMcu read;
        read.addr = 0x19000;
        read.count = 1500;
        hostSends(read.Frame());
        QVERIFY(m_host.logged(QStringLiteral("下载器-2 读取MCU-FLASH数据成功！上位机正在拉取数据...")));
        QVERIFY(m_host.logged(QStringLiteral("烧录器-2 MCU-FLASH数据拉取完成， 正在解析...")));
        QCOMPARE(m_host.flashPath, mirror(QStringLiteral("read_flash_bin")));
        QCOMPARE(readAll(m_host.flashPath), m_device.files.value(QStringLiteral("read_flash_bin")));
        QVERIFY(!m_device.seen.contains(UsbCmd::SYNC_INIT_CMD)); // synchronised already

        m_host.PullFile(m_dev, QStringLiteral("config/signal.ini"));
        pump();
        QVERIFY(m_host.logged(QStringLiteral("/dev/pts/9 请求下位机文件：config/signal.ini 失败")));

        // A programmer that stops answering leaves the old mirror as it was.
        const QByteArray old = readAll(mirror(QStringLiteral("param.ini")));
        m_device.files.insert(QStringLiteral("config/param.ini"), pattern(3000, 9));
        m_host.PullFile(m_dev, QStringLiteral("config/param.ini"));
        pump([](QByteArray &frame) {
            UsbFrameNo req;
            return !(CUsbFrame::Command(frame) == UsbCmd::REQ_FILE_DATA && req.Parse(frame) && req.frame == 2);
        });
        QCOMPARE(readAll(mirror(QStringLiteral("param.ini"))), old);
        m_host.PullFile(m_dev, QStringLiteral("config/param.ini"));
        pump();
        QCOMPARE(readAll(mirror(QStringLiteral("param.ini"))), pattern(3000, 9));
    }

    // A file-attribute answer is taken as it comes: an empty image.dat that
    // the programmer counts as one frame is pulled and initialisation goes on.
    // A refused, out-of-order or short answer ends that pull with a line, and
    // the queue goes on without it instead of waiting for good.
    void pullsTakeTheAnswerAsItComes()
    {
        CUsbDev dev;
        dev.m_nType = CUsbDev::KindVcp;
        dev.m_strPort = QStringLiteral("/dev/pts/8");
        dev.m_strName = QStringLiteral("00ABC");
        dev.m_nSlot = 1;
        m_host.sent.clear();
        auto lastSent = [&](quint8 cmd) {
            return !m_host.sent.isEmpty() && CUsbFrame::Command(m_host.sent.last()) == cmd;
        };
        auto info = [](quint8 status, quint32 size, quint16 frames) {
            UsbFileInfo i;
            i.status = status;
            i.size = size;
            i.frames = frames;
            return i.Frame();
        };
        auto data = [](quint16 k, const QByteArray &bytes) {
            UsbFileData d;
            d.cmd = UsbCmd::REQ_FILE_DATA;
            d.frame = k;
            d.data = bytes;
            return d.Frame();
        };
        QVERIFY(QDir().mkpath(m_dir.path() + QStringLiteral("/00ABC")));
        const QString index = m_dir.path() + QStringLiteral("/00ABC/image.dat");
        QVERIFY(FuncTool::WriteFile(index, QByteArray("old")));

        dev.m_pull.m_queue = QStringList{QStringLiteral("config/param.ini"), QStringLiteral("config/signal.ini"),
                                         QStringLiteral("config/record_mcu.dat")};
        m_host.PullFile(dev, QStringLiteral("config/image.dat"));
        m_host.Receive(dev, info(0, 0, 1));
        QVERIFY(lastSent(UsbCmd::REQ_FILE_DATA));
        m_host.Receive(dev, data(0, QByteArray()));
        QCOMPARE(readAll(index), QByteArray());
        QVERIFY(m_host.logged(QStringLiteral("烧录器-1 镜像信息拉取完成")));
        QVERIFY(lastSent(UsbCmd::REQ_FILE_ATTR)); // param.ini next

        // Frame 1 before frame 0: the pull of param.ini ends, signal.ini follows.
        m_host.Receive(dev, info(0, 2048, 2));
        m_host.Receive(dev, data(1, pattern(1024, 1)));
        QVERIFY(m_host.logged(QStringLiteral("烧录器-1 上送参数数据失败: 文件帧1有误")));
        UsbFileName next;
        QVERIFY(next.Parse(m_host.sent.last()));
        QCOMPARE(next.name, QStringLiteral("config/signal.ini"));
        // A short frame ends it the same way.
        m_host.Receive(dev, info(0, 100, 1));
        m_host.Receive(dev, data(0, pattern(10, 1)));
        QVERIFY(m_host.logged(QStringLiteral("烧录器-1 上送信号数据失败: 文件帧0有误")));
        // A refusal in the seven bytes of older firmware, then the synchronisation.
        m_host.Receive(dev, CUsbFrame(UsbCmd::REQ_FILE_ATTR).U8(1).Finish());
        QVERIFY(m_host.logged(QStringLiteral("/dev/pts/8 请求下位机文件：config/record_mcu.dat 失败")));
        QVERIFY(lastSent(UsbCmd::SYNC_INIT_CMD));
        QVERIFY(!dev.m_pull.IsActive());
        m_host.sent.clear();
    }

    // A programmer's PC-side folder is ours, but what lies in it may not be:
    // a pulled file never goes through a link out of the folder, and a FIFO
    // given as a file to send is refused at once instead of blocking.
    void mirrorsStayInTheirFolder()
    {
        QTemporaryDir outside;
        const QString target = outside.filePath(QStringLiteral("target"));
        QVERIFY(FuncTool::WriteFile(target, QByteArray("keep")));
        const QString link = mirror(QStringLiteral("param.ini"));
        QFile::remove(link);
        QVERIFY(QFile::link(target, link));
        m_host.PullFile(m_dev, QStringLiteral("config/param.ini"));
        pump();
        // The pulled copy replaces the link itself; its target is untouched.
        QCOMPARE(readAll(target), QByteArray("keep"));
        QVERIFY(!QFileInfo(link).isSymLink());
        QCOMPARE(readAll(link), m_device.files.value(QStringLiteral("config/param.ini")));


        const QString fifo = m_dir.filePath(QStringLiteral("fifo.img"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(!m_host.DownloadFile(m_dev, fifo));
        QFile::remove(fifo);
    }

    // A refusal carries status, size and frame count like any answer: 13 bytes.
    void refusedPullAnswerHasItsSizeFields()
    {
        m_device.sent.clear();
        UsbFileName req;
        req.name = QStringLiteral("config/none.ini");
        m_device.Receive(req.Frame());
        QCOMPARE(m_device.sent.size(), 1);
        const QByteArray answer = m_device.sent.takeFirst();
        QCOMPARE(answer.size(), 13);
        UsbFileInfo info;
        QVERIFY(info.Parse(answer));
        QCOMPARE(int(info.status), 1);
        QCOMPARE(info.size, 0u);
        QCOMPARE(int(info.frames), 0);
    }

    // A configuration the programmer verified is what its PC-side folder
    // holds from then on; the image downloaded is the one switched to.
    void verifiedDownloadsUpdateFolderAndImage()
    {
        const QString local = m_dir.path() + QStringLiteral("/up/param.ini");
        QVERIFY(QDir().mkpath(m_dir.path() + QStringLiteral("/up")));
        QVERIFY(FuncTool::WriteFile(local, pattern(1300, 5)));
        QVERIFY(m_host.DownloadFile(m_dev, local));
        pump();
        QCOMPARE(m_device.files.value(QStringLiteral("param.ini")), pattern(1300, 5));
        QCOMPARE(readAll(mirror(QStringLiteral("param.ini"))), pattern(1300, 5));
        QVERIFY(!m_dev.m_push.IsActive());

        const QString image = m_dir.path() + QStringLiteral("/up/three.img");
        QVERIFY(FuncTool::WriteFile(image, pattern(700, 6)));
        m_host.image = 0;
        QVERIFY(m_host.DownloadFile(m_dev, image));
        m_dev.m_nImageNo = 3;
        pump();
        QCOMPARE(m_device.image, quint8(3));
        QVERIFY(m_host.logged(QStringLiteral("烧录器-2 镜像号: 3 数据传输完成！")));
        QCOMPARE(m_dev.m_nImageNo, -1);
        m_host.image = 7;
    }

    void refreshRefusesImageNumberAbove149()
    {
        m_host.image = 150;
        hostSends(CUsbFrame::Make(UsbCmd::REFRESH_IMAGE_CMD));
        QVERIFY(m_host.logged(QStringLiteral("仅支持镜像号范围:0~149!")));
        QCOMPARE(m_device.seen, QList<quint8>{UsbCmd::REFRESH_IMAGE_CMD});
        m_host.image = 7;
    }

    void answersTooShortForTheirFields()
    {
        for (const auto &row : CUsbHostHandler::Table()) {
            if (!row.handler)
                continue;
            m_host.logs.clear();
            m_host.Receive(m_dev, CUsbFrame::Make(row.code));
            QVERIFY2(m_host.loggedPart(QStringLiteral("收到长度错误的指令")), qPrintable(QString::number(row.code, 16)));
        }
    }

    void randomFramesNeverCrash()
    {
        // Well-formed frames of every command with random payloads, both ways.
        QRandomGenerator rng(20240317);
        QList<quint8> codes;
        for (const auto &row : CUsbHostHandler::Table())
            codes << row.code;
        for (const auto &row : CUsbDeviceHandler::Table())
            codes << row.code;
        for (int i = 0; i < 3000; ++i) {
            QByteArray payload(int(rng.bounded(i % 10 == 0 ? 1100 : 16)), '\0');
            for (char &c : payload)
                c = char(rng.bounded(256));
            const QByteArray frame = CUsbFrame(codes.at(int(rng.bounded(codes.size())))).Bytes(payload).Finish();
            m_host.Receive(m_dev, frame);
            m_device.Receive(frame);
            m_host.sent.clear();
            m_device.sent.clear();
        }
        // Both sides still talk afterwards.
        const int starts = m_host.starts.size();
        hostSends(CUsbFrame::Make(UsbCmd::START_CMD));
        QCOMPARE(m_host.starts.size(), starts + 1);
        QVERIFY(m_host.starts.last());
    }
};

QEL_TEST_CORE_MAIN(TestUsbHandlers)
#include "tst_usbhandlers.moc"
