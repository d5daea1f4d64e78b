// The USB console end to end: the server's main window with simulated
// programmers (tools/progsim) on pseudo-terminals found through the extra port
// list, and one on the HID test backend.
#include "usbsim.h"

#include "burnhub.h"
#include "cmessagebox.h"
#include "cserverhost.h"
#include "cusbconsole.h"
#include "cusbcrc.h"
#include "cusbprogmanager.h"
#include "functool.h"
#include "imagebuilder.h"
#include "cusbrecordfile.h"
#include "mainwindow.h"
#include "usbcontroldlg.h"

#include <creportpipe.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <memory>
#include <vector>

using usbtest::UsbSim;
using usbtest::waitUntil;

namespace {
constexpr int kPorts = 9;

QString simId(int n) { return QStringLiteral("A1B2C3D4E5F60718293A4B%1").arg(n, 2, 10, QLatin1Char('0')); }

QByteArray pattern(int n, int seed)
{
    QByteArray b(n, '\0');
    for (int i = 0; i < n; ++i)
        b[i] = char((i * 31 + seed + i / 977) & 0xFF);
    return b;
}

QString findFile(const QString &dir, const QString &name)
{
    QDirIterator it(dir, {name}, QDir::Files, QDirIterator::Subdirectories);
    return it.hasNext() ? it.next() : QString();
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TestConsole : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::vector<std::unique_ptr<UsbSim>> m_sims;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<CServerHost> m_host;

    QString link(int n) const { return m_dir.path() + QStringLiteral("/vcp%1").arg(n); }
    QString folder(int n) const { return m_dir.path() + QStringLiteral("/prog%1").arg(n); }

    UsbSim *startSim(int n, const QStringList &extra = {})
    {
        m_sims.push_back(std::make_unique<UsbSim>(simId(n), folder(n), link(n), extra));
        UsbSim *sim = m_sims.back().get();
        return sim->WaitReady() ? sim : nullptr;
    }
    usbcontroldlg *dlg() { return m_window->UsbManager()->Dialog(); }
    CUsbConsole *console() { return dlg()->Console(); }
    bool initialised(int slot)
    {
        const CUsbConsole::USBProg *p = console()->At(slot);
        return p && p->m_bInit && dlg()->TileName(slot)->text() == QStringLiteral("烧录器-%1").arg(slot);
    }
    int slotOf(const QString &key) { return console()->SlotOf(console()->Find(key)); }
    const MyProger *rowOf(const QString &key)
    {
        for (int i = 0; i < m_window->Programmers().Count(); ++i) {
            const MyProger *p = m_window->Programmers().At(i);
            if (p->m_bVCP && p->m_strRoot == key)
                return p;
        }
        return nullptr;
    }
    bool logged(const QString &text) { return dlg()->LogText().contains(text); }
    void openWindow()
    {
        m_window = std::make_unique<MainWindow>();
        m_host = std::make_unique<CServerHost>(m_window.get());
    }
    void closeWindow()
    {
        m_host.reset();
        m_window.reset();
        m_sims.clear();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QStringList ports;
        for (int i = 0; i < kPorts; ++i)
            ports << link(i);
        qputenv("QEL_VCP_PORTS", ports.join(QLatin1Char(':')).toLocal8Bit());
        QVERIFY(QFile::exists(qeltest::binDir() + QStringLiteral("/progsim")));
        CMessageBox::SetResponder([](CMessageBox::Kind, const QString &, const QString &) { return QMessageBox::Yes; });
    }

    void cleanup() { closeWindow(); }

    // Identity, image and parameter pulls, the counters, an image and its index
    // verified by the programmer, then the refresh and the image switch.
    void initialiseAndDownloadImage()
    {
        UsbSim *sim = startSim(0, {QStringLiteral("--counters"), QStringLiteral("5/2")});
        QVERIFY(sim);
        openWindow();
        QVERIFY2(waitUntil([&]() { return console()->Find(link(0)) && initialised(slotOf(link(0))); }), qPrintable(dlg()->LogText()));
        const int slot = slotOf(link(0));
        CUsbConsole::USBProg *prog = console()->At(slot);
        QCOMPARE(prog->m_strName, QStringLiteral("00") + simId(0));
        QCOMPARE(dlg()->TileCounter(slot)->text(), QStringLiteral("5/2"));
        QCOMPARE(dlg()->TileCounter(slot)->toolTip(), prog->m_strName);
        QCOMPARE(dlg()->TileIcon(slot)->toolTip(), QStringLiteral("烧录器(A1*00)"));
        QCOMPARE(dlg()->TileIconState(slot), int(CUsbConsole::IconNormal));
        QVERIFY(dlg()->TileExecute(slot)->isChecked());
        for (const QString &line : {QStringLiteral("烧录器-%1 上送设备数据， 100%").arg(slot), QStringLiteral("烧录器-%1 镜像信息拉取完成").arg(slot),
                                    QStringLiteral("烧录器-%1 配置信息拉取完成").arg(slot), QStringLiteral("下载器初始化完成，可以进行后续操作")})
            QVERIFY2(logged(line), qPrintable(line));
        QVERIFY(sim->Output().contains(QStringLiteral("sync: time \"")));
        QCOMPARE(CUsbRecordFile().Count(QStringLiteral("RECORD_PASS"), prog->FolderId()), quint64(5));
        QCOMPARE(CUsbRecordFile().Count(QStringLiteral("RECORD_FAIL"), prog->FolderId()), quint64(2));

        // The main window lists it, with the identity the programmer sent.
        const MyProger *row = rowOf(link(0));
        QVERIFY(row);
        QCOMPARE(row->m_strModel, QStringLiteral("QEL720A"));
        QCOMPARE(row->m_strID, prog->FolderId());
        QVERIFY(readAll(BurnHub::Instance()->GetUSBProgFilePath(prog->FolderId(), QStringLiteral("qelprogrammer.dat")))
                    .contains(simId(0).toLatin1()));

        // An image of three frames and a half, then its index.
        const QByteArray image = pattern(3 * 1024 + 512, 7);
        const QString imagePath = m_dir.path() + QStringLiteral("/demo.img");
        QVERIFY(FuncTool::WriteFile(imagePath, image));
        BurnHub *hub = BurnHub::Instance();
        hub->SetUSBProgUID(prog->FolderId());
        QString err;
        QVERIFY2(hub->ModifyIndex(7, QStringLiteral("demo.img"), err), qPrintable(err));
        dlg()->findChild<QLineEdit *>(QStringLiteral("lineEdit_imageno"))->setText(QStringLiteral("7"));
        QSignalSpy results(console(), &CUsbConsole::sigFileResult);
        QVERIFY(m_window->UsbManager()->SendFileToProger(link(0), imagePath));
        QVERIFY2(waitUntil([&]() { return results.size() >= 2; }), qPrintable(dlg()->LogText()));
        QCOMPARE(results.at(0), QVariantList({link(0), QStringLiteral("demo.img"), true}));
        QCOMPARE(results.at(1), QVariantList({link(0), QStringLiteral("image.dat"), true}));
        const QString crc = QString::number(CUsbCrc::Crc32(image), 16).toUpper();
        QVERIFY2(sim->Output().contains(QStringLiteral("received demo.img: %1 bytes, crc32 0x%2 verified").arg(image.size()).arg(crc)),
                 qPrintable(sim->Output()));
        QCOMPARE(readAll(findFile(folder(0), QStringLiteral("demo.img"))), image);
        QCOMPARE(readAll(folder(0) + QStringLiteral("/config/image.dat")),
                 readAll(hub->GetUSBProgFilePath(prog->FolderId(), QStringLiteral("image.dat"))));
        QVERIFY(waitUntil([&]() { return logged(QStringLiteral("烧录器-%1 镜像数据传输校验完成").arg(slot)); }));
        // Refresh, then the switch to the console's image number.
        QVERIFY(waitUntil([&]() { return sim->Output().contains(QStringLiteral("active image 7 (demo.img)")); }));
        QVERIFY(waitUntil([&]() { return logged(QStringLiteral("现在可以触发执行烧录！")); }));
        QVERIFY(waitUntil([&]() { return logged(QStringLiteral("烧录器-%1 镜像号: 7 数据传输完成！").arg(slot)); }));
    }

    // Start on three programmers: one pass, two failures, one beep; image
    // numbers above 149 are refused.
    void startOnThreeProgrammers()
    {
        QVERIFY(startSim(1, {QStringLiteral("--start-ms"), QStringLiteral("20")}));
        QVERIFY(startSim(2, {QStringLiteral("--result"), QStringLiteral("0xE3"), QStringLiteral("--start-ms"), QStringLiteral("40")}));
        UsbSim *third = startSim(3, {QStringLiteral("--result"), QStringLiteral("0xE1"), QStringLiteral("--start-ms"), QStringLiteral("60")});
        QVERIFY(third);
        openWindow();
        QVERIFY2(waitUntil([&]() {
            for (int n : {1, 2, 3})
                if (!console()->Find(link(n)) || !initialised(slotOf(link(n))))
                    return false;
            return true;
        }),
                 qPrintable(dlg()->LogText()));
        const quint64 pass = console()->m_nPassCnt;
        const quint64 fail = console()->m_nFailCnt;
        const quint64 total = console()->m_nTotalCnt;
        QSignalSpy beeps(console(), &CUsbConsole::sigBeep);

        // Space in the active console starts every ticked programmer once.
        dlg()->show();
        QApplication::setActiveWindow(dlg());
        QTest::keyClick(dlg(), Qt::Key_Space);
        const int s1 = slotOf(link(1)), s2 = slotOf(link(2)), s3 = slotOf(link(3));
        QVERIFY2(waitUntil([&]() {
            return dlg()->TileCounter(s1)->text() == QStringLiteral("1/0") && dlg()->TileCounter(s2)->text() == QStringLiteral("0/1")
                && dlg()->TileCounter(s3)->text() == QStringLiteral("0/1");
        }),
                 qPrintable(dlg()->LogText()));
        QCOMPARE(dlg()->TileIconState(s1), int(CUsbConsole::IconPass));
        QCOMPARE(dlg()->TileIconState(s2), int(CUsbConsole::IconFail));
        QCOMPARE(dlg()->TileIconState(s3), int(CUsbConsole::IconFail));
        QCOMPARE(console()->m_nPassCnt, pass + 1);
        QCOMPARE(console()->m_nFailCnt, fail + 2);
        QCOMPARE(console()->m_nTotalCnt, total + 3);
        QCOMPARE(dlg()->findChild<QLineEdit *>(QStringLiteral("editFailCnt"))->text(), QString::number(fail + 2));
        QCOMPARE(beeps.size(), 1);
        // The result lines reach the log as posted events, after the counters.
        QVERIFY2(waitUntil([&]() {
            return logged(QStringLiteral("烧录器-%1 执行结果失败! 原因为[目标板校验错误]").arg(s2))
                && logged(QStringLiteral("烧录器-%1 执行结果失败! 原因为[SWD通信失败]").arg(s3))
                && logged(QStringLiteral("烧录器-%1 执行结果成功, 校验码为[0x").arg(s1));
        }),
                 qPrintable(dlg()->LogText()));
        // One press, one run each.
        QTest::qWait(200);
        QCOMPARE(third->Output().count(QStringLiteral("start: run")), 1);

        // Image numbers: 150 refused, 149 sent to all.
        auto *field = dlg()->findChild<QLineEdit *>(QStringLiteral("lineEdit_imageno"));
        field->setText(QStringLiteral("150"));
        QTest::keyRelease(dlg(), Qt::Key_F7);
        QVERIFY(waitUntil([&]() { return logged(QStringLiteral("仅支持镜像号范围:0~149!")); }));
        field->setText(QStringLiteral("149"));
        QTest::keyRelease(dlg(), Qt::Key_F7);
        QVERIFY(waitUntil([&]() { return third->Output().contains(QStringLiteral("active image 149")); }));
        QVERIFY(waitUntil([&]() { return logged(QStringLiteral("切换镜像号: 149")); }));
        QVERIFY(!logged(QStringLiteral("切换镜像号: 150")));
        QVERIFY(!third->Output().contains(QStringLiteral("active image 150")));

        // Saving keeps the tile counters in the record file and appends the log.
        dlg()->SaveAllLog(false);
        QCOMPARE(CUsbRecordFile().Count(QStringLiteral("RECORD_FAIL"), console()->At(s2)->FolderId()), quint64(1));
        QVERIFY(readAll(console()->LogFilePath()).contains("     手动保存\n [Content] \n"));
        dlg()->hide();
    }

    // Eight programmers at most; unplugging one frees its tile and its row.
    void ninthRefusedAndUnplug()
    {
        for (int n = 0; n < 8; ++n)
            QVERIFY(startSim(n));
        openWindow();
        QVERIFY2(waitUntil([&]() {
            for (int n = 0; n < 8; ++n)
                if (!console()->Find(link(n)) || !initialised(slotOf(link(n))))
                    return false;
            return true;
        }, 60000),
                 qPrintable(dlg()->LogText()));
        QVERIFY(startSim(8));
        QVERIFY(waitUntil([&]() { return logged(QStringLiteral("达到最多支持设备数, 连接设备失败!")); }));
        QCOMPARE(console()->Count(), 8);
        QVERIFY(!console()->Find(link(8)));
        // The main log announces no initialisation for a port the console refused.
        QVERIFY(!m_window->LogText().contains(link(8)));

        const int slot = slotOf(link(4));
        QVERIFY(rowOf(link(4)));
        m_sims[4]->Stop();
        QVERIFY(waitUntil([&]() { return !console()->Find(link(4)); }));
        QCOMPARE(console()->Count(), 7);
        QCOMPARE(dlg()->TileName(slot)->text(), QStringLiteral("未启用~"));
        QCOMPARE(dlg()->TileIconState(slot), int(CUsbConsole::IconDisable));
        QVERIFY(dlg()->TileIcon(slot)->toolTip().isEmpty());
        QVERIFY(!rowOf(link(4)));
        QVERIFY(m_window->LogText().contains(QStringLiteral("检测到VCP下载器已断开连接: ") + link(4)));
    }

    // Eight programmers on noisy lines (a false frame head before every
    // answer). F9 gives every ticked programmer the edited configuration after
    // one question and updates every PC-side copy; F5 sends the image built
    // from the merged program, which every programmer accepts at the merged
    // base address and is switched to under its number.
    void eightProgrammersGetConfigAndMergedImage()
    {
        for (int n = 0; n < 8; ++n)
            QVERIFY(startSim(n, {QStringLiteral("--noise")}));
        openWindow();
        auto allInitialised = [&]() {
            for (int n = 0; n < 8; ++n)
                if (!console()->Find(link(n)) || !initialised(slotOf(link(n))))
                    return false;
            return true;
        };
        QVERIFY2(waitUntil(allInitialised, 90000), qPrintable(dlg()->LogText()));
        // The empty image index of a fresh programmer was pulled on the way.
        QVERIFY(waitUntil([&]() { return logged(QStringLiteral("烧录器-7 镜像信息拉取完成")); }));

        int asked = 0;
        CMessageBox::SetResponder([&](CMessageBox::Kind, const QString &, const QString &) {
            ++asked;
            return QMessageBox::Yes;
        });
        auto *interval = m_window->findChild<QLineEdit *>(QStringLiteral("edit_contInterval"));
        QVERIFY(interval);
        interval->setText(QStringLiteral("4321"));
        QTest::keyRelease(dlg(), Qt::Key_F9);
        QVERIFY2(waitUntil([&]() {
            for (int n = 0; n < 8; ++n)
                if (!logged(QStringLiteral("烧录器-%1 烧录器配置更新完成").arg(slotOf(link(n)))))
                    return false;
            return true;
        }, 90000),
                 qPrintable(dlg()->LogText()));
        QCOMPARE(asked, 1);
        for (int n = 0; n < 8; ++n) {
            const QByteArray onProgrammer = readAll(folder(n) + QStringLiteral("/config/param.ini"));
            QVERIFY2(onProgrammer.contains("4321"), qPrintable(QString::number(n)));
            const QString id = console()->Find(link(n))->FolderId();
            QCOMPARE(readAll(BurnHub::Instance()->GetUSBProgFilePath(id, QStringLiteral("param.ini"))), onProgrammer);
        }

        // BIN2 alone: the merged program starts at its first segment.
        const QString bin2 = m_dir.path() + QStringLiteral("/part2.txt");
        QVERIFY(FuncTool::WriteFile(bin2, QByteArray("8000\n0010\n00112233445566778899AABBCCDDEEFF\n")));
        dlg()->findChild<QCheckBox *>(QStringLiteral("checkBox_custom"))->setChecked(true);
        dlg()->findChild<QLineEdit *>(QStringLiteral("lineEdit_bin2"))->setText(bin2);
        dlg()->findChild<QLineEdit *>(QStringLiteral("lineEdit_imageno"))->setText(QStringLiteral("0"));
        m_window->findChild<QComboBox *>(QStringLiteral("combo_index"))->setEditText(QStringLiteral("5"));
        m_window->findChild<QLineEdit *>(QStringLiteral("edit_name"))->setText(QStringLiteral("merged"));
        QTest::keyRelease(dlg(), Qt::Key_F5);
        const QString accepted = QStringLiteral("image 5 merged.img: accepted");
        const QString start = QStringLiteral("start=") + CImageBuilder::CRCText(0x8000);
        QVERIFY2(waitUntil([&]() {
            for (const auto &sim : m_sims)
                if (!sim->Output().contains(QStringLiteral("active image 5 (merged.img)")))
                    return false;
            return true;
        }, 120000),
                 qPrintable(dlg()->LogText()));
        for (const auto &sim : m_sims) {
            const QString out = sim->Output();
            const int at = out.indexOf(accepted);
            QVERIFY2(at >= 0, qPrintable(out));
            QVERIFY2(out.mid(at, out.indexOf(QLatin1Char('\n'), at) - at).contains(start), qPrintable(out));
        }
        QCOMPARE(dlg()->findChild<QLineEdit *>(QStringLiteral("lineEdit_imageno"))->text(), QStringLiteral("5"));
        CMessageBox::SetResponder([](CMessageBox::Kind, const QString &, const QString &) { return QMessageBox::Yes; });
    }

    // A HID programmer on the test backend is initialised the same way.
    void hidProgrammer()
    {
        const QString hidDir = m_dir.path() + QStringLiteral("/hid");
        QVERIFY(QDir().mkpath(hidDir));
        CReportPipe::SetSimulationDir(hidDir);
        m_sims.push_back(std::make_unique<UsbSim>(simId(20), folder(20), QString(),
                                                  QStringList{QStringLiteral("--counters"), QStringLiteral("3/4")}, hidDir));
        QVERIFY(m_sims.back()->WaitReady());
        openWindow();
        m_window->ScanHIDProg();
        QVERIFY(waitUntil([&]() { return console()->Count() == 1; }));
        const QString key = console()->Keys().first();
        const int slot = slotOf(key);
        QVERIFY2(waitUntil([&]() { return initialised(slot); }), qPrintable(dlg()->LogText()));
        QCOMPARE(console()->At(slot)->m_nType, quint8(CUsbDev::KindHid));
        QCOMPARE(dlg()->TileCounter(slot)->text(), QStringLiteral("3/4"));
        QVERIFY(!console()->At(slot)->FolderId().contains(QLatin1Char('/')));
        m_sims.back()->Stop();
        QVERIFY(waitUntil([&]() { return console()->Count() == 0; }));
        QVERIFY(m_window->LogText().contains(QStringLiteral("检测到HID下载器已断开连接: ") + key));
        CReportPipe::SetSimulationDir(QString());
    }
};

QEL_TEST_MAIN(TestConsole)
#include "tst_console.moc"
