// The BIN2 editor dialog offscreen: rows, types and format through its
// widgets, export and load, the read time-out, and the live read of the
// target flash through the USB console from a simulated programmer.
#include "usbsim.h"

#include "answeredboxes.h"
#include "cbin2desc.h"
#include "cserverhost.h"
#include "cusbconsole.h"
#include "cusbprogmanager.h"
#include "editxiechangbindlg.h"
#include "functool.h"
#include "mainwindow.h"
#include "usbcontroldlg.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtEndian>

namespace {
const QString kId = QStringLiteral("5E0021000C51353235383233");

template <class T> T *Child(QWidget *w, const QString &name)
{
    T *child = w->findChild<T *>(name);
    if (!child)
        qWarning() << "no widget" << name;
    return child;
}

void Click(QWidget *w, const char *name)
{
    Child<QPushButton>(w, QLatin1String(name))->click();
}

QLineEdit *Value(QWidget *w, int row) { return Child<QLineEdit>(w, QStringLiteral("edit_value%1").arg(row)); }
QComboBox *Type(QWidget *w, int row) { return Child<QComboBox>(w, QStringLiteral("combo_type%1").arg(row)); }
QString CountLabel(QWidget *w) { return Child<QLabel>(w, QStringLiteral("label_count"))->text(); }

// Three rows: u8, u16, u32.
void ThreeParams(EditXieChangBinDlg &dlg)
{
    for (int i = 0; i < 3; ++i)
        Click(&dlg, "btn_add");
    Type(&dlg, 2)->setCurrentIndex(1);
    Type(&dlg, 3)->setCurrentIndex(2);
}
} // namespace

class TestBin2Dlg : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_boxes = std::make_unique<qeltest::Boxes>(); }
    void cleanup() { m_boxes.reset(); }
    void rowsTypesAndLimit();
    void formatExportAndLoad();
    void readTimesOut();
    void liveReadThroughTheConsole();

private:
    std::unique_ptr<qeltest::Boxes> m_boxes;
    QTemporaryDir m_dir;
};

void TestBin2Dlg::rowsTypesAndLimit()
{
    EditXieChangBinDlg dlg;
    dlg.show();
    QCOMPARE(CountLabel(&dlg), QStringLiteral("0(0)"));
    QVERIFY(!Value(&dlg, 1)->isVisible());
    ThreeParams(dlg);
    QVERIFY(Value(&dlg, 3)->isVisible());
    QVERIFY(!Value(&dlg, 4)->isVisible());
    QCOMPARE(CountLabel(&dlg), QStringLiteral("3(7)"));
    QCOMPARE(Type(&dlg, 1)->toolTip(), QStringLiteral("选择数据类型"));
    Value(&dlg, 2)->setText(QStringLiteral("42"));
    Click(&dlg, "btn_del");
    QCOMPARE(CountLabel(&dlg), QStringLiteral("2(3)"));
    QCOMPARE(Value(&dlg, 2)->text(), QStringLiteral("42")); // typed text survives the redraw
    QVERIFY(!Value(&dlg, 3)->isVisible());

    for (int i = 2; i < CBin2Params::kMaxParams; ++i)
        Click(&dlg, "btn_add");
    QVERIFY(m_boxes->shown.isEmpty());
    Click(&dlg, "btn_add");
    QVERIFY(m_boxes->Shown(QStringLiteral("限制最多参数为80个")));
    QCOMPARE(m_boxes->shown.last().title, QStringLiteral("错误！"));
    QCOMPARE(dlg.Editor().Params().Count(), 80);
    QVERIFY(Value(&dlg, 80)->isVisible());
}

void TestBin2Dlg::formatExportAndLoad()
{
    EditXieChangBinDlg dlg;
    ThreeParams(dlg);
    Value(&dlg, 1)->setText(QStringLiteral("200"));
    Value(&dlg, 2)->setText(QStringLiteral("4660"));
    Value(&dlg, 3)->setText(QStringLiteral("305419896"));
    Child<QLineEdit>(&dlg, QStringLiteral("edit_desc2"))->setText(QStringLiteral("速度"));
    auto *format = Child<QToolButton>(&dlg, QStringLiteral("btn_format"));
    QCOMPARE(format->toolTip(), QStringLiteral("数据显示格式: 10进制"));
    dlg.findChild<QAction *>(QStringLiteral("action_hex"))->trigger();
    QCOMPARE(format->toolTip(), QStringLiteral("数据显示格式: 16进制"));
    QCOMPARE(Value(&dlg, 2)->text(), QString::number(4660, 16).toUpper());
    QCOMPARE(Value(&dlg, 3)->text(), QString::number(305419896, 16).toUpper());

    const QString path = m_dir.filePath(QStringLiteral("params.txt"));
    Child<QLineEdit>(&dlg, QStringLiteral("edit_path"))->setText(path);
    Child<QLineEdit>(&dlg, QStringLiteral("edit_addr"))->setText(QStringLiteral("1A000"));
    Click(&dlg, "btn_export");
    QVERIFY2(m_boxes->Shown(QStringLiteral("BIN2文件导出成功！")), qPrintable(m_boxes->shown.value(0).text));
    QVERIFY(FuncTool::ReadFile(CBin2Desc::PathFor(path)).contains("16进制"));

    EditXieChangBinDlg other;
    QVERIFY(other.LoadBinFile(path));
    QCOMPARE(CountLabel(&other), QStringLiteral("3(7)"));
    QCOMPARE(Type(&other, 3)->currentIndex(), 2);
    QCOMPARE(Child<QLineEdit>(&other, QStringLiteral("edit_addr"))->text(), QStringLiteral("1A000"));
    QCOMPARE(Child<QLineEdit>(&other, QStringLiteral("edit_desc2"))->text(), QStringLiteral("速度"));
    for (int row = 1; row <= 3; ++row)
        QCOMPARE(Value(&other, row)->text(), Value(&dlg, row)->text());
    other.findChild<QAction *>(QStringLiteral("action_dec"))->trigger();
    QCOMPARE(Value(&other, 3)->text(), QStringLiteral("305419896"));

    // A refused file leaves a box, not a crash.
    QVERIFY(FuncTool::WriteFile(path, QByteArray("19000\n007\n01 \n")));
    QVERIFY(!other.LoadBinFile(path));
    QVERIFY(m_boxes->Shown(QStringLiteral("读取文件失败！数据与规定格式不符合！请检查")));
}

