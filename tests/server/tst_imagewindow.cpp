// The image panel in the server window, offscreen: images built from the
// program list and sent to simulated disk programmers, remote programmers
// behind a station on loopback TCP, and the export.
#include "bintreewidget.h"
#include "burnhub.h"
#include "cexportprompt.h"
#include "cframecutter.h"
#include "clinktcps.h"
#include "cmessagebox.h"
#include "cpubactions.h"
#include "cserverhost.h"
#include "cusbconsole.h"
#include "cusbprogmanager.h"
#include "functool.h"
#include "imagefile.h"
#include "mainwindow.h"
#include "progsimprocess.h"
#include "qeltest.h"
#include "serverdefs.h"

#include <QAction>
#include <QComboBox>
#include <QInputDialog>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTreeWidget>

namespace {
const QString kIdA = QStringLiteral("3F0027000B51353235383233");
const QString kIdB = QStringLiteral("1A0033000E51353235383233");

// Answers every message box and remembers it.
class Boxes
{
public:
    Boxes()
    {
        CMessageBox::SetResponder([this](CMessageBox::Kind kind, const QString &title, const QString &text) {
            shown.append({kind, title + QLatin1Char('|') + text});
            return answer;
        });
    }
    ~Boxes() { CMessageBox::SetResponder({}); }
    bool Shown(const QString &text) const
    {
        for (const auto &box : shown)
            if (box.second.contains(text))
                return true;
        return false;
    }
    QList<QPair<CMessageBox::Kind, QString>> shown;
    QMessageBox::StandardButton answer = QMessageBox::Yes;
};

// A client station as a plain socket: reads the server's messages and answers.
class Station
{
public:
    bool Connect(quint16 port)
    {
        m_socket.connectToHost(QHostAddress::LocalHost, port);
        return m_socket.waitForConnected(5000);
    }
    void Send(const QJsonObject &object)
    {
        m_socket.write(CFrameCutter::MakeTcp(QJsonDocument(object).toJson(QJsonDocument::Compact)));
        m_socket.flush();
    }
    // Messages received so far with that "cmd".
    QList<QJsonObject> Received(const QString &cmd)
    {
        m_buf.append(m_socket.readAll());
        QByteArray message;
        while (CFrameCutter::NextTcp(m_buf, message) == CFrameCutter::Message)
            m_all.append(QJsonDocument::fromJson(message).object());
        QList<QJsonObject> found;
        for (const QJsonObject &o : qAsConst(m_all))
            if (o.value(QStringLiteral("cmd")).toString() == cmd)
                found << o;
        return found;
    }
    // Asks for a file the way a client does and collects its chunks.
    QByteArray Pull(const QString &name, int index)
    {
        Send({{"cmd", "file-read"}, {"name", name}, {"image-index", index}});
        QByteArray data;
        bool done = false;
        QElapsedTimer timer;
        timer.start();
        while (!done && timer.elapsed() < 20000) {
            QTest::qWait(20);
            data.clear();
            for (const QJsonObject &chunk : Received(QStringLiteral("file-content"))) {
                if (chunk.value("name").toString() != name)
                    continue;
                data += QByteArray::fromBase64(chunk.value("data").toString().toLatin1());
                done = !chunk.value("more").toBool();
            }
        }
        return done ? data : QByteArray();
    }
    QTcpSocket m_socket;

private:
    QByteArray m_buf;
    QList<QJsonObject> m_all;
};
} // namespace

class TestImageWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void buildAndDownloadToDisk();
    void imageForAnotherProgrammerIsRejected();
    void refusalsLeaveNoImage();
    void crcFieldFollowsTheList();
    void panelQuestionsAndHexAddress();
    void exportAsksForIDAndFolder();
    void exportDialogStartsWithTheTickedID();
    void remoteProgrammerGetsFileAttrib();
    void vcpProgrammerGetsImageAndConfig();

