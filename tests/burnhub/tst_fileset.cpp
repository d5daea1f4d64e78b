// The programmer's file set, on a programmer folder (disk mode) and in the
// PC-side folder of a USB programmer (USB mode).
#include "burnhub.h"
#include "cmessagebox.h"
#include "functool.h"
#include "qeltest.h"

#include <QTemporaryDir>
#include <QTextCodec>

namespace {
QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString MakeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

// Answers every question box with the given button and remembers what it asked.
struct Answer
{
    explicit Answer(QMessageBox::StandardButton button)
    {
        CMessageBox::SetResponder([this, button](CMessageBox::Kind, const QString &, const QString &text) {
            asked << text;
            return button;
        });
    }
    ~Answer() { CMessageBox::SetResponder({}); }
    QStringList asked;
};
} // namespace

class TestFileSet : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_root;
    BurnHub *m_hub = nullptr;

    QString Src(const QString &name, const QByteArray &content)
    {
        return MakeFile(m_dir.filePath("src/" + name), content);
    }
    QStringList NewList()
    {
        QStringList list;
        m_hub->ReadNewList(list);
        return list;
    }
    QMap<int, ImageInfo> Index()
    {
        QMap<int, ImageInfo> map;
        QString err;
        m_hub->ReadImageIndex(map, err);
        return map;
    }

