// The server's rules without a window: programmer list, test-mode keys,
// password, image name, log file, image-panel settings.
#include "cimagesettings.h"
#include "ckeysequence.h"
#include "clogfile.h"
#include "cnamevalidator.h"
#include "cpasswordrule.h"
#include "cprogerlist.h"
#include "ctooltext.h"
#include "functool.h"
#include "qeltest.h"

#include <QSignalSpy>
#include <QTemporaryDir>

class TestServerRules : public QObject
{
    Q_OBJECT
private slots:
    void selectedIsFirstTickedRow();
    void remoteRoutes();
    void diskChangesKeepRows();
    void firmCheckOncePerRelease();
    void toolTextWraps();
    void keySequence();
    void password_data();
    void password();
    void imageName_data();
    void imageName();
    void logFile();
    void imageSettingsRoundTrip();
};

void TestServerRules::selectedIsFirstTickedRow()
{
    CProgerList list;
    QVERIFY(!list.Selected());
    MyProger *a = list.Append(MyProger(ProgerInfo("/a/", "A", "QEL720A", "V1")));
    MyProger *b = list.Append(MyProger(ProgerInfo("/b/", "B", "QEL720A", "V1")));
    MyProger *c = list.Append(MyProger::TcpRemote("10.0.0.1", 7000));
    QVERIFY(!list.IsChecked(a));
    list.SetChecked(c, true);
    list.SetChecked(b, true);
    QCOMPARE(list.Selected(), b);
    list.SetChecked(a, true);
    QCOMPARE(list.Selected(), a);
    QVERIFY(list.Remove(a));
    QCOMPARE(list.Selected(), b);
    QVERIFY(!list.Remove(a));
    QCOMPARE(list.Count(), 2);
    QCOMPARE(list.IndexOf(c), 1);
    QCOMPARE(list.Disks(), QList<MyProger *>{b});
    QVERIFY(!list.At(5));
}

void TestServerRules::diskChangesKeepRows()
{
    CProgerList list;
    MyProger *a = list.Append(MyProger(ProgerInfo("/a/", "A", "QEL720A", "V1")));
    MyProger *b = list.Append(MyProger(ProgerInfo("/b/", "B", "QEL720A", "V1")));
    list.Append(MyProger::TcpRemote("10.0.0.1", 7000));
    list.SetChecked(b, true);
    // b stays (with a new firmware), a went, c came, and /b/ holding another programmer is both.
    const CProgerList::DiskChanges changes =
        list.CompareDisks({ProgerInfo("/b/", "B", "QEL720A", "V2"), ProgerInfo("/c/", "C", "QEL720C", "V1")});
    QCOMPARE(changes.gone, QList<MyProger *>{a});
    QCOMPARE(changes.kept.size(), 1);
    QCOMPARE(changes.kept.first().first, b);
    QCOMPARE(changes.kept.first().second.m_strVer, QStringLiteral("V2"));
    QCOMPARE(changes.came.size(), 1);
    QCOMPARE(changes.came.first().m_strID, QStringLiteral("C"));
    const CProgerList::DiskChanges swapped = list.CompareDisks({ProgerInfo("/b/", "X", "QEL720A", "V1")});
    QCOMPARE(swapped.gone, (QList<MyProger *>{a, b}));
    QCOMPARE(swapped.came.first().m_strID, QStringLiteral("X"));
    QVERIFY(swapped.kept.isEmpty());
    QVERIFY(list.IsChecked(b));
}

void TestServerRules::firmCheckOncePerRelease()
{
    CFirmCheckMemo memo;
    QVERIFY(memo.FirstTime("A", "V1"));
    QVERIFY(!memo.FirstTime("A", "V1"));
    QVERIFY(memo.FirstTime("B", "V1"));
    QVERIFY(memo.FirstTime("A", "V2"));
    QVERIFY(!memo.FirstTime("A", "V2"));
}

void TestServerRules::toolTextWraps()
{
    QCOMPARE(CToolText::Wrap(QStringLiteral("Save log")), QStringLiteral("Save log"));
    QCOMPARE(CToolText::Wrap(QStringLiteral("Start remote service")), QStringLiteral("Start remote\nservice"));
    QCOMPARE(CToolText::Wrap(QStringLiteral("Host online control")), QStringLiteral("Host online\ncontrol"));
    // Chinese has no spaces and is short under its icon anyway.
    QCOMPARE(CToolText::Wrap(QStringLiteral("备份/恢复-下载器镜像")), QStringLiteral("备份/恢复-下载器镜像"));
}

void TestServerRules::remoteRoutes()
{
    CProgerList list;
    MyProger *tcp = list.Append(MyProger::TcpRemote("10.0.0.1", 7000));
    MyProger *mqtt = list.Append(MyProger::UidRemote(MyProger::ViaMqtt, "U1"));
    MyProger *nsq = list.Append(MyProger::UidRemote(MyProger::ViaNsq, "U1"));
    QCOMPARE(list.FindRemote(MyProger::TcpRemote("10.0.0.1", 7000)), tcp);
    QVERIFY(!list.FindRemote(MyProger::TcpRemote("10.0.0.1", 7001)));
    // The same UID over another broker is another programmer.
    QCOMPARE(list.FindRemote(MyProger::UidRemote(MyProger::ViaMqtt, "U1")), mqtt);
    QCOMPARE(list.FindRemote(MyProger::UidRemote(MyProger::ViaNsq, "U1")), nsq);
    QCOMPARE(tcp->m_nLinkState, int(MyProger::LinkRemote));
    QVERIFY(!tcp->IsDisk());
    // Local programmers are never found as remote ones.
    MyProger local(ProgerInfo("/a/", "A", "QEL720A", "V1"));
    QVERIFY(!local.SameRemote(local));
}