private:
    QString Dir(const QString &name) const { return m_dir->path() + QLatin1Char('/') + name; }
    void UsePrograms(const QStringList &names);
    // A QEL720A programmer folder with identity kIdA.
    static void MakeProger(const QString &root)
    {
        QVERIFY(FuncTool::WriteFile(root + QStringLiteral("/sys/qelprogrammer.dat"),
                                    QStringLiteral("ID=%1\r\nVER=V2.1.5\r\nHW=H1.0\r\nMODEL=QEL720A\r\n").arg(kIdA).toUtf8()));
    }
    // Fills the panel: two programs (BIN and HEX) with a gap between them.
    void FillPanel(MainWindow &w, const QString &index, const QString &name, bool encrypt, const QString &limit);
    QTreeWidget *List(MainWindow &w) { return w.findChild<QTreeWidget *>(QStringLiteral("lv_prog")); }
    BinTreeWidget *Tree(MainWindow &w) { return w.findChild<BinTreeWidget *>(QStringLiteral("treeBin")); }
    QLineEdit *Edit(MainWindow &w, const char *name) { return w.findChild<QLineEdit *>(QLatin1String(name)); }
    QComboBox *Combo(MainWindow &w, const char *name) { return w.findChild<QComboBox *>(QLatin1String(name)); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestImageWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // Firmware checks of listed programmers go to a closed loopback port.
    CPubActions(false).WriteString(QStringLiteral("UPDATE"), QStringLiteral("URL"), QStringLiteral("http://127.0.0.1:1/qel.json"),
                                   ServerDefs::IniFile());
    QByteArray program;
    for (int i = 0; i < 3000; ++i)
        program.append(char(i * 7));
    QVERIFY(FuncTool::WriteFile(Dir("app.bin"), program));
    // 16 bytes at 0x0000 in HEX; placed 0x1000 above the BIN.
    QVERIFY(FuncTool::WriteFile(Dir("data.hex"), QByteArray(":10000000000102030405060708090A0B0C0D0E0F78\n:00000001FF\n")));
}

void TestImageWindow::cleanup()
{
    qunsetenv("QEL_PROG_DIRS");
    CExportPrompt::SetResponders({}, {});
    BurnHub::Exitance();
    QDir(ServerDefs::WorkDir()).removeRecursively();
    m_dir.reset();
}

void TestImageWindow::UsePrograms(const QStringList &names)
{
    QStringList dirs;
    for (const QString &name : names)
        dirs << Dir(name);
    qputenv("QEL_PROG_DIRS", dirs.join(QLatin1Char(':')).toLocal8Bit());
}

void TestImageWindow::FillPanel(MainWindow &w, const QString &index, const QString &name, bool encrypt,
                                const QString &limit)
{
    Tree(w)->SetBinInfos({{QStringLiteral("0x08000000"), Dir("app.bin")}, {QStringLiteral("0x08001000"), Dir("data.hex")}});
    Combo(w, "combo_index")->setEditText(index);
    Edit(w, "edit_name")->setText(name);
    Combo(w, "combo_aes")->setCurrentIndex(encrypt ? 1 : 0);
    Combo(w, "combo_chip")->setCurrentIndex(4);
    Edit(w, "edit_count")->setText(limit);
    Edit(w, "edit_ver")->setText(QStringLiteral("12"));
}