private slots:
    void init()
    {
        m_root = m_dir.filePath("prog") + "/";
        QDir(m_root).removeRecursively();
        QDir().mkpath(m_root);
        m_hub = BurnHub::Instance();
        m_hub->SetProgRoot(m_root);
    }
    void cleanup() { BurnHub::Exitance(); }

    void indexIsCreatedOnRead()
    {
        QString err;
        QMap<int, ImageInfo> map;
        QVERIFY(!QFile::exists(m_root + "config/image.dat"));
        QVERIFY(m_hub->ReadImageIndex(map, err));
        QVERIFY(map.isEmpty());
        QVERIFY(QFile::exists(m_root + "config/image.dat"));
    }

    void indexLinesAndGbk()
    {
        const QString chinese = QString::fromUtf8("产品固件.img");
        QByteArray content = "3=first.img\n3=second.img\nx=bad.img\nnoequals\n7=a=b\n";
        content += QTextCodec::codecForName("GBK")->fromUnicode("12=" + chinese + "\r\n");
        MakeFile(m_root + "config/image.dat", content);
        MakeFile(m_root + "procs/second.img", "x");
        QMap<int, ImageInfo> map = Index();
        QCOMPARE(map.keys(), QList<int>({3, 12}));
        QCOMPARE(map[3].m_strName, QString("second.img"));
        QCOMPARE(map[12].m_strName, chinese);
        QVERIFY(!map[3].m_strTime.isEmpty());
        QVERIFY(map[12].m_strTime.isEmpty()); // no such image file

        // Rewriting keeps GBK and ascending order.
        QString err;
        QVERIFY(m_hub->ModifyIndex(1, "one.img", err));
        const QByteArray expected = "1=one.img\n3=second.img\n12="
                                    + QTextCodec::codecForName("GBK")->fromUnicode(chinese) + "\n";
        QCOMPARE(ReadAll(m_root + "config/image.dat"), expected);
        QCOMPARE(m_hub->FindImageNameByIndex(12), chinese);
        QVERIFY(m_hub->FindImageNameByIndex(99).isEmpty());
    }

    void rebindingAsksFirst()
    {
        QString err;
        Index();
        QVERIFY(m_hub->ModifyIndex(2, "fw.img", err));
        {
            Answer no(QMessageBox::No);
            QVERIFY(!m_hub->ModifyIndex(4, "fw.img", err));
            QCOMPARE(no.asked.size(), 1);
            QVERIFY(no.asked[0].contains(QString::fromUtf8("清除原配置并重试")));
            QCOMPARE(err, QString::fromUtf8("fw.img已经配置在镜像号2中"));
        }
        QCOMPARE(Index().keys(), QList<int>({2}));
        {
            Answer yes(QMessageBox::Yes);
            QVERIFY(m_hub->ModifyIndex(4, "fw.img", err));
        }
        QCOMPARE(Index().keys(), QList<int>({4}));
        // Rebinding the same number to the same name asks nothing.
        Answer none(QMessageBox::No);
        QVERIFY(m_hub->ModifyIndex(4, "fw.img", err));
        QVERIFY(none.asked.isEmpty());
        // A name with a placeholder of its own is shown as it is.
        QVERIFY(m_hub->ModifyIndex(6, "a%2b.img", err));
        QVERIFY(!m_hub->ModifyIndex(7, "a%2b.img", err));
        QCOMPARE(err, QString::fromUtf8("a%2b.img已经配置在镜像号6中"));
    }

    void storingImagesKeepsNewListOrder()
    {
        QString err;
        for (int n : {2, 5, 7})
            QVERIFY(m_hub->DownImageFile(n, Src(QString("i%1.img").arg(n), "v1"), QString("i%1.img").arg(n), err));
        QCOMPARE(NewList(), QStringList({"2", "5", "7"}));
        QVERIFY(m_hub->DownImageFile(5, Src("i5.img", "v2"), "i5.img", err));
        QCOMPARE(NewList(), QStringList({"2", "7", "5"}));
        QCOMPARE(ReadAll(m_root + "procs/i5.img"), QByteArray("v2"));
        QCOMPARE(ReadAll(m_root + "config/newlist.dat"), QByteArray("2\r\n7\r\n5\r\n"));
    }

    void failedImageCopyKeepsOldImage()
    {
        QString err;
        QVERIFY(m_hub->DownImageFile(1, Src("keep.img", "old"), "keep.img", err));
        QVERIFY(!m_hub->DownImageFile(1, m_dir.filePath("src/missing.img"), "keep.img", err));
        QCOMPARE(err, QString::fromUtf8("镜像文件下载失败"));
        QCOMPARE(ReadAll(m_root + "procs/keep.img"), QByteArray("old"));
    }

    void deletingImages()
    {
        QString err;
        for (int n : {0, 1, 2})
            QVERIFY(m_hub->DownImageFile(n, Src(QString("d%1.img").arg(n), "x"), QString("d%1.img").arg(n), err));
        QVERIFY(m_hub->DeleteImage("d0.img", err));
        QCOMPARE(NewList(), QStringList({"1", "2"})); // image 0 leaves the list too
        QVERIFY(!QFile::exists(m_root + "procs/d0.img"));
        QCOMPARE(Index().keys(), QList<int>({1, 2}));
        // A name with a folder in it deletes nothing outside procs/.
        MakeFile(m_root + "sys/keep.dat", "keep");
        m_hub->DeleteImage("../sys/keep.dat", err);
        QCOMPARE(ReadAll(m_root + "sys/keep.dat"), QByteArray("keep"));

        MakeFile(m_root + "procs/notes.txt", "keep");
        MakeFile(m_root + "procs/raw.BIN", "x");
        MakeFile(m_root + "procs/prog.hex", "x");
        QVERIFY(m_hub->DeleteAllImage(err));
        QVERIFY(Index().isEmpty());
        QCOMPARE(NewList(), QStringList());
        QCOMPARE(QDir(m_root + "procs").entryList(QDir::Files), QStringList({"notes.txt"}));
    }

    void fileTransfer()
    {
        QString err;
        QVERIFY(m_hub->FileTransfer(Src("image.dat", "1=a.img\n"), err));
        QCOMPARE(ReadAll(m_root + "config/image.dat"), QByteArray("1=a.img\n"));
        QVERIFY(m_hub->FileTransfer(Src("fw.img", "img"), err));
        QCOMPARE(ReadAll(m_root + "procs/fw.img"), QByteArray("img"));
        err.clear();
        QVERIFY(!m_hub->FileTransfer(Src("FW.IMG", "img"), err));
        QCOMPARE(err, QString::fromUtf8("镜像文件下载失败"));
        QVERIFY(!m_hub->FileTransfer(Src("fw.bin", "bin"), err));
    }

    void fileTransferTakesOnlyTheIndexFileAsIndex()
    {
        QString err;
        QVERIFY(m_hub->FileTransfer(Src("image.dat", "1=a.img\n"), err));
        // A name that merely holds "image.dat" is not the index.
        QVERIFY(!m_hub->FileTransfer(Src("myimage.dat", "junk"), err));
        QCOMPARE(ReadAll(m_root + "config/image.dat"), QByteArray("1=a.img\n"));
        QVERIFY(m_hub->FileTransfer(Src("image.dat.img", "img"), err));
        QCOMPARE(ReadAll(m_root + "procs/image.dat.img"), QByteArray("img"));
        QCOMPARE(ReadAll(m_root + "config/image.dat"), QByteArray("1=a.img\n"));
        // Nor is an image kept in a folder of that name.
        QVERIFY2(m_hub->FileTransfer(MakeFile(m_dir.filePath("in/image.dat/fw.img"), "fw"), err), qPrintable(err));
        QCOMPARE(ReadAll(m_root + "procs/fw.img"), QByteArray("fw"));
        QCOMPARE(ReadAll(m_root + "config/image.dat"), QByteArray("1=a.img\n"));
    }

    void preparedFilesAndRefreshCommand()
    {
        QString err;
        QVERIFY(m_hub->DownConfigFile(Src("param.ini", "voltage=33\r\n"), err));
        QCOMPARE(ReadAll(m_root + "config/param.ini"), QByteArray("voltage=33\r\n"));
        QVERIFY(QFile::exists(m_root + "cmd/param_refresh.cmd"));
        QCOMPARE(QFileInfo(m_root + "cmd/param_refresh.cmd").size(), 0);
        QVERIFY(m_hub->DownSignalFile(Src("signal.ini", "signalType=1\r\n"), err));
        QVERIFY(m_hub->DownPasswordFile(Src("pw", "123"), err));
        QCOMPARE(ReadAll(m_root + "sys/password.dat"), QByteArray("123"));
        QVERIFY(m_hub->DownFirmFile(Src("update.bin", "FW"), err));
        QCOMPARE(ReadAll(m_root + "update.bin"), QByteArray("FW"));

        // A failed copy reports its message and leaves the old file in place.
        const QString missing = m_dir.filePath("src/none");
        QVERIFY(!m_hub->DownConfigFile(missing, err));
        QCOMPARE(err, QString::fromUtf8("配置文件下载失败!"));
        QCOMPARE(ReadAll(m_root + "config/param.ini"), QByteArray("voltage=33\r\n"));
        QVERIFY(!m_hub->DownSignalFile(missing, err));
        QCOMPARE(err, QString::fromUtf8("信号配置文件下载失败!"));
        QVERIFY(!m_hub->DownPasswordFile(missing, err));
        QCOMPARE(err, QString::fromUtf8("密码下发更新失败!"));
        QCOMPARE(ReadAll(m_root + "sys/password.dat"), QByteArray("123"));
        QVERIFY(!m_hub->DownFirmFile(missing, err));
        QCOMPARE(err, QString::fromUtf8("固件程序下载失败!"));
    }

    void readingParameterAndSignalFiles()
    {
        QString err;
        QMap<QString, QString> map;
        QVERIFY(!m_hub->ReadConfig(map, err));
        QCOMPARE(err, QString::fromUtf8("下载器配置文件打开失败"));
        QVERIFY(!m_hub->ReadSignal(map, err));
        QCOMPARE(err, QString::fromUtf8("下载器信号配置文件打开失败"));
        MakeFile(m_root + "config/param.ini", "voltage=33\r\ncontinuous=1\nx=1=2\nshort\nvoltage=50\r\n");
        MakeFile(m_root + "config/signal.ini", "signalType=1\r\nstartTime=90\r\n\r\n");
        QVERIFY(m_hub->ReadConfig(map, err));
        QCOMPARE(map.value("voltage"), QString("50"));
        QCOMPARE(map.value("continuous"), QString("1"));
        QCOMPARE(map.value("x"), QString("1"));
        QVERIFY(!map.contains("short"));
        map.clear();
        QVERIFY(m_hub->ReadSignal(map, err));
        QCOMPARE(map.size(), 2);

        qint64 size = -1;
        QByteArray data;
        QVERIFY(m_hub->ReadFileData("param.ini", size, data));
        QCOMPARE(size, qint64(data.size()));
        QVERIFY(data.startsWith("voltage=33"));
        QVERIFY(!m_hub->ReadFileData("signal.ini", size, data));
    }

    void unreadableIndexGivesItsMessage()
    {
        QDir().mkpath(m_root + "config/image.dat"); // a folder where the file should be
        QString err;
        QMap<int, ImageInfo> map;
        QVERIFY(!m_hub->ReadImageIndex(map, err));
        QCOMPARE(err, QString::fromUtf8("镜像索引文件打开失败"));
        QVERIFY(!m_hub->ModifyIndex(1, "a.img", err));
    }

    void usbModeUsesThePcSideFolder()
    {
        m_hub->SetUSBProgUID("UID42");
        QString err;
        QMap<int, ImageInfo> map;
        QVERIFY(m_hub->ReadImageIndex(map, err));
        QVERIFY(m_hub->ModifyIndex(6, QString::fromUtf8("图像.img"), err));
        const QString usbIndex = m_hub->GetUSBProgFilePath("UID42", "image.dat");
        QVERIFY(usbIndex.startsWith(FuncTool::GetQELDir()));
        QVERIFY(ReadAll(usbIndex).contains(QTextCodec::codecForName("GBK")->fromUnicode(QString::fromUtf8("6=图像.img"))));
        QVERIFY(!QFile::exists(m_root + "config/image.dat"));

        QVERIFY(m_hub->DownConfigFile(Src("param.ini", "en=1\r\n"), err));
        QCOMPARE(ReadAll(m_hub->GetUSBProgFilePath("UID42", "param.ini")), QByteArray("en=1\r\n"));
        QMap<QString, QString> config;
        QVERIFY(m_hub->ReadConfig(config, err));
        QCOMPARE(config.value("en"), QString("1"));

        m_hub->CloseHIDMode();
        QVERIFY(!m_hub->IsUSBMode());
        QCOMPARE(m_hub->GetConfigDir(), m_root + "config/");
    }
};

QEL_TEST_MAIN(TestFileSet)
#include "tst_fileset.moc"
