// The program list of the image panel, its language switch, and the tray tip.
#include "bintreewidget.h"
#include "qeltest.h"
#include "traymessagedlg.h"
#include "widgetbay.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>

namespace {
// A person's double click: the first click, then the double click.
void DoubleClick(QWidget *viewport, const QPoint &pos)
{
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, pos);
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, pos);
}
} // namespace

class TestWidgetBay : public QObject
{
    Q_OBJECT
private slots:
    void entriesAndChanges();
    void pathCellOnlyThroughTheDialog();
    void descriptionRoundTrip();
    void badDescriptionsLoadNothing_data();
    void badDescriptionsLoadNothing();
    void parseAddr_data();
    void parseAddr();
    void languageSwitch();
    void trayTip();
};

void TestWidgetBay::entriesAndChanges()
{
    BinTreeWidget tree;
    QSignalSpy changed(&tree, &BinTreeWidget::sig_changed);
    tree.AddBinInfo(QStringLiteral("0x08000000"), QStringLiteral("/p/boot.bin"));
    tree.AddBinInfo(QStringLiteral("0x08004000"), QStringLiteral("/p/app.hex"));
    QCOMPARE(changed.size(), 2);
    QCOMPARE(tree.GetBinInfos(), (QList<BinInfo>{{"0x08000000", "/p/boot.bin"}, {"0x08004000", "/p/app.hex"}}));
    // Editing a cell is a change too.
    tree.topLevelItem(0)->setText(0, QStringLiteral("0x08001000"));
    QCOMPARE(changed.size(), 3);
    QCOMPARE(tree.GetBinInfos().first().m_strAddr, QStringLiteral("0x08001000"));
    tree.setCurrentItem(tree.topLevelItem(0));
    tree.DeleteCurrent();
    QCOMPARE(changed.size(), 4);
    QCOMPARE(tree.GetBinInfos(), (QList<BinInfo>{{"0x08004000", "/p/app.hex"}}));
    tree.DeleteAll();
    QCOMPARE(changed.size(), 5);
    QVERIFY(tree.GetBinInfos().isEmpty());
    // Nothing to delete: no change.
    tree.DeleteAll();
    tree.DeleteCurrent();
    QCOMPARE(changed.size(), 5);
}

void TestWidgetBay::pathCellOnlyThroughTheDialog()
{
    BinTreeWidget tree;
    tree.resize(500, 200);
    tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tree));
    tree.AddBinInfo(QStringLiteral("0x0000"), QStringLiteral("/tmp/fw/app.bin"));
    QString offered;
    BinTreeWidget::SetFileChooser([&offered](const QString &current) {
        offered = current;
        return QStringLiteral("/tmp/fw/badcrc.hex");
    });
    QSignalSpy chosen(&tree, &BinTreeWidget::sig_pathChosen);
    const QPoint path(tree.columnWidth(0) + 20, tree.visualItemRect(tree.topLevelItem(0)).center().y());
    DoubleClick(tree.viewport(), path);
    QCOMPARE(offered, QStringLiteral("/tmp/fw/app.bin"));
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.first().at(0).toInt(), 0);
    // No editor is left open: typing goes nowhere, a second double click asks again.
    QVERIFY(!tree.findChild<QLineEdit *>());
    QTest::keyClicks(tree.viewport(), QStringLiteral("/tmp/fw/"));
    DoubleClick(tree.viewport(), path);
    QCOMPARE(tree.GetBinInfos().first().m_strPath, QStringLiteral("/tmp/fw/badcrc.hex"));
    QCOMPARE(chosen.size(), 2);
    // A cancelled dialog keeps the path.
    BinTreeWidget::SetFileChooser([](const QString &) { return QString(); });
    DoubleClick(tree.viewport(), path);
    QCOMPARE(tree.GetBinInfos().first().m_strPath, QStringLiteral("/tmp/fw/badcrc.hex"));
    BinTreeWidget::SetFileChooser({});

    // The address is edited in place; the owner may also set it.
    const QPoint addr = tree.visualItemRect(tree.topLevelItem(0)).topLeft() + QPoint(10, 5);
    DoubleClick(tree.viewport(), addr);
    auto *editor = tree.findChild<QLineEdit *>();
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("0x1000"));
    QTest::keyClick(editor, Qt::Key_Return);
    // The editor commits on its next turn of the event loop.
    QTRY_COMPARE(tree.GetBinInfos().first().m_strAddr, QStringLiteral("0x1000"));
    tree.SetAddr(0, QStringLiteral("0x2000"));
    QCOMPARE(tree.GetBinInfos().first().m_strAddr, QStringLiteral("0x2000"));
}