void TestImageWindow::buildAndDownloadToDisk()
{
    ProgSim sim(Dir("SIM_A"), kIdA, QStringLiteral("QEL720A"));
    QVERIFY2(sim.WaitReady(), qPrintable(sim.Output()));
    UsePrograms({"SIM_A"});
    Boxes boxes;
    MainWindow w;
    QCOMPARE(List(w)->topLevelItemCount(), 1);
    List(w)->topLevelItem(0)->setCheckState(0, Qt::Checked);
    FillPanel(w, QStringLiteral("3"), QStringLiteral("app"), true, QStringLiteral("5"));

    // Declining the question changes nothing.
    boxes.answer = QMessageBox::No;
    w.on_btn_downimage_clicked(true);
    QVERIFY(boxes.Shown(QStringLiteral("提示|下发镜像将修改下载器的镜像配置，是否继续?")));
    QVERIFY(!QFile::exists(ServerDefs::WorkDir() + "app.img"));

    boxes.answer = QMessageBox::Yes;
    w.on_btn_downimage_clicked(true);
    const QString log = w.LogText();
    QVERIFY2(log.contains("下载镜像：镜像号=3，镜像名称=app.img 成功"), qPrintable(log));
    for (const char *line : {"镜像名称: app.img", "是否加密: 是", "最大烧写次数: 5", "MCU类型: QM-05", "版本: 12", "镜像文件处理完成!"})
        QVERIFY2(log.contains(QString::fromUtf8(line)), line);
    const QString crc = Edit(w, "edit_imagecrc")->text();
    QVERIFY(log.contains("镜像CRC: " + crc));

    // On the programmer: the index names the image, and the image opens with its ID.
    QCOMPARE(FuncTool::ReadFile(Dir("SIM_A/config/image.dat")), QByteArray("3=app.img\n"));
    QByteArray image = FuncTool::ReadFile(Dir("SIM_A/procs/app.img"));
    QCOMPARE(image.size(), 0x1010 + 68);
    CImageTrailer trailer;
    QString err;
    QVERIFY2(CImageFile::Open(image, kIdA, trailer, err), qPrintable(err));
    QCOMPARE(CImageBuilder::CRCText(trailer.m_nCRC), crc);
    QCOMPARE(image.mid(0x1000, 4), QByteArray("\x00\x01\x02\x03", 4));
    QCOMPARE(image.mid(3000, 16), QByteArray(16, '\xFF'));
    // The simulator checked what it received and would burn it.
    QVERIFY2(sim.WaitFor(QStringLiteral("image 3 app.img: accepted crc=%1").arg(crc)), qPrintable(sim.Output()));

    // The settings keep what was built.
    CPubActions ini(true);
    QCOMPARE(ini.GetInt(QStringLiteral("IMAGE"), QStringLiteral("INDEX"), -1, ServerDefs::IniFile()), 3);
    QCOMPARE(ini.GetString(QStringLiteral("IMAGE"), QStringLiteral("CRC"), QString(), ServerDefs::IniFile()), crc);
    QCOMPARE(ini.GetString(QStringLiteral("IMAGE"), QStringLiteral("ADDR"), QString(), ServerDefs::IniFile()),
             QStringLiteral("0x08000000"));
    QCOMPARE(BinTreeWidget::FromDesc(ini.GetString(QStringLiteral("BIN"), QStringLiteral("3"), QString(), ServerDefs::IniFile())).size(), 2);
    QVERIFY(QFile::exists(ServerDefs::WorkDir() + "history/images.log"));
}

void TestImageWindow::imageForAnotherProgrammerIsRejected()
{
    ProgSim sim(Dir("SIM_A"), kIdA, QStringLiteral("QEL720A"));
    QVERIFY2(sim.WaitReady(), qPrintable(sim.Output()));
    UsePrograms({"SIM_A"});
    Boxes boxes;
    MainWindow w;
    FillPanel(w, QStringLiteral("4"), QStringLiteral("other"), true, QStringLiteral("0"));
    // Exported for programmer B, then stored on programmer A.
    CExportPrompt::SetResponders([](const QString &, QString &id) { id = kIdB; return true; },
                                 [this](const QString &, const QString &) { return Dir("out"); });
    QAction *exportAction = w.findChild<QAction *>(QStringLiteral("actionexportimage"));
    exportAction->trigger();
    QVERIFY2(w.LogText().contains("导出镜像成功!"), qPrintable(w.LogText()));
    BurnHub::Instance()->SetProgRoot(Dir("SIM_A") + "/");
    QString err;
    QVERIFY(BurnHub::Instance()->DownImageFile(4, Dir("out/other.img"), QStringLiteral("other.img"), err));

    QVERIFY2(sim.WaitFor(QStringLiteral("image 4 other.img: rejected")), qPrintable(sim.Output()));
    QVERIFY(!sim.Output().contains(QStringLiteral("image 4 other.img: accepted")));
}

