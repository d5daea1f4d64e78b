// qelctl as a script runs it: usage errors, and the programmers it lists from
// disk and VCP simulators.
#include "progsimprocess.h"
#include "qelctlprocess.h"

#include <functool.h>
#include <imagebuilder.h>
#include <imagefile.h>

#include <QJsonArray>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {
const QString kDiskID = QStringLiteral("3F0027000B51353235383233");
const QString kVcpID1 = QStringLiteral("1A0033000E51353235383233");
const QString kVcpID2 = QStringLiteral("2B0044000F51353235383233");

QJsonObject findId(const QJsonArray &rows, const QString &id)
{
    for (const QJsonValue &v : rows)
        if (v.toObject().value(QStringLiteral("id")).toString() == id
            || v.toObject().value(QStringLiteral("identity")).toString() == id)
            return v.toObject();
    return {};
}
} // namespace

class TestQelctl : public QObject
{
    Q_OBJECT

private slots:
    void badUsage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no command") << QStringList() << QStringLiteral("no command");
        QTest::newRow("unknown command") << QStringList{QStringLiteral("lits")} << QStringLiteral("unknown command \"lits\"");
        QTest::newRow("unknown option") << QStringList{QStringLiteral("list"), QStringLiteral("--frobnicate")}
                                        << QStringLiteral("frobnicate");
        QTest::newRow("two-word command cut short") << QStringList{QStringLiteral("config")}
                                                    << QStringLiteral("config needs one of: get, set");
        QTest::newRow("bad timeout") << QStringList{QStringLiteral("list"), QStringLiteral("--timeout"), QStringLiteral("soon")}
                                     << QStringLiteral("--timeout");
    }
    void badUsage()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, reason);
        const QelctlRun run = runQelctl(args);
        QVERIFY(run.finished);
        QCOMPARE(run.status, 2);
        QCOMPARE(run.ErrLines().size(), 1);
        QVERIFY2(run.err.contains(reason), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
    }

    void help()
    {
        const QelctlRun overview = runQelctl({QStringLiteral("--help")});
        QCOMPARE(overview.status, 0);
        QVERIFY(overview.out.contains(QStringLiteral("list")));
        const QelctlRun list = runQelctl({QStringLiteral("list"), QStringLiteral("--help")});
        QCOMPARE(list.status, 0);
        QVERIFY2(list.out.startsWith(QStringLiteral("Usage: qelctl list")), qPrintable(list.out));
        for (const QString &text : {QStringLiteral("--json"), QStringLiteral("--timeout"), QStringLiteral("3  no programmer")})
            QVERIFY2(list.out.contains(text), qPrintable(text));
    }

    void listNothing()
    {
        QTemporaryDir empty;
        const QelctlRun run = runQelctl({QStringLiteral("list"), QStringLiteral("--timeout"), QStringLiteral("2")}, {empty.path()},
                                        {empty.path() + QStringLiteral("/no-such-port")});
        QCOMPARE(run.status, 3);
        QCOMPARE(run.ErrLines(), QStringList{QStringLiteral("qelctl: no programmer found")});
    }

    // A disk programmer and two VCP programmers, one of which has counted runs.
    void listDiskAndVcp()
    {
        QTemporaryDir dir;
        const QString disk = dir.path() + QStringLiteral("/disk");
        ProgSim diskSim(disk, kDiskID, QStringLiteral("QEL720A"), QStringLiteral("V2.1.7"));
        ProgSim vcp1({QStringLiteral("--vcp"), QStringLiteral("--id"), kVcpID1, QStringLiteral("--link"), dir.path() + QStringLiteral("/vcp1"),
                      QStringLiteral("--counters"), QStringLiteral("12/3")});
        ProgSim vcp2({QStringLiteral("--vcp"), QStringLiteral("--id"), kVcpID2, QStringLiteral("--link"), dir.path() + QStringLiteral("/vcp2"),
                      QStringLiteral("--hw"), QStringLiteral("H2.0")});
        QVERIFY(diskSim.WaitReady());
        QVERIFY(vcp1.WaitReady());
        QVERIFY(vcp2.WaitReady());

        const QelctlRun run = runQelctl({QStringLiteral("list"), QStringLiteral("--json")}, {disk}, {vcp1.PortPath(), vcp2.PortPath()});
        QVERIFY(run.finished);
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const QJsonArray rows = run.Json().value(QStringLiteral("programmers")).toArray();
        QCOMPARE(rows.size(), 3);

        const QJsonObject d = findId(rows, kDiskID);
        QCOMPARE(d.value(QStringLiteral("way")).toString(), QStringLiteral("disk"));
        QCOMPARE(d.value(QStringLiteral("model")).toString(), QStringLiteral("QEL720A"));
        QCOMPARE(d.value(QStringLiteral("firmware")).toString(), QStringLiteral("V2.1.7"));

        const QJsonObject v1 = findId(rows, kVcpID1);
        QCOMPARE(v1.value(QStringLiteral("way")).toString(), QStringLiteral("vcp"));
        QVERIFY(!v1.value(QStringLiteral("id")).toString().isEmpty());
        QCOMPARE(v1.value(QStringLiteral("port")).toString(), vcp1.PortPath());
        QCOMPARE(v1.value(QStringLiteral("pass")).toInt(), 12);
        QCOMPARE(v1.value(QStringLiteral("fail")).toInt(), 3);
        const QJsonObject v2 = findId(rows, kVcpID2);
        QCOMPARE(v2.value(QStringLiteral("hardware")).toString(), QStringLiteral("H2.0"));
        QCOMPARE(v2.value(QStringLiteral("model")).toString(), QStringLiteral("QEL720A"));

        // Text mode: one line per programmer, nothing on standard error.
        const QelctlRun text = runQelctl({QStringLiteral("list")}, {disk}, {vcp1.PortPath()});
        QCOMPARE(text.status, 0);
        QCOMPARE(text.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size(), 2);
        QVERIFY(text.out.contains(v1.value(QStringLiteral("id")).toString()) && text.out.contains(QStringLiteral("pass 12 fail 3")));
        QVERIFY(text.err.isEmpty());
    }

    // BIN -> HEX -> BIN gives the bytes back; a broken HEX names its line and code.
    void convert()
    {
        QTemporaryDir dir;
        QByteArray data;
        for (int i = 0; i < 70000; ++i)
            data.append(char((i * 13 + i / 256) & 0xFF));
        const QString bin = dir.filePath(QStringLiteral("a.bin"));
        const QString hex = dir.filePath(QStringLiteral("a.hex"));
        const QString back = dir.filePath(QStringLiteral("b.bin"));
        QFile f(bin);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(data) == data.size());
        f.close();
        QCOMPARE(runQelctl({QStringLiteral("bin2hex"), bin, hex}).status, 0);
        const QelctlRun run = runQelctl({QStringLiteral("hex2bin"), hex, back, QStringLiteral("--json")});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.Json().value(QStringLiteral("code")).toInt(), 0);
        QFile b(back);
        QVERIFY(b.open(QIODevice::ReadOnly));
        QCOMPARE(b.readAll(), data);

        // A checksum broken on the third line.
        QFile h(hex);
        QVERIFY(h.open(QIODevice::ReadOnly));
        QList<QByteArray> lines = h.readAll().split('\n');
        h.close();
        lines[2][lines[2].size() - 2] = lines[2].endsWith("00") ? '1' : '0';
        const QString bad = dir.filePath(QStringLiteral("bad.hex"));
        QFile o(bad);
        QVERIFY(o.open(QIODevice::WriteOnly));
        o.write(lines.join('\n'));
        o.close();
        const QelctlRun failed = runQelctl({QStringLiteral("hex2bin"), bad, dir.filePath(QStringLiteral("c.bin"))});
        QCOMPARE(failed.status, 2);
        QCOMPARE(failed.ErrLines().size(), 1);
        QVERIFY2(failed.err.contains(QStringLiteral("line 3")) && failed.err.contains(QStringLiteral("code 6")), qPrintable(failed.err));
    }

    // An image bound to one programmer: decoded with its ID, refused with another
    // or without one; a damaged plain image is refused by its checksum.
    void imageInfo()
    {
        QTemporaryDir dir;
        QByteArray program;
        for (int i = 0; i < 5000; ++i)
            program.append(char(i * 31));
        const QString bin = dir.filePath(QStringLiteral("p.bin"));
        QVERIFY(FuncTool::WriteFile(bin, program));
        CImageBuilder builder(dir.path());
        CImageParams params;
        params.m_nLimit = 500;
        params.m_nVersion = 9;
        params.m_nChip = 3;
        params.m_bEncrypt = true;
        params.m_strGivenID = kDiskID;
        CImageResult result;
        QString err;
        const QString image = dir.filePath(QStringLiteral("bound.img"));
        QVERIFY2(builder.SaveImageFile({CBinEntry{0x08000000, bin}}, params, image, result, err), qPrintable(err));

        const QelctlRun run = runQelctl({QStringLiteral("image"), QStringLiteral("info"), image, QStringLiteral("--id"), kDiskID,
                                         QStringLiteral("--json")});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const QJsonObject o = run.Json();
        QCOMPARE(o.value(QStringLiteral("crc")).toString(), result.m_strCRC);
        QCOMPARE(o.value(QStringLiteral("startAddress")).toString(), CImageBuilder::CRCText(0x08000000));
        QCOMPARE(o.value(QStringLiteral("limit")).toInt(), 500);
        QCOMPARE(o.value(QStringLiteral("version")).toInt(), 9);
        QCOMPARE(o.value(QStringLiteral("mcu")).toString(), CImageBuilder::ChipName(3));
        QCOMPARE(o.value(QStringLiteral("encrypted")).toBool(), true);
        QCOMPARE(o.value(QStringLiteral("boundTo")).toString(), kDiskID);
        QCOMPARE(o.value(QStringLiteral("sum")).toString(), CImageBuilder::CRCText(result.m_trailer.m_nSum));

        for (const QStringList &args : {QStringList{QStringLiteral("--id"), kVcpID1}, QStringList{}}) {
            const QelctlRun refused = runQelctl(QStringList{QStringLiteral("image"), QStringLiteral("info"), image} + args);
            QCOMPARE(refused.status, 2);
            QCOMPARE(refused.ErrLines().size(), 1);
        }

        params.m_bEncrypt = false;
        params.m_nLimit = 0; // a limit needs an encrypted image
        const QString plain = dir.filePath(QStringLiteral("plain.img"));
        QVERIFY2(builder.SaveImageFile({CBinEntry{0, bin}}, params, plain, result, err), qPrintable(err));
        QByteArray bytes = FuncTool::ReadFile(plain);
        QVERIFY(bytes.size() > 100);
        bytes[100] = char(bytes[100] ^ 0x01);
        QVERIFY(FuncTool::WriteFile(plain, bytes));
        const QelctlRun damaged = runQelctl({QStringLiteral("image"), QStringLiteral("info"), plain});
        QCOMPARE(damaged.status, 2);
        QVERIFY2(damaged.err.contains(QStringLiteral("plain.img")), qPrintable(damaged.err));

        // A FIFO named like an image is refused, not waited on for ever.
        const QString fifo = dir.filePath(QStringLiteral("fifo.img"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QelctlRun notFile = runQelctl({QStringLiteral("image"), QStringLiteral("info"), fifo}, {}, {}, 15000);
        QVERIFY(notFile.finished);
        QCOMPARE(notFile.status, 2);
        QVERIFY2(notFile.err.contains(QStringLiteral("fifo.img")), qPrintable(notFile.err));
    }

    // A BIN at an address and a HEX at its own: the same bytes as the builder
    // makes of the same inputs (build time aside), and image info reads it back.
    void imageBuild()
    {
        QTemporaryDir dir;
        QByteArray a(3000, '\0'), b(700, '\0');
        for (int i = 0; i < a.size(); ++i)
            a[i] = char(i * 7);
        for (int i = 0; i < b.size(); ++i)
            b[i] = char(255 - i);
        const QString bin = dir.filePath(QStringLiteral("a.bin"));
        const QString bBin = dir.filePath(QStringLiteral("b.bin"));
        const QString hex = dir.filePath(QStringLiteral("b.hex"));
        QVERIFY(FuncTool::WriteFile(bin, a) && FuncTool::WriteFile(bBin, b));
        QCOMPARE(runQelctl({QStringLiteral("bin2hex"), bBin, hex}).status, 0);

        const QString mine = dir.filePath(QStringLiteral("cli.img"));
        const QelctlRun run = runQelctl({QStringLiteral("image"), QStringLiteral("build"), QStringLiteral("--program"),
                                         QStringLiteral("0x0:") + hex, QStringLiteral("--program"), QStringLiteral("0x1000:") + bin,
                                         QStringLiteral("--mcu"), QStringLiteral("4"), QStringLiteral("--version"),
                                         QStringLiteral("3"), QStringLiteral("-o"), mine, QStringLiteral("--json")});
        QVERIFY2(run.status == 0, qPrintable(run.err));

        QTemporaryDir work;
        CImageBuilder builder(work.path());
        CImageParams params;
        params.m_nChip = 3;
        params.m_nVersion = 3;
        CImageResult result;
        QString err;
        const QString theirs = dir.filePath(QStringLiteral("panel.img"));
        QVERIFY2(builder.SaveImageFile({CBinEntry{0, hex}, CBinEntry{0x1000, bin}}, params, theirs, result, err), qPrintable(err));
        QCOMPARE(run.Json().value(QStringLiteral("crc")).toString(), result.m_strCRC);
        QByteArray x = FuncTool::ReadFile(mine), y = FuncTool::ReadFile(theirs);
        QVERIFY(CImageFile::Restamp(x, 0) && CImageFile::Restamp(y, 0));
        QCOMPARE(x, y);

        const QelctlRun info = runQelctl({QStringLiteral("image"), QStringLiteral("info"), mine, QStringLiteral("--json")});
        QCOMPARE(info.status, 0);
        QCOMPARE(info.Json().value(QStringLiteral("mcu")).toString(), CImageBuilder::ChipName(3));

        // A BIN without an address is bad usage.
        const QelctlRun bad = runQelctl({QStringLiteral("image"), QStringLiteral("build"), QStringLiteral("--program"), bin,
                                         QStringLiteral("-o"), mine});
        QCOMPARE(bad.status, 2);
        QCOMPARE(bad.ErrLines().size(), 1);
    }

    // A port on the list that is no programmer: a link failure named on one line.
    void listDeadPort()
    {
        QTemporaryDir dir;
        const QString fake = dir.path() + QStringLiteral("/notaport");
        QFile f(fake);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        const QelctlRun run = runQelctl({QStringLiteral("list"), QStringLiteral("--timeout"), QStringLiteral("1")}, {}, {fake});
        QCOMPARE(run.status, 3);
        QCOMPARE(run.ErrLines().size(), 1);
        QVERIFY2(run.err.contains(fake), qPrintable(run.err));
    }
};

QEL_TEST_CORE_MAIN(TestQelctl)
#include "tst_qelctl.moc"
