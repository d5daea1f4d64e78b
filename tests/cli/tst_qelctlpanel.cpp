// qelctl image build against the server's image panel, offscreen: the same
// programs and fields give the same image, byte for byte once both carry the
// same build time, and image info reads back what the panel put in.
#include "bintreewidget.h"
#include "burnhub.h"
#include "cmessagebox.h"
#include "cpubactions.h"
#include "functool.h"
#include "imagefile.h"
#include "mainwindow.h"
#include "progsimprocess.h"
#include "qelctlprocess.h"
#include "serverdefs.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>

namespace {
const QString kId = QStringLiteral("3F0027000B51353235383233");

struct Case
{
    bool encrypt;
    QString limit;
    int chip; // combo index, data 0..8
    QString version;
};
} // namespace

class TestQelctlPanel : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void buildMatchesThePanel_data();
    void buildMatchesThePanel();

private:
    QString Dir(const QString &name) const { return m_dir->path() + QLatin1Char('/') + name; }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestQelctlPanel::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    CPubActions(false).WriteString(QStringLiteral("UPDATE"), QStringLiteral("URL"), QStringLiteral("http://127.0.0.1:1/qel.json"),
                                   ServerDefs::IniFile());
    QByteArray program;
    for (int i = 0; i < 3001; ++i)
        program.append(char(i * 13 + 5));
    QVERIFY(FuncTool::WriteFile(Dir("app.bin"), program));
    QVERIFY(FuncTool::WriteFile(Dir("data.hex"), QByteArray(":10000000000102030405060708090A0B0C0D0E0F78\n:00000001FF\n")));
}

void TestQelctlPanel::cleanup()
{
    qunsetenv("QEL_PROG_DIRS");
    CMessageBox::SetResponder({});
    BurnHub::Exitance();
    QDir(ServerDefs::WorkDir()).removeRecursively();
    m_dir.reset();
}

void TestQelctlPanel::buildMatchesThePanel_data()
{
    QTest::addColumn<bool>("encrypt");
    QTest::addColumn<QString>("limit");
    QTest::addColumn<int>("chip");
    QTest::addColumn<QString>("version");
    QTest::newRow("plain") << false << QStringLiteral("0") << 2 << QStringLiteral("7");
    QTest::newRow("encrypted with a limit") << true << QStringLiteral("5") << 8 << QStringLiteral("12");
}