void TestImageWindow::refusalsLeaveNoImage()
{
    MakeProger(Dir("A"));
    UsePrograms({"A"});
    Boxes boxes;
    MainWindow w;
    auto click = [&w]() { QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("btn_downimage")), Qt::LeftButton); };

    // Nothing selected.
    FillPanel(w, QStringLiteral("3"), QStringLiteral("app"), false, QStringLiteral("0"));
    click();
    QVERIFY(boxes.Shown(QStringLiteral("提示|下载器未选择!")));
    List(w)->topLevelItem(0)->setCheckState(0, Qt::Checked);

    // A limit without encryption: refused before anything is built.
    FillPanel(w, QStringLiteral("3"), QStringLiteral("app"), false, QStringLiteral("5"));
    click();
    // One box with the reason, and the same reason in the log.
    int before = boxes.shown.size();
    click();
    QCOMPARE(boxes.shown.size(), before + 2); // the question, then the reason
    QCOMPARE(boxes.shown.last().second, QStringLiteral("错误|要有效限制下载次数，请选择加密镜像!"));
    QVERIFY(w.LogText().contains(QStringLiteral("要有效限制下载次数，请选择加密镜像!")));

    // A number above the range is refused as typed, not made the largest one.
    FillPanel(w, QStringLiteral("200"), QStringLiteral("app"), false, QStringLiteral("0"));
    Combo(w, "combo_index")->lineEdit()->setFocus();
    Tree(w)->setFocus();
    click();
    QVERIFY(boxes.Shown(QStringLiteral("提示|镜像号超出范围，支持[0,199]")));
    QCOMPARE(Combo(w, "combo_index")->currentText(), QStringLiteral("200"));

    // Empty and overlapping programs are refused with the file named.
    FillPanel(w, QStringLiteral("3"), QStringLiteral("app"), false, QStringLiteral("0"));
    QVERIFY(FuncTool::WriteFile(Dir("empty.bin"), QByteArray()));
    Tree(w)->SetBinInfos({{QStringLiteral("0x0"), Dir("empty.bin")}});
    click();
    QVERIFY(boxes.Shown(QStringLiteral("程序文件为空:") + Dir("empty.bin")));
    Tree(w)->SetBinInfos({{QStringLiteral("0x08000000"), Dir("app.bin")}, {QStringLiteral("0x08000100"), Dir("data.hex")}});
    click();
    QVERIFY(boxes.Shown(QStringLiteral("程序地址重叠: %1 与 %2").arg(Dir("data.hex"), Dir("app.bin"))));
    // A bad HEX file names its line.
    QVERIFY(FuncTool::WriteFile(Dir("bad.hex"), QByteArray(":10000000000102030405060708090A0B0C0D0E0F78\n:0400100001020304FF\n:00000001FF\n")));
    Tree(w)->SetBinInfos({{QStringLiteral("0x0"), Dir("bad.hex")}});
    click();
    QVERIFY(boxes.Shown(QStringLiteral("HEX文件转换出错，校验错误 (第2行)")));
    QVERIFY(w.LogText().contains(QStringLiteral("HEX文件转换出错，校验错误 (第2行)")));

    // Numbers by model and encryption.
    FillPanel(w, QStringLiteral("50"), QStringLiteral("app"), true, QStringLiteral("0"));
    click();
    QVERIFY(boxes.Shown(QStringLiteral("镜像号设置失败，原因为:镜像号错误，当前下载器支持最大镜像号为:49!(加密镜像)")));
    FillPanel(w, QStringLiteral("150"), QStringLiteral("app"), false, QStringLiteral("0"));
    click();
    QVERIFY(boxes.Shown(QStringLiteral("镜像号设置失败，原因为:镜像号错误，当前下载器支持最大镜像号为:149!(非加密镜像)")));

    // Names: "=" (set by a program, the validator only stops typing) and 65 bytes.
    FillPanel(w, QStringLiteral("3"), QStringLiteral("a=b"), false, QStringLiteral("0"));
    click();
    QVERIFY(boxes.Shown(QStringLiteral("镜像名称不能包含等号(=)")));
    FillPanel(w, QStringLiteral("3"), QString(32, QChar(0x955C)) + "x", false, QStringLiteral("0"));
    click();
    QVERIFY(boxes.Shown(QStringLiteral("镜像名称不能大于64字节!")));

    // A program that cannot be read.
    FillPanel(w, QStringLiteral("3"), QStringLiteral("app"), false, QStringLiteral("0"));
    Tree(w)->SetBinInfos({{QStringLiteral("0x0"), Dir("missing.bin")}});
    click();
    QVERIFY(boxes.Shown(QStringLiteral("程序文件读取错误")));

    QVERIFY(!QFile::exists(ServerDefs::WorkDir() + "app.img"));
    QVERIFY(!QFile::exists(ServerDefs::WorkDir() + "history/images.log"));
    QVERIFY(!QFile::exists(Dir("A/procs/app.img")));
    QVERIFY(!w.LogText().contains("下载镜像："));

    // Limit 0 without encryption goes through, with a 64-byte name.
    const QString name64 = QString(32, QChar(0x955C));
    FillPanel(w, QStringLiteral("149"), name64, false, QStringLiteral("0"));
    click();
    QVERIFY2(w.LogText().contains(QStringLiteral("下载镜像：镜像号=149，镜像名称=%1.img 成功").arg(name64)), qPrintable(w.LogText()));
    QVERIFY(QFile::exists(Dir("A/procs/") + name64 + ".img"));
}

