// Rules of the USB console without programmers attached: slots and the device
// limit, results with counters and the one beep per start, serial numbers after
// good parts, the record file, the key watcher and the port list.
#include "qeltest.h"

#include "cusbconsole.h"
#include "cusbframe.h"
#include "cusbportscan.h"
#include "cusbserialno.h"
#include "functool.h"
#include "cusbrecordfile.h"
#include "keypresswatcher.h"
#include "serverdefs.h"
#include "usbpayload.h"

#include <cpubactions.h>
#include <creportpipe.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTranslator>
#include <QLabel>

#include "usbcontroldlg.h"
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {
QList<CHidInfo> hidList(int n, int first = 0)
{
    QList<CHidInfo> list;
    for (int i = first; i < first + n; ++i) {
        CHidInfo info;
        info.m_strPath = QStringLiteral("/dev/hidraw%1").arg(i);
        info.m_strSerial = QStringLiteral("SN%1").arg(i);
        list << info;
    }
    return list;
}

QByteArray result(quint8 code, quint32 checksum = 0x1234ABCD)
{
    UsbResult r;
    r.code = code;
    r.checksum = checksum;
    return r.Frame();
}

// Frames the console shows as sent ("[发送报文] 68 06 00 ..."), the initial
// pulls of HID programmers left out.
QList<QByteArray> sentFrames(const QSignalSpy &logs)
{
    QList<QByteArray> frames;
    for (const QList<QVariant> &args : logs) {
        const QString line = args.at(0).toString();
        if (!line.startsWith(QStringLiteral("[发送报文] ")))
            continue;
        const QByteArray frame = QByteArray::fromHex(line.mid(7).toLatin1());
        if (CUsbFrame::Command(frame) != UsbCmd::REQ_FILE_ATTR)
            frames << frame;
    }
    return frames;
}

bool waitFor(const std::function<bool()> &cond, int ms = 5000)
{
    QElapsedTimer t;
    t.start();
    while (!cond() && t.elapsed() < ms)
        QTest::qWait(5);
    return cond();
}
} // namespace

class TestConsoleRules : public QObject
{
    Q_OBJECT

private slots:
    void keysAndNames()
    {
        using ns_prog720a::USBProg;
        const USBProg vcp(CUsbDev::KindVcp, QStringLiteral("/tmp/vcp0"));
        QCOMPARE(vcp.Key(), QStringLiteral("/tmp/vcp0"));
        QVERIFY(vcp.name().isEmpty());
        const USBProg hid(CUsbDev::KindHid, QStringLiteral("/dev/hidraw3"), QStringLiteral("SN"));
        QCOMPARE(hid.Key(), QStringLiteral("/dev/hidraw3"));
        QCOMPARE(hid.name(), QStringLiteral("/dev/hidraw3"));
        QCOMPARE(hid.m_strSecondId, QStringLiteral("SN"));
    }

    void recordFile()
    {
        CUsbRecordFile rec;
        rec.SetCounters(QStringLiteral("00AA"), 10, 2);
        rec.SetCounters(QStringLiteral("00BB"), 5, 1);
        rec.SetCounters(QStringLiteral("00AA"), 11, 3);
        QCOMPARE(rec.PassAll(), quint64(16));
        QCOMPARE(rec.FailAll(), quint64(4));
        // ALL stays the sum of the others.
        rec.SetCounters(QStringLiteral("ALL"), 100, 100);
        QCOMPARE(rec.PassAll(), quint64(16));

        CUsbRecordFile::Config c;
        c.nPage = 3;
        c.nImageNo = 42;
        c.strBin[1] = QStringLiteral("/x/bin2.txt");
        c.strImageName = QStringLiteral("a.img");
        rec.SaveConfig(c);
        const CUsbRecordFile::Config back = rec.LoadConfig();
        QCOMPARE(back.nPage, 3);
        QCOMPARE(back.nImageNo, 42);
        QCOMPARE(back.strBin[1], QStringLiteral("/x/bin2.txt"));
        QCOMPARE(back.strImageName, QStringLiteral("a.img"));

        // A new console starts from the stored sums.
        CUsbConsole console;
        QCOMPARE(console.m_nPassCnt, quint64(16));
        QCOMPARE(console.m_nFailCnt, quint64(4));
        QCOMPARE(console.m_nTotalCnt, quint64(20));
        QCOMPARE(console.m_strImageNo, QStringLiteral("42"));
    }