void TestQelctlPanel::buildMatchesThePanel()
{
    QFETCH(bool, encrypt);
    QFETCH(QString, limit);
    QFETCH(int, chip);
    QFETCH(QString, version);

    // The panel builds for the programmer it downloads to.
    ProgSim sim(Dir("SIM"), kId, QStringLiteral("QEL720A"));
    QVERIFY2(sim.WaitReady(), qPrintable(sim.Output()));
    qputenv("QEL_PROG_DIRS", Dir("SIM").toLocal8Bit());
    CMessageBox::SetResponder([](CMessageBox::Kind, const QString &, const QString &) { return QMessageBox::Yes; });
    MainWindow w;
    auto *list = w.findChild<QTreeWidget *>(QStringLiteral("lv_prog"));
    QCOMPARE(list->topLevelItemCount(), 1);
    list->topLevelItem(0)->setCheckState(0, Qt::Checked);
    w.findChild<BinTreeWidget *>(QStringLiteral("treeBin"))
        ->SetBinInfos({{QStringLiteral("0x08000000"), Dir("app.bin")}, {QStringLiteral("0x08001000"), Dir("data.hex")}});
    w.findChild<QComboBox *>(QStringLiteral("combo_index"))->setEditText(QStringLiteral("7"));
    w.findChild<QLineEdit *>(QStringLiteral("edit_name"))->setText(QStringLiteral("fw"));
    w.findChild<QComboBox *>(QStringLiteral("combo_aes"))->setCurrentIndex(encrypt ? 1 : 0);
    w.findChild<QComboBox *>(QStringLiteral("combo_chip"))->setCurrentIndex(chip);
    w.findChild<QLineEdit *>(QStringLiteral("edit_count"))->setText(limit);
    w.findChild<QLineEdit *>(QStringLiteral("edit_ver"))->setText(version);
    w.on_btn_downimage_clicked(true);
    QByteArray panel = FuncTool::ReadFile(ServerDefs::WorkDir() + QStringLiteral("fw.img"));
    QVERIFY2(!panel.isEmpty(), qPrintable(w.LogText()));
    QCOMPARE(FuncTool::ReadFile(Dir("SIM/procs/fw.img")), panel);

    // The same inputs on the command line; the HEX file goes at its own
    // address only when asked, so both get theirs.
    QStringList args{QStringLiteral("image"), QStringLiteral("build"),
                     QStringLiteral("--program"), QStringLiteral("0x08000000:") + Dir("app.bin"),
                     QStringLiteral("--program"), QStringLiteral("0x08001000:") + Dir("data.hex"),
                     QStringLiteral("--name"), QStringLiteral("fw"), QStringLiteral("--number"), QStringLiteral("7"),
                     QStringLiteral("--mcu"), QString::number(chip + 1), QStringLiteral("--limit"), limit,
                     QStringLiteral("--version"), version, QStringLiteral("-o"), Dir("out/"), QStringLiteral("--json")};
    if (encrypt)
        args << QStringLiteral("--encrypt-for") << kId;
    QDir().mkpath(Dir("out"));
    const QelctlRun build = runQelctl(args);
    QVERIFY2(build.status == 0, qPrintable(build.err));
    QCOMPARE(build.Json().value(QStringLiteral("name")).toString(), QStringLiteral("fw.img"));
    QCOMPARE(build.Json().value(QStringLiteral("number")).toInt(), 7);
    QByteArray cli = FuncTool::ReadFile(Dir("out/fw.img"));
    QCOMPARE(cli.size(), panel.size());
    QCOMPARE(CImageFile::IsEncrypted(cli), encrypt);

    // image info reads the command line's image as the panel built it.
    QStringList infoArgs{QStringLiteral("image"), QStringLiteral("info"), Dir("out/fw.img"), QStringLiteral("--json")};
    if (encrypt)
        infoArgs << QStringLiteral("--id") << kId;
    const QelctlRun info = runQelctl(infoArgs);
    QVERIFY2(info.status == 0, qPrintable(info.err));
    CImageTrailer t;
    QString err;
    QVERIFY2(CImageFile::Open(panel, encrypt ? kId : QString(), t, err), qPrintable(err));
    const QJsonObject doc = info.Json();
    QCOMPARE(doc.value(QStringLiteral("crc")).toString(), CImageBuilder::CRCText(t.m_nCRC));
    QCOMPARE(doc.value(QStringLiteral("firstCrc")).toString(), CImageBuilder::CRCText(t.m_nFirstCRC));
    QCOMPARE(doc.value(QStringLiteral("startAddress")).toString(), CImageBuilder::CRCText(t.m_nStartAddr));
    QCOMPARE(doc.value(QStringLiteral("limit")).toInt(), int(t.m_nLimit));
    QCOMPARE(doc.value(QStringLiteral("version")).toInt(), int(t.m_nVersion));
    QCOMPARE(doc.value(QStringLiteral("mcu")).toString(), CImageBuilder::ChipName(int(t.m_nChip)));

    // Byte for byte, once both carry the panel's build time.
    CImageTrailer c;
    QVERIFY2(CImageFile::Open(cli, encrypt ? kId : QString(), c, err), qPrintable(err));
    QVERIFY(CImageFile::Restamp(cli, t.m_nTime));
    QVERIFY(CImageFile::Restamp(panel, t.m_nTime));
    QCOMPARE(cli, panel);
}

QTEST_MAIN(TestQelctlPanel)
#include "tst_qelctlpanel.moc"