void TestImageWindow::crcFieldFollowsTheList()
{
    UsePrograms({});
    Boxes boxes;
    MainWindow w;
    QLineEdit *crc = Edit(w, "edit_imagecrc");
    Tree(w)->DeleteAll();
    Tree(w)->AddBinInfo(QStringLiteral("0x08000000"), Dir("app.bin"));
    const QString one = crc->text();
    QVERIFY(one.startsWith("0x"));
    Tree(w)->AddBinInfo(QStringLiteral("0x08001000"), Dir("data.hex"));
    const QString two = crc->text();
    QVERIFY(two.startsWith("0x"));
    QVERIFY(two != one);
    // Removing the second program brings the first CRC back.
    Tree(w)->DeleteCurrent();
    QCOMPARE(crc->text(), one);
    // Editing an address reaches the field as well.
    Tree(w)->AddBinInfo(QStringLiteral("0x08001000"), Dir("data.hex"));
    QCOMPARE(crc->text(), two);
    Tree(w)->topLevelItem(1)->setText(0, QStringLiteral("0x08002000"));
    QVERIFY(crc->text() != two);
    QVERIFY(crc->text() != one);
    // A file that cannot be read, or no program at all: no CRC is shown.
    Tree(w)->topLevelItem(1)->setText(1, Dir("gone.bin"));
    QVERIFY(crc->text().isEmpty());
    Tree(w)->topLevelItem(1)->setText(1, Dir("data.hex"));
    QVERIFY(!crc->text().isEmpty());
    Tree(w)->DeleteAll();
    QVERIFY(crc->text().isEmpty());
}