    void eightProgrammersAtMost()
    {
        CUsbConsole console;
        QSignalSpy logs(&console, &CUsbConsole::sigLog);
        QVERIFY(!console.AddHidProgs(hidList(9)));
        QCOMPARE(console.Count(), 0);
        QCOMPARE(logs.last().at(0).toString(), QStringLiteral("达到最多支持设备数, 连接设备失败!"));
        QVERIFY(console.AddHidProgs(hidList(5)));
        // Known devices are not counted twice.
        QVERIFY(console.AddHidProgs(hidList(8)));
        QCOMPARE(console.Count(), 8);
        QVERIFY(!console.AddHidProgs(hidList(1, 8)));
        QVERIFY(!console.AddVcpProg(QStringLiteral("/tmp/none")));
        QCOMPARE(console.Count(), 8);

        // The lowest free slot is taken again.
        QVERIFY(console.RemoveProg(QStringLiteral("/dev/hidraw2")));
        QCOMPARE(CUsbConsole::TileLabel(2, console.TileAt(2)), QStringLiteral("未启用~"));
        QVERIFY(console.AddHidProgs(hidList(1, 8)));
        QCOMPARE(console.SlotOf(console.Find(QStringLiteral("/dev/hidraw8"))), 2);
        QVERIFY(!console.RemoveProg(QStringLiteral("/dev/hidraw2")));
    }

    void resultsCountersAndOneBeep()
    {
        CUsbConsole console;
        console.m_bShowBuf = true;
        QVERIFY(console.AddHidProgs(hidList(3)));
        const quint64 pass = console.m_nPassCnt, fail = console.m_nFailCnt, total = console.m_nTotalCnt;
        QSignalSpy beeps(&console, &CUsbConsole::sigBeep);
        QSignalSpy logs(&console, &CUsbConsole::sigLog);

        console.StartSignal();
        QVERIFY(waitFor([&]() { return sentFrames(logs).count(CUsbFrame::Make(UsbCmd::START_CMD)) == 3; }));
        console.RecvFrame(result(UsbCmd::RES_OK), QStringLiteral("/dev/hidraw0"));
        console.RecvFrame(result(UsbCmd::RES_VERIFY), QStringLiteral("/dev/hidraw1"));
        console.RecvFrame(result(0x99), QStringLiteral("/dev/hidraw2"));
        // A frame of a device the console does not know is dropped.
        console.RecvFrame(result(UsbCmd::RES_OK), QStringLiteral("/dev/hidraw7"));
        QVERIFY(waitFor([&]() { return console.m_nTotalCnt == total + 3; }));
        QCOMPARE(console.m_nPassCnt, pass + 1);
        QCOMPARE(console.m_nFailCnt, fail + 2);
        QCOMPARE(beeps.size(), 1);
        QCOMPARE(console.TileAt(0).nIcon, int(CUsbConsole::IconPass));
        QCOMPARE(console.TileAt(1).nIcon, int(CUsbConsole::IconFail));
        QCOMPARE(console.TileAt(1).CounterText(), QStringLiteral("0/1"));
        QCOMPARE(console.TileAt(0).CounterText(), QStringLiteral("1/0"));
        // Failures are marked as such, not found by their wording.
        QVERIFY(logs.contains({QStringLiteral("烧录器-2 执行结果失败! 原因为[其他错误]"), true}));
        QVERIFY(logs.contains({QStringLiteral("烧录器-0 执行结果成功, 校验码为[0x1234ABCD]"), false}));

        // The next start may beep again.
        console.StartSignal();
        console.RecvFrame(result(UsbCmd::RES_SWD), QStringLiteral("/dev/hidraw1"));
        QVERIFY(waitFor([&]() { return beeps.size() == 2; }));

        // An unticked slot gets nothing.
        QVERIFY(waitFor([&]() { return console.PendingSend() == 0; }));
        logs.clear();
        console.SetExecute(1, false);
        console.StartSignal();
        QVERIFY(waitFor([&]() { return sentFrames(logs).size() == 2; }));
        QTest::qWait(30);
        QCOMPARE(sentFrames(logs).size(), 2);
    }

