// Files that are not what they seem (FIFOs, links out of the folder, huge
// files) and the bounded log view.
#include "fifoguard.h"
#include "qeltest.h"

#include <clogview.h>
#include <csafefile.h>
#include <functool.h>

#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>

class TestSafeFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString m_root;    // the folder meant
    QString m_outside; // a file that must never change
    const QByteArray m_secret = "outside, keep me";

private slots:
    void init()
    {
        QVERIFY(m_tmp.isValid());
        m_root = m_tmp.path() + "/root";
        QDir(m_root).removeRecursively();
        QVERIFY(QDir().mkpath(m_root + "/config"));
        m_outside = m_tmp.path() + "/outside.txt";
        QVERIFY(FuncTool::WriteFile(m_outside, m_secret));
    }

    void readsOnlyRegularFilesInside()
    {
        QVERIFY(FuncTool::WriteFile(m_root + "/config/a.ini", QByteArray("a=1")));
        QByteArray data;
        QString err;
        QVERIFY(CSafeFile::ReadAll(m_root + "/config/a.ini", m_root, data, err));
        QCOMPARE(data, QByteArray("a=1"));

        // A FIFO is refused at once instead of blocking open().
        FifoGuard fifo(m_root + "/config/fifo.ini");
        QVERIFY(fifo.Made());
        QVERIFY(!CSafeFile::ReadAll(m_root + "/config/fifo.ini", m_root, data, err));
        QVERIFY(!fifo.HadToRelease());
        QVERIFY2(err.contains("不是普通文件"), qPrintable(err));

        // Links: by where they lead, not by their name.
        QVERIFY(QFile::link(m_outside, m_root + "/config/out.ini"));
        QVERIFY(!CSafeFile::ReadAll(m_root + "/config/out.ini", m_root, data, err));
        QVERIFY2(err.contains("之外"), qPrintable(err));
        QVERIFY(QFile::link(m_root + "/config/a.ini", m_root + "/config/in.ini"));
        QVERIFY(CSafeFile::ReadAll(m_root + "/config/in.ini", m_root, data, err));
        QVERIFY(!CSafeFile::ReadAll("/dev/zero", QString(), data, err));

        // Size limit, checked before anything is read.
        QVERIFY(FuncTool::WriteFile(m_root + "/big", QByteArray(5000, 'b')));
        QVERIFY(!CSafeFile::ReadAll(m_root + "/big", m_root, data, err, 4096));
        QVERIFY(err.contains("5000"));
        QVERIFY(CSafeFile::ReadAll(m_root + "/big", m_root, data, err, 5000));
    }

    void writesNeverLeaveTheFolder()
    {
        QString err;
        const QString file = m_root + "/config/param.ini";
        QVERIFY(CSafeFile::Write(file, m_root, "one", err));
        QVERIFY(CSafeFile::Write(file, m_root, "two", err));
        QCOMPARE(FuncTool::ReadFile(file), QByteArray("two"));

        // A link at the destination is refused, and its target keeps its content.
        QVERIFY(QFile::link(m_outside, m_root + "/config/image.dat"));
        QVERIFY(!CSafeFile::Write(m_root + "/config/image.dat", m_root, "evil", err));
        QVERIFY(!CSafeFile::Replace(file, m_root + "/config/image.dat", m_root, err));
        QCOMPARE(FuncTool::ReadFile(m_outside), m_secret);
        QVERIFY(QFileInfo(m_root + "/config/image.dat").isSymLink());

        // A folder that is a link out of the root receives nothing.
        const QString away = m_tmp.path() + "/away";
        QVERIFY(QDir().mkpath(away));
        QVERIFY(QFile::link(away, m_root + "/procs"));
        QVERIFY(!CSafeFile::Write(m_root + "/procs/a.img", m_root, "img", err));
        QVERIFY(QDir(away).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden).isEmpty());

        // A FIFO at the destination neither blocks nor is replaced.
        FifoGuard fifo(m_root + "/config/signal.ini");
        QVERIFY(!CSafeFile::Write(m_root + "/config/signal.ini", m_root, "s", err));
        QVERIFY(!fifo.HadToRelease());

        // A source that is a FIFO is refused too; the old destination stays.
        FifoGuard source(m_tmp.path() + "/src.fifo");
        QVERIFY(!CSafeFile::Replace(m_tmp.path() + "/src.fifo", file, m_root, err));
        QVERIFY(!source.HadToRelease());
        QCOMPARE(FuncTool::ReadFile(file), QByteArray("two"));
        // No temporary file is left behind.
        QCOMPARE(QDir(m_root + "/config").entryList(QStringList{".*.*"}, QDir::Files | QDir::Hidden), QStringList());
    }

    void logViewKeepsTheNewestLines()
    {
        QPlainTextEdit view;
        for (int i = 0; i < CLogView::kMaxLines + 300; ++i)
            CLogView::Append(&view, QStringLiteral("line %1").arg(i));
        QCOMPARE(view.document()->blockCount(), CLogView::kMaxLines);
        QCOMPARE(view.document()->firstBlock().text(), QStringLiteral("line 300"));
        QCOMPARE(view.document()->lastBlock().text(), QStringLiteral("line %1").arg(CLogView::kMaxLines + 299));

        // 400 messages of 60 KB stay a few characters each.
        const QString big(60000, QLatin1Char('x'));
        for (int i = 0; i < 400; ++i)
            CLogView::Append(&view, big);
        QVERIFY(view.document()->characterCount() <= CLogView::kMaxLines * (CLogView::kMaxLineChars + 4));
        QVERIFY(view.document()->lastBlock().text().size() <= CLogView::kMaxLineChars + 3);

        const QString shortText = CLogView::Shorten(QStringLiteral("short"));
        QCOMPARE(shortText, QStringLiteral("short"));
        const QString cut = CLogView::Shorten(big);
        QVERIFY(cut.startsWith(big.left(CLogView::kMessageChars)));
        QVERIFY(cut.size() < CLogView::kMessageChars + 40);
        QVERIFY(cut.contains("60000"));
    }
};

QEL_TEST_MAIN(TestSafeFile)
#include "tst_safefile.moc"