void TestImageWindow::panelQuestionsAndHexAddress()
{
    MakeProger(Dir("A"));
    UsePrograms({"A"});
    Boxes boxes;
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    List(w)->topLevelItem(0)->setCheckState(0, Qt::Checked);
    FillPanel(w, QStringLiteral("3"), QStringLiteral("app"), false, QStringLiteral("0"));

    // The button asks before it changes the programmer; "no" builds nothing.
    boxes.answer = QMessageBox::No;
    QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("btn_downimage")), Qt::LeftButton);
    QVERIFY(boxes.Shown(QStringLiteral("提示|下发镜像将修改下载器的镜像配置，是否继续?")));
    QVERIFY(!QFile::exists(ServerDefs::WorkDir() + "app.img"));
    // Removing all programs asks too.
    QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("btn_delall")), Qt::LeftButton);
    QVERIFY(boxes.Shown(QStringLiteral("提示|删除全部程序条目，是否继续?")));
    QCOMPARE(Tree(w)->topLevelItemCount(), 2);
    boxes.answer = QMessageBox::Yes;
    QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("btn_delall")), Qt::LeftButton);
    QCOMPARE(Tree(w)->topLevelItemCount(), 0);

    // A HEX file chosen for a row brings its own address; moved elsewhere, the build says so.
    QVERIFY(FuncTool::WriteFile(Dir("fw.hex"), QByteArray(":04100000DEADBEEFB4\n:00000001FF\n")));
    BinTreeWidget::SetFileChooser([this](const QString &) { return Dir("fw.hex"); });
    QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("btn_add")), Qt::LeftButton);
    BinTreeWidget *tree = Tree(w);
    const QRect row = tree->visualItemRect(tree->topLevelItem(0));
    const QPoint pathCell(tree->columnWidth(0) + 20, row.center().y());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, pathCell);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, pathCell);
    BinTreeWidget::SetFileChooser({});
    QCOMPARE(tree->GetBinInfos(), (QList<BinInfo>{{QStringLiteral("0x00001000"), Dir("fw.hex")}}));
    QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("btn_downimage")), Qt::LeftButton);
    QVERIFY(!w.LogText().contains(QStringLiteral("HEX文件的起始地址")));
    tree->SetAddr(0, QStringLiteral("0x08000000"));
    QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("btn_downimage")), Qt::LeftButton);
    QVERIFY2(w.LogText().contains(QStringLiteral("注意: %1 放在地址 0x08000000, 而HEX文件的起始地址为 0x00001000").arg(Dir("fw.hex"))),
             qPrintable(w.LogText()));
}

void TestImageWindow::exportAsksForIDAndFolder()
{
    UsePrograms({});
    Boxes boxes;
    MainWindow w;
    FillPanel(w, QStringLiteral("60"), QStringLiteral("exp"), false, QStringLiteral("9"));
    QAction *exportAction = w.findChild<QAction *>(QStringLiteral("actionexportimage"));

    QStringList typed{QStringLiteral("not an id"), QStringLiteral("abcd")};
    QStringList asked;
    QString startFolder;
    CExportPrompt::SetResponders(
        [&](const QString &label, QString &id) {
            asked << label + QLatin1Char('=') + id;
            id = typed.size() > 1 ? typed.takeFirst() : typed.first();
            return true;
        },
        [&](const QString &title, const QString &start) {
            asked << title;
            startFolder = start;
            return Dir("out");
        });
    // A wrong ID is refused and asked again before the folder.
    exportAction->trigger();
    QVERIFY(boxes.Shown(QStringLiteral("ID输入错误!")));
    QCOMPARE(asked.size(), 3);
    QVERIFY(asked.first().startsWith(QStringLiteral("请输入或者确认下载器ID以进行导出加密镜像=")));
    QCOMPARE(asked.at(1), QStringLiteral("请输入或者确认下载器ID以进行导出加密镜像=not an id"));

    // A short ID is made up to 24 digits; the image is encrypted whatever the panel says.
    QVERIFY2(w.LogText().contains(QStringLiteral("导出镜像成功! ") + Dir("out/exp.img")), qPrintable(w.LogText()));
    QCOMPARE(asked.last(), QStringLiteral("选择镜像文件的导出位置"));
    QByteArray image = FuncTool::ReadFile(Dir("out/exp.img"));
    QVERIFY(CImageFile::IsEncrypted(image));
    CImageTrailer trailer;
    QString err;
    QVERIFY2(CImageFile::Open(image, QStringLiteral("00000000000000000000ABCD"), trailer, err), qPrintable(err));
    QCOMPARE(trailer.m_nLimit, 9u);

    // The next export proposes the last ID and folder.
    exportAction->trigger();
    QVERIFY(asked.contains(QStringLiteral("请输入或者确认下载器ID以进行导出加密镜像=abcd")));
    QCOMPARE(startFolder, Dir("out"));
    CPubActions ini(true);
    QCOMPARE(ini.GetString(QStringLiteral("IMAGE"), QStringLiteral("EXPORT_PATH"), QString(), ServerDefs::IniFile()), Dir("out"));

    // Cancelled questions export nothing.
    QFile::remove(Dir("out/exp.img"));
    CExportPrompt::SetResponders([](const QString &, QString &) { return false; }, {});
    exportAction->trigger();
    CExportPrompt::SetResponders([](const QString &, QString &id) { id = kIdA; return true; },
                                 [](const QString &, const QString &) { return QString(); });
    exportAction->trigger();
    QVERIFY(!QFile::exists(Dir("out/exp.img")));

    // A folder that cannot be written: the export says it failed.
    QVERIFY(FuncTool::WriteFile(Dir("blocker"), QByteArray("x")));
    CExportPrompt::SetResponders([](const QString &, QString &id) { id = kIdA; return true; },
                                 [this](const QString &, const QString &) { return Dir("blocker"); });
    exportAction->trigger();
    QVERIFY(w.LogText().contains(QStringLiteral("导出镜像失败 ") + Dir("blocker/exp.img")));
}