void TestBin2Dlg::readTimesOut()
{
    EditXieChangBinDlg dlg;
    dlg.show();
    ThreeParams(dlg);
    QSignalSpy reads(&dlg, &EditXieChangBinDlg::sig_toRead);
    Click(&dlg, "btn_read");
    QCOMPARE(reads.count(), 1);
    QCOMPARE(reads.at(0).at(0).toInt(), QString::fromLatin1(CBin2Params::kDefaultAddr).toInt(nullptr, 16));
    QCOMPARE(reads.at(0).at(1).toInt(), dlg.Editor().Params().ByteCount());
    QVERIFY(dlg.IsReading());
    QVERIFY(dlg.findChild<QWidget *>(QStringLiteral("box_wait")));
    QTRY_VERIFY_WITH_TIMEOUT(m_boxes->Shown(QStringLiteral("MCU-FLASH参数读取超时！")), EditXieChangBinDlg::kReadTimeoutMs * 3);
    QVERIFY(!dlg.IsReading());
    // An answer after the time-out changes nothing and shows nothing.
    const int boxes = m_boxes->shown.size();
    dlg.SetReadFinish(kId);
    QCOMPARE(m_boxes->shown.size(), boxes);
}

void TestBin2Dlg::liveReadThroughTheConsole()
{
    const QString link = m_dir.filePath(QStringLiteral("vcp0"));
    qputenv("QEL_VCP_PORTS", link.toLocal8Bit());
    qputenv("QEL_PROG_DIRS", "");
    const QByteArray flash = QByteArray::fromHex("01020304050607");
    usbtest::UsbSim sim(kId, m_dir.filePath(QStringLiteral("prog")), link,
                        {QStringLiteral("--flash-data"), QStringLiteral("0x19000:") + QString::fromLatin1(flash.toHex())});
    QVERIFY2(sim.WaitReady(), qPrintable(sim.Output()));
    MainWindow w;
    CServerHost host(&w);
    usbcontroldlg *console = w.UsbManager()->Dialog();
    QVERIFY2(usbtest::waitUntil([&]() {
                 const CUsbConsole::USBProg *p = console->Console()->Find(link);
                 return p && p->m_bInit;
             }),
             qPrintable(console->LogText()));

    console->findChild<QLineEdit *>(QStringLiteral("lineEdit_bin2"))->setText(m_dir.filePath(QStringLiteral("b2.txt")));
    Click(console, "btn_editBin2");
    EditXieChangBinDlg *editor = console->Bin2Editor();
    QVERIFY(editor);
    QCOMPARE(editor->Bin2Path(), m_dir.filePath(QStringLiteral("b2.txt")));
    ThreeParams(*editor);
    Click(editor, "btn_read");
    QVERIFY(usbtest::waitUntil([&]() { return !m_boxes->shown.isEmpty(); }, 20000));
    QVERIFY2(m_boxes->Shown(QStringLiteral("参数读取解析完成！")), qPrintable(m_boxes->shown.last().text + console->LogText()));
    QVERIFY(sim.Output().contains(QStringLiteral("flash read: %1 bytes at 0x19000").arg(flash.size())));
    const auto *p = reinterpret_cast<const uchar *>(flash.constData());
    QCOMPARE(Value(editor, 1)->text(), QString::number(p[0]));
    QCOMPARE(Value(editor, 2)->text(), QStringLiteral("770"));
    QCOMPARE(Value(editor, 3)->text(), QString::number(qFromLittleEndian<quint32>(p + 3)));
    // The same editor the next time.
    Click(console, "btn_editBin2");
    QCOMPARE(console->Bin2Editor(), editor);
    qunsetenv("QEL_VCP_PORTS");
}

QEL_TEST_MAIN(TestBin2Dlg)
#include "tst_bin2dlg.moc"