void TestWidgetBay::descriptionRoundTrip()
{
    BinTreeWidget tree;
    tree.AddBinInfo(QStringLiteral("0x0000"), QStringLiteral("/固件/a,b;\"c\".bin"));
    tree.AddBinInfo(QStringLiteral("0x0010"), QString());
    const QString desc = tree.GetBinInfosDesc();
    BinTreeWidget other;
    QSignalSpy changed(&other, &BinTreeWidget::sig_changed);
    other.SetBinInfosDesc(desc);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(other.GetBinInfos(), tree.GetBinInfos());
    QCOMPARE(BinTreeWidget::FromDesc(BinTreeWidget::ToDesc(tree.GetBinInfos())), tree.GetBinInfos());
}

void TestWidgetBay::badDescriptionsLoadNothing_data()
{
    QTest::addColumn<QString>("desc");
    QTest::addColumn<int>("entries");
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("not json") << "0x0000,/a.bin" << 0;
    QTest::newRow("object") << R"({"a":1})" << 0;
    QTest::newRow("short row") << R"([["0x0000"]])" << 0;
    QTest::newRow("numbers") << R"([[0,1]])" << 0;
    QTest::newRow("one good of three") << R"([["0x0000","/a.bin"],[1],"x"])" << 1;
}

void TestWidgetBay::badDescriptionsLoadNothing()
{
    QFETCH(QString, desc);
    QFETCH(int, entries);
    BinTreeWidget tree;
    tree.AddBinInfo(QStringLiteral("0x0000"), QStringLiteral("/old.bin"));
    tree.SetBinInfosDesc(desc);
    QCOMPARE(tree.GetBinInfos().size(), entries);
}

void TestWidgetBay::parseAddr_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<quint32>("value");
    QTest::newRow("0x") << "0x08000000" << true << 0x08000000u;
    QTest::newRow("bare hex") << "8000" << true << 0x8000u;
    QTest::newRow("max") << "0xFFFFFFFF" << true << 0xFFFFFFFFu;
    QTest::newRow("too big") << "0x100000000" << false << 0u;
    QTest::newRow("empty") << "" << false << 0u;
    QTest::newRow("junk") << "0xZZ" << false << 0u;
}

void TestWidgetBay::parseAddr()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(quint32, value);
    quint32 addr = 0;
    QCOMPARE(BinTreeWidget::ParseAddr(text, addr), ok);
    if (ok)
        QCOMPARE(addr, value);
}

void TestWidgetBay::languageSwitch()
{
    BinTreeWidget tree;
    QCOMPARE(tree.headerItem()->text(0), QStringLiteral("起始地址"));
    QVERIFY(WidgetBay::LoadLanguage(true));
    // The language change reaches the widgets as a posted event.
    QTRY_COMPARE(tree.headerItem()->text(0), QStringLiteral("Start address"));
    QCOMPARE(tree.headerItem()->text(1), QStringLiteral("File path"));
    QVERIFY(WidgetBay::LoadLanguage(false));
    QTRY_COMPARE(tree.headerItem()->text(0), QStringLiteral("起始地址"));
}

void TestWidgetBay::trayTip()
{
    TrayMessageDlg *first = TrayMessageDlg::showTip(QStringLiteral("在线更新"), QStringLiteral("a < b\nnext"), 0);
    QCOMPARE(TrayMessageDlg::current(), first);
    QCOMPARE(first->title(), QStringLiteral("在线更新"));
    // Plain text keeps its line breaks and shows "<" as it is.
    QCOMPARE(first->text(), QStringLiteral("a &lt; b<br>next"));
    QPointer<TrayMessageDlg> old(first);
    TrayMessageDlg *second = TrayMessageDlg::showTip(QStringLiteral("t"), QStringLiteral("<a href=\"http://x\">x</a>"), 0);
    QCOMPARE(TrayMessageDlg::current(), second);
    QTRY_VERIFY(!old); // the one replaced is gone
    QCOMPARE(second->text(), QStringLiteral("<a href=\"http://x\">x</a>"));
    // Told it is plain text, markup is shown as it is.
    TrayMessageDlg *plain = TrayMessageDlg::showTip(QStringLiteral("t"), QStringLiteral("<b>x</b>"), 0, Qt::PlainText);
    QCOMPARE(plain->text(), QStringLiteral("&lt;b&gt;x&lt;/b&gt;"));
    second = plain;
    QTest::mouseClick(second, Qt::LeftButton);
    QTRY_VERIFY(!TrayMessageDlg::current());
}

QEL_TEST_MAIN(TestWidgetBay)
#include "tst_widgetbay.moc"