void TestImageWindow::exportDialogStartsWithTheTickedID()
{
    MakeProger(Dir("A"));
    UsePrograms({"A"});
    Boxes boxes;
    MainWindow w;
    FillPanel(w, QStringLiteral("3"), QStringLiteral("exp"), false, QStringLiteral("0"));
    List(w)->topLevelItem(0)->setCheckState(0, Qt::Checked);
    CExportPrompt::SetResponders({}, [this](const QString &, const QString &) { return Dir("out"); });
    // The real dialog: it offers the ticked programmer's ID, stays open on a
    // malformed one, and takes the corrected one.
    QString offered;
    bool stayedOpen = false;
    auto *timer = new QTimer(&w);
    timer->setInterval(20);
    connect(timer, &QTimer::timeout, [&]() {
        auto *dlg = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
        if (!dlg)
            return;
        timer->stop();
        offered = dlg->textValue();
        dlg->setTextValue(QStringLiteral("12-34"));
        dlg->accept();
        stayedOpen = dlg->isVisible();
        dlg->setTextValue(kIdB);
        dlg->accept();
    });
    timer->start();
    w.findChild<QAction *>(QStringLiteral("actionexportimage"))->trigger();
    QCOMPARE(offered, kIdA);
    QVERIFY(stayedOpen);
    QVERIFY(boxes.Shown(QStringLiteral("提示|ID输入错误!")));
    QByteArray image = FuncTool::ReadFile(Dir("out/exp.img"));
    CImageTrailer trailer;
    QString err;
    QVERIFY2(CImageFile::Open(image, kIdB, trailer, err), qPrintable(err));
}