    // The session totals count what this console saw: a programmer plugged in
    // again shows its own counters on its tile, and the totals never go down.
    void sessionTotalsNeverGoDown()
    {
        CUsbConsole console;
        const QString key = QStringLiteral("/dev/hidraw0");
        QVERIFY(console.AddHidProgs(hidList(1)));
        const quint64 total = console.m_nTotalCnt, pass = console.m_nPassCnt;
        for (int i = 0; i < 6; ++i)
            console.RecvFrame(result(UsbCmd::RES_OK), key);
        QVERIFY(waitFor([&]() { return console.m_nTotalCnt == total + 6; }));
        QVERIFY(console.RemoveProg(key));
        QVERIFY(console.AddHidProgs(hidList(1)));
        UsbCounters own;
        own.pass = 2;
        own.fail = 1;
        console.RecvFrame(own.Frame(), key);
        QVERIFY(waitFor([&]() { return console.TileAt(0).CounterText() == QStringLiteral("2/1"); }));
        QCOMPARE(console.m_nTotalCnt, total + 6);
        QCOMPARE(console.m_nPassCnt, pass + 6);
        QCOMPARE(CUsbRecordFile().Count(QStringLiteral("RECORD_PASS"), console.At(0)->FolderId()), quint64(2));
    }

    // A programmer that goes while a file travels says which programmer and
    // which file, in the console and for the main log; an image download sets
    // the image number the console shows and switches to.
    void unplugDuringTransferNamesTheFile()
    {
        QTemporaryDir dir;
        CUsbConsole console;
        QVERIFY(console.AddHidProgs(hidList(2)));
        QSignalSpy logs(&console, &CUsbConsole::sigLog);
        QSignalSpy mainLog(&console, &CUsbConsole::sigMainLog);
        QSignalSpy field(&console, &CUsbConsole::sigImageNoChanged);
        const QString image = dir.filePath(QStringLiteral("demo.img"));
        QVERIFY(FuncTool::WriteFile(image, QByteArray(3000, '\x5A')));
        QVERIFY(console.SendFileToProger(QStringLiteral("/dev/hidraw1"), image, 3));
        QCOMPARE(console.m_strImageNo, QStringLiteral("3"));
        QCOMPARE(field.size(), 1);
        QCOMPARE(console.At(1)->m_nImageNo, 3);

        QVERIFY(console.RemoveProg(QStringLiteral("/dev/hidraw1")));
        const QString cut = QStringLiteral("烧录器-1(/dev/hidraw1) 已断开, 文件demo.img传输中断");
        QCOMPARE(mainLog.size(), 1);
        QCOMPARE(mainLog.first().at(0).toString(), cut);
        QVERIFY(logs.contains({cut, true}));
        // Still in its first pull.
        QVERIFY(console.RemoveProg(QStringLiteral("/dev/hidraw0")));
        QCOMPARE(mainLog.last().at(0).toString(), QStringLiteral("烧录器-0(/dev/hidraw0) 已断开, 文件sys/qelprogrammer.dat传输中断"));
    }