void TestServerRules::keySequence()
{
    const QList<int> seq = CKeySequence::TestModeKeys();
    QCOMPARE(seq.size(), 8);
    CKeySequence keys;
    // Junk first, then the sequence: only the last eight count.
    for (int k : {int(Qt::Key_Z), int(Qt::Key_Q), int(Qt::Key_Q)})
        QVERIFY(!keys.Feed(k));
    bool toggled = false;
    for (int i = 0; i < seq.size(); ++i) {
        toggled = keys.Feed(seq[i]);
        QCOMPARE(toggled, i == seq.size() - 1);
        QVERIFY(keys.LastKeys().size() <= 8);
    }
    // One more key right after cannot toggle again.
    QVERIFY(!keys.Feed(seq.last()));
    // A wrong key in the middle spoils it.
    for (int i = 0; i < seq.size(); ++i)
        QVERIFY(!keys.Feed(i == 3 ? int(Qt::Key_X) : seq[i]));
}

void TestServerRules::password_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("ok");
    QTest::newRow("zero removes it") << "0" << true;
    QTest::newRow("one digit") << "7" << true;
    QTest::newRow("nine digits") << "123456789" << true;
    QTest::newRow("ten digits") << "1234567890" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("letters") << "12a4" << false;
    QTest::newRow("sign") << "-12" << false;
    QTest::newRow("line break") << "123\n" << false;
    QTest::newRow("full-width digit") << QStringLiteral("１２") << false;
}

void TestServerRules::password()
{
    QFETCH(QString, password);
    QFETCH(bool, ok);
    QString err;
    QCOMPARE(CPasswordRule::Check(password, err), ok);
    QCOMPARE(err, ok ? QString() : QStringLiteral("当前版本只支持1~9位的用户密码设置"));
}

void TestServerRules::imageName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("ok");
    QTest::newRow("plain") << "app_v1.img" << true;
    QTest::newRow("chinese") << QStringLiteral("镜像 1.img") << true;
    QTest::newRow("empty") << "" << true;
    for (const QChar c : CNameValidator::Forbidden())
        QTest::newRow(qPrintable(QStringLiteral("char %1").arg(c))) << QStringLiteral("a%1b").arg(c) << false;
}

void TestServerRules::imageName()
{
    QFETCH(QString, name);
    QFETCH(bool, ok);
    CNameValidator validator;
    QSignalSpy refused(&validator, &CNameValidator::sigRefused);
    int pos = 0;
    QCOMPARE(validator.validate(name, pos), ok ? QValidator::Acceptable : QValidator::Invalid);
    QCOMPARE(refused.size(), ok ? 0 : 1);
    if (!ok)
        QCOMPARE(refused.first().first().toString(), QStringLiteral("特殊字符已被禁止输入"));
}

void TestServerRules::logFile()
{
    const QDateTime time(QDate(2024, 3, 9), QTime(7, 5, 4, 321));
    QCOMPARE(CLogFile::FileName(time), QStringLiteral("24-03-09-07.05.04_log.txt"));
    QCOMPARE(CLogFile::Line(time, QStringLiteral("本地下载器已刷新")), QStringLiteral("[2024-03-09 07:05:04.321] 本地下载器已刷新"));
    QTemporaryDir dir;
    QString path;
    QVERIFY(CLogFile::Save(dir.path() + "/", QStringLiteral("第一行\nline 2\n"), time, path));
    QCOMPARE(path, dir.path() + "/24-03-09-07.05.04_log.txt");
    QCOMPARE(QString::fromUtf8(FuncTool::ReadFile(path)), QStringLiteral("第一行\nline 2\n"));
    QVERIFY(!CLogFile::Save(dir.path() + "/missing/", QStringLiteral("x"), time, path));
}

void TestServerRules::imageSettingsRoundTrip()
{
    CImageSettings defaults;
    defaults.Load();
    QCOMPARE(defaults.nEncrypt, 0);
    QCOMPARE(defaults.nIndex, 0);
    QCOMPARE(defaults.strLimit, QStringLiteral("0"));
    QCOMPARE(defaults.nChip, 1);
    QCOMPARE(defaults.strAddr, QStringLiteral("0x0000"));
    QCOMPARE(defaults.strVersion, QStringLiteral("1"));
    QVERIFY(defaults.strName.isEmpty());

    CImageSettings s;
    s.nEncrypt = 1;
    s.strName = QStringLiteral("固件=?.img"); // stored as given; the name field decides what may be typed
    s.nIndex = 149;
    s.strLimit = QStringLiteral("5");
    s.nChip = 8;
    s.strAddr = QStringLiteral("0x08000000");
    s.strVersion = QStringLiteral("12");
    s.strCrc = QStringLiteral("0xDEADBEEF");
    s.Save();
    CImageSettings::SaveBinDesc(149, QStringLiteral("desc 149"));
    CImageSettings back;
    back.Load();
    QCOMPARE(back.nEncrypt, 1);
    QCOMPARE(back.strName, s.strName);
    QCOMPARE(back.nIndex, 149);
    QCOMPARE(back.strLimit, QStringLiteral("5"));
    QCOMPARE(back.nChip, 8);
    QCOMPARE(back.strAddr, s.strAddr);
    QCOMPARE(back.strVersion, s.strVersion);
    QCOMPARE(back.strCrc, s.strCrc);
    QCOMPARE(CImageSettings::LoadBinDesc(149), QStringLiteral("desc 149"));
    QVERIFY(CImageSettings::LoadBinDesc(148).isEmpty());
}

QEL_TEST_CORE_MAIN(TestServerRules)
#include "tst_serverrules.moc"