void TestImageWindow::remoteProgrammerGetsFileAttrib()
{
    UsePrograms({});
    Boxes boxes;
    MainWindow w;
    CServerHost host(&w);
    CLinkTcpS server;
    host.m_links.pTcpServer = &server;
    QVERIFY(server.StartServer(QStringLiteral("127.0.0.1"), 0, true, nullptr));
    Station station;
    QVERIFY(station.Connect(server.ListenPort()));
    QTRY_COMPARE(station.Received(QStringLiteral("prog-request")).size(), 1);
    station.Send({{"cmd", "prog-response"}, {"path", "E:/"}, {"id", kIdA}, {"model", "QEL720A"}, {"ver", "V2.1.5"}});
    QTRY_COMPARE(List(w)->topLevelItemCount(), 1);
    QTRY_COMPARE(List(w)->topLevelItem(0)->text(1), kIdA);
    List(w)->topLevelItem(0)->setCheckState(0, Qt::Checked);

    // The configuration: announced as "param.ini", then pulled whole.
    QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("btn_downconfig")), Qt::LeftButton);
    QVERIFY(boxes.Shown(QStringLiteral("下发镜像将修改下载器的参数配置，是否继续?")));
    QTRY_COMPARE(station.Received(QStringLiteral("file-attrib")).size(), 1);
    const QByteArray param = FuncTool::ReadFile(ServerDefs::WorkDir() + "param.ini");
    QVERIFY(param.contains("contInterval="));
    QJsonObject attrib = station.Received(QStringLiteral("file-attrib")).first();
    QCOMPARE(attrib.value("name").toString(), QStringLiteral("param.ini"));
    QCOMPARE(attrib.value("size").toInt(), param.size());
    QVERIFY(QDateTime::fromString(attrib.value("date").toString(), QStringLiteral("yyyy/MM/dd hh:mm:ss.zzz")).isValid());
    QCOMPARE(station.Pull(QStringLiteral("param.ini"), 0), param);

    // An image: built for the remote programmer's ID and announced under its number.
    FillPanel(w, QStringLiteral("7"), QStringLiteral("remote"), true, QStringLiteral("2"));
    w.on_btn_downimage_clicked(false);
    QTRY_COMPARE(station.Received(QStringLiteral("file-attrib")).size(), 2);
    attrib = station.Received(QStringLiteral("file-attrib")).last();
    QCOMPARE(attrib.value("name").toString(), QStringLiteral("remote.img"));
    QCOMPARE(attrib.value("image-index").toInt(), 7);
    QCOMPARE(attrib.value("size").toInt(), 0x1010 + 68);
    QByteArray image = station.Pull(QStringLiteral("remote.img"), 7);
    QCOMPARE(image.size(), 0x1010 + 68);
    CImageTrailer trailer;
    QString err;
    QVERIFY2(CImageFile::Open(image, kIdA, trailer, err), qPrintable(err));
    QCOMPARE(trailer.m_nLimit, 2u);

    // Without a link the announcement cannot go out, and the log says so.
    host.m_links.pTcpServer = nullptr;
    w.on_btn_downimage_clicked(false);
    QVERIFY(w.LogText().contains(QStringLiteral("远程下载器连接不可用")));
    server.CloseServer();
}

void TestImageWindow::vcpProgrammerGetsImageAndConfig()
{
    UsePrograms({});
    const QString link = Dir("vcp0");
    qputenv("QEL_VCP_PORTS", link.toLocal8Bit());
    ProgSim sim({QStringLiteral("--vcp"), QStringLiteral("--link"), link, QStringLiteral("--id"), kIdA,
                 QStringLiteral("--dir"), Dir("VCP")});
    QVERIFY2(sim.WaitReady(), qPrintable(sim.Output()));
    Boxes boxes;
    MainWindow w;
    CServerHost host(&w);
    // The console pulls the programmer's files, then the window lists it.
    QTRY_VERIFY_WITH_TIMEOUT(List(w)->topLevelItemCount() == 1, 30000);
    CUsbConsole *console = w.UsbManager()->Console();
    QTRY_VERIFY_WITH_TIMEOUT(console->Find(link) && console->Find(link)->m_bInit, 30000);
    const MyProger *row = w.Programmers().At(0);
    QVERIFY(row->m_bVCP);
    QCOMPARE(row->m_strRoot, link);
    List(w)->topLevelItem(0)->setCheckState(0, Qt::Checked);

    // Encrypted with the programmer's own ID, although it is listed under its console name.
    FillPanel(w, QStringLiteral("3"), QStringLiteral("app"), true, QStringLiteral("5"));
    w.on_btn_downimage_clicked(false);
    QVERIFY(w.LogText().contains("正在下发镜像数据, 请勿断开连接"));
    const QString crc = Edit(w, "edit_imagecrc")->text();
    QTRY_VERIFY2_WITH_TIMEOUT(sim.Output().contains(QStringLiteral("image 3 app.img: accepted crc=%1").arg(crc)),
                              qPrintable(sim.Output()), 30000);
    QVERIFY(sim.Output().contains("limit=5"));

    // The configuration goes the same way.
    QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("btn_downconfig")), Qt::LeftButton);
    QTRY_VERIFY2_WITH_TIMEOUT(sim.Output().contains(QStringLiteral("received param.ini")), qPrintable(sim.Output()), 30000);
    qunsetenv("QEL_VCP_PORTS");
}

QEL_TEST_MAIN(TestImageWindow)
#include "tst_imagewindow.moc"