    // Tiles follow a language switch at once, and failure lines are red in
    // English too while other lines keep the theme's text colour.
    void languageSwitchAndFailureColour()
    {
        usbcontroldlg dlg;
        CUsbConsole *console = dlg.Console();
        const QString key = QStringLiteral("/dev/hidraw0");
        QVERIFY(console->AddHidProgs(hidList(1)));
        // Its first pulls refused, then its image attributes, which the tile keeps and shows.
        UsbFileInfo refused;
        refused.status = 1;
        for (int i = 0; i < 3; ++i)
            console->RecvFrame(refused.Frame(), key);
        console->RecvFrame(UsbCounters().Frame(), key);
        const QByteArray attrs("a.img=3-305419896\n");
        UsbFileInfo info;
        info.size = quint32(attrs.size());
        info.frames = 1;
        console->RecvFrame(info.Frame(), key);
        UsbFileData data;
        data.cmd = UsbCmd::REQ_FILE_DATA;
        data.data = attrs;
        console->RecvFrame(data.Frame(), key);
        QVERIFY(waitFor([&]() { return console->At(0)->m_bInit; }));
        QCOMPARE(dlg.TileName(0)->text(), QStringLiteral("烧录器-0"));
        QCOMPARE(console->TileAt(0).attrs.size(), 1);
        QVERIFY(dlg.TileName(0)->toolTip().contains(QStringLiteral("a.img=3-305419896")));

        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/en.qm")));
        QCoreApplication::installTranslator(&english);
        QCoreApplication::processEvents();
        QCOMPARE(dlg.TileName(0)->text(), QStringLiteral("Programmer-0"));
        QCOMPARE(dlg.TileName(1)->text(), QStringLiteral("Not in use~"));
        console->RecvFrame(result(UsbCmd::RES_VERIFY), key);
        console->RecvFrame(result(UsbCmd::RES_OK), key);
        QVERIFY(waitFor([&]() { return console->TileAt(0).CounterText() == QStringLiteral("1/1"); }));
        QCoreApplication::removeTranslator(&english);
        QCoreApplication::processEvents();
        QCOMPARE(dlg.TileName(0)->text(), QStringLiteral("烧录器-0"));

        QTextDocument *doc = dlg.findChild<QTextEdit *>(QStringLiteral("edit_out"))->document();
        int failures = 0;
        int plain = 0;
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
            const QTextCharFormat f = b.begin().fragment().charFormat();
            if (b.text().contains(QStringLiteral("result: failed"))) {
                QCOMPARE(f.foreground().color(), QColor(0xE5, 0x39, 0x35));
                ++failures;
            } else if (b.text().contains(QStringLiteral("result: success"))) {
                QVERIFY(!f.hasProperty(QTextFormat::ForegroundBrush));
                ++plain;
            }
        }
        QCOMPARE(failures, 1);
        QCOMPARE(plain, 1);
    }

    void serialNumberAfterGoodPart()
    {
        CUsbConsole console;
        console.m_bShowBuf = true;
        console.m_bRecordSN = true;
        QVERIFY(console.AddHidProgs(hidList(1)));
        QSignalSpy logs(&console, &CUsbConsole::sigLog);
        QSignalSpy warns(&console, &CUsbConsole::sigWarn);
        console.RecvFrame(result(UsbCmd::RES_OK), QStringLiteral("/dev/hidraw0"));
        UsbSpecData sn;
        QVERIFY(waitFor([&]() {
            for (const QByteArray &f : sentFrames(logs))
                if (CUsbFrame::Command(f) == UsbCmd::PROG_SPEC_DATA_CMD && sn.Parse(f))
                    return true;
            return false;
        }));
        QCOMPARE(sn.addr, 0x1FC00u);
        QCOMPARE(sn.data.size(), 40);
        QVERIFY(sn.data.endsWith(QByteArray(3, '\xFF')));
        QVERIFY(sn.data.startsWith("10_QEL720A00001_11_QEL_12_" + QDate::currentDate().toString(QStringLiteral("yyMMdd")).toLatin1()));
        QCOMPARE(sn.data.mid(32, 5), CUsbSerialNo::CountDigits(console.m_nPassCnt).toLatin1());
        // Failures write nothing; an empty address only warns.
        console.m_strSNAddr.clear();
        console.RecvFrame(result(UsbCmd::RES_OK), QStringLiteral("/dev/hidraw0"));
        QVERIFY(waitFor([&]() { return warns.size() == 1; }));
        QCOMPARE(warns.first().at(1).toString(), QStringLiteral("请输入写入地址！"));
    }

    void commandsAndLimits()
    {
        CUsbConsole console;
        QSignalSpy logs(&console, &CUsbConsole::sigLog);
        console.StartSignal();
        console.SwitchPage(1);
        console.ReadFlashData(0x1FC00, 16);
        QCOMPARE(logs.at(0).at(0).toString(), QStringLiteral("当前无设备连接！"));
        QCOMPARE(logs.at(1).at(0).toString(), QStringLiteral("已连接设备不存在!"));
        QCOMPARE(logs.at(2).at(0).toString(), QStringLiteral("当前连接设备为空!"));

        console.m_bShowBuf = true;
        QVERIFY(console.AddHidProgs(hidList(2)));
        logs.clear();
        QVERIFY(!console.SwitchImage(QStringLiteral("150")));
        QVERIFY(!console.SwitchImage(QStringLiteral("-1")));
        QVERIFY(console.SwitchImage(QStringLiteral("149")));
        QVERIFY(waitFor([&]() { return sentFrames(logs).size() == 2; }));
        UsbByte sw;
        QVERIFY(sw.Parse(sentFrames(logs).first()));
        QCOMPARE(sw.value, quint8(149));
        QCOMPARE(logs.first().at(0).toString(), QStringLiteral("仅支持镜像号范围:0~149!"));

        // Start with the given image number.
        logs.clear();
        console.m_bSwitch2Down = true;
        console.m_strImageNo = QStringLiteral("12");
        console.StartSignal();
        QVERIFY(waitFor([&]() { return sentFrames(logs).size() == 2; }));
        QCOMPARE(sentFrames(logs).first(), QByteArray::fromHex("680700CA0C") + sentFrames(logs).first().right(2));
        QCOMPARE(CUsbFrame::Verify(sentFrames(logs).first()), CUsbFrame::FrameOk);

        // Frames still queued for a programmer that goes are dropped with it.
        logs.clear();
        console.CheckCnt();
        QVERIFY(console.PendingSend() >= 1);
        QVERIFY(console.RemoveProg(QStringLiteral("/dev/hidraw0")));
        QVERIFY(console.RemoveProg(QStringLiteral("/dev/hidraw1")));
        QCOMPARE(console.PendingSend(), 0);

        // Nothing ticked: no image or configuration is asked for.
        QSignalSpy downs(&console, &CUsbConsole::sigDownImage);
        console.DownImage();
        QCOMPARE(logs.last().at(0).toString(), QStringLiteral("当前设备未选择!"));
        QCOMPARE(downs.size(), 0);
    }

    void mergedImageGoesToTickedProgrammers()
    {
        QTemporaryDir dir;
        CUsbConsole console;
        console.SetWorkDir(dir.path());
        QVERIFY(console.AddHidProgs(hidList(3)));
        console.SetExecute(1, false);
        const QString bin1 = dir.filePath(QStringLiteral("b1.bin"));
        const QString bin2 = dir.filePath(QStringLiteral("b2.txt"));
        QVERIFY(FuncTool::WriteFile(bin1, QByteArray(16, '\x11')));
        QVERIFY(FuncTool::WriteFile(bin2, QByteArray("00018\n0004\n22222222\n")));
        console.m_bCustom = true;
        console.m_strBin[0] = bin1;
        console.m_strBin[1] = bin2;
        QSignalSpy downs(&console, &CUsbConsole::sigDownImage);
        QSignalSpy warns(&console, &CUsbConsole::sigWarn);
        console.DownImage();
        QCOMPARE(downs.size(), 1);
        QCOMPARE(downs.first().at(2).toUInt(), 0u);
        QFile out(downs.first().at(1).toString());
        QVERIFY(out.open(QIODevice::ReadOnly));
        QCOMPARE(out.readAll(), QByteArray(16, '\x11') + QByteArray(8, '\xFF') + QByteArray(4, '\x22'));
        QCOMPARE(out.permissions() & (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(downs.first().at(0).toStringList(), QStringList({QStringLiteral("/dev/hidraw0"), QStringLiteral("/dev/hidraw2")}));

        // BIN2 inside BIN1: refused before anything is asked for.
        QVERIFY(FuncTool::WriteFile(bin2, QByteArray("00008\n0004\n22222222\n")));
        console.DownImage();
        QCOMPARE(warns.size(), 1);
        QCOMPARE(warns.first().at(1).toString(), QStringLiteral("当前程序数据的地址与长度存在重叠，会覆盖数据，请确认并修改！"));
        QCOMPARE(downs.size(), 1);
    }

    void logFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("log/ctrlLog.dat"));
        const QDateTime t(QDate(2024, 5, 6), QTime(7, 8, 9, 10));
        QVERIFY(CUsbConsole::AppendLogFile(path, QStringLiteral("line 1\n失败 line"), t, true));
        QVERIFY(CUsbConsole::AppendLogFile(path, QStringLiteral("again"), t, false));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(f.readAll()),
                 QStringLiteral("\n\n[2024-05-06 07:08:09.010]     自动保存\n [Content] \nline 1\n失败 line"
                                "\n\n[2024-05-06 07:08:09.010]     手动保存\n [Content] \nagain"));
    }

    // Space starts only while the console is the active window and no text
    // field has the focus; a name with a blank typed elsewhere starts nothing.
    void spaceWatcher()
    {
        QWidget console;
        auto *log = new QTextEdit(&console);
        log->setReadOnly(true);
        auto *field = new QLineEdit(&console);
        field->move(0, 100);
        QWidget main;
        auto *name = new QLineEdit(&main);
        KeyPressWatcher watcher(&console);
        QSignalSpy spy(&watcher, &KeyPressWatcher::sig_spacePress);
        qApp->installEventFilter(&watcher);
        console.show();
        main.show();

        QApplication::setActiveWindow(&main);
        name->setFocus();
        QTest::keyClicks(name, QStringLiteral("a b"));
        QCOMPARE(name->text(), QStringLiteral("a b"));
        QApplication::setActiveWindow(&console);
        field->setFocus();
        QTest::keyClicks(field, QStringLiteral("x y"));
        QCOMPARE(field->text(), QStringLiteral("x y"));
        QCOMPARE(spy.size(), 0);

        log->setFocus();
        QTest::keyClick(log, Qt::Key_Space);
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
        QApplication::sendEvent(log, &repeat);
        qApp->removeEventFilter(&watcher);
        QCOMPARE(spy.size(), 1);
    }

    void portList()
    {
        qputenv("QEL_VCP_PORTS", "/tmp/a:/tmp/b:");
        CPubActions(true).WriteString(QStringLiteral("USB"), QStringLiteral("VCPPORTS"), QStringLiteral("/tmp/c, /tmp/a"),
                                      ServerDefs::IniFile());
        QCOMPARE(CUsbPortScan::ExtraPorts(), QStringList({QStringLiteral("/tmp/a"), QStringLiteral("/tmp/b"), QStringLiteral("/tmp/c")}));
        QVERIFY(CUsbPortScan::IsProgrammerPort(QStringLiteral("/tmp/c")));
        QVERIFY(!CUsbPortScan::IsProgrammerPort(QStringLiteral("ttyS0")));
        QVERIFY(CUsbPortScan::IsProgrammerId(0x0483, 0x5740));
        QVERIFY(!CUsbPortScan::IsProgrammerId(0x0483, 0x5741));
        qunsetenv("QEL_VCP_PORTS");
    }
};

QEL_TEST_MAIN(TestConsoleRules)
#include "tst_consolerules.moc"
