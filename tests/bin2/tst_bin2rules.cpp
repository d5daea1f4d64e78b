// BIN2 parameters, text files and descriptions: limits, widths, the display
// format, and exports that load back as they were.
#include "cbin2desc.h"
#include "cbin2editor.h"
#include "cbin2params.h"
#include "cbin2text.h"
#include "functool.h"
#include "qeltest.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <QTemporaryDir>

namespace {
// Parameters of the given types, in order.
void MakeParams(CBin2Params &params, const QVector<int> &types)
{
    params.Clear();
    CBin2Message msg;
    for (int i = 0; i < types.size(); ++i) {
        QVERIFY(params.Add(msg));
        params.SetType(i, types.at(i));
    }
}
} // namespace

class TestBin2Rules : public QObject
{
    Q_OBJECT
private slots:
    void limitAndCounts();
    void valuesFromFlashBytes();
    void displayFormat();
    void valuesThatCannotBeWritten();
    void textFileRefusals();
    void textWithoutDescriptionIsBytes();
    void exportLoadsBackEqual_data();
    void exportLoadsBackEqual();
    void exportRefusals();
    void descriptionFromOutside();
    void flashFile();

private:
    QTemporaryDir m_dir;
};

void TestBin2Rules::limitAndCounts()
{
    CBin2Params params;
    QCOMPARE(params.CountText(), QStringLiteral("0(0)"));
    QVERIFY(!params.DeleteLast());
    CBin2Message msg;
    for (int i = 0; i < CBin2Params::kMaxParams; ++i)
        QVERIFY(params.Add(msg));
    QVERIFY(msg.IsEmpty());
    // The 81st is refused and nothing changes.
    QVERIFY(!params.Add(msg));
    QCOMPARE(msg.title, QStringLiteral("错误！"));
    QCOMPARE(msg.text, QStringLiteral("限制最多参数为80个"));
    QCOMPARE(params.Count(), 80);
    QCOMPARE(params.ByteCount(), 80);

    MakeParams(params, {0, 1, 2});
    QCOMPARE(params.CountText(), QStringLiteral("3(7)"));
    // Deleting takes the last parameter's width off.
    QVERIFY(params.DeleteLast());
    QCOMPARE(params.CountText(), QStringLiteral("2(3)"));
    params.SetType(1, 7); // not a type: a byte
    QCOMPARE(params.ByteCount(), 2);
}

void TestBin2Rules::valuesFromFlashBytes()
{
    CBin2Params params;
    MakeParams(params, {0, 1, 2});
    const QByteArray data = QByteArray::fromHex("01020304050607");
    CBin2Message msg;
    QVERIFY(params.FillFromData(data, msg));
    const auto *p = reinterpret_cast<const uchar *>(data.constData());
    QCOMPARE(params.At(0).strValue, QString::number(p[0]));
    QCOMPARE(params.At(1).strValue, QString::number(qFromLittleEndian<quint16>(p + 1)));
    QCOMPARE(params.At(1).strValue, QStringLiteral("770"));
    QCOMPARE(params.At(2).strValue, QString::number(qFromLittleEndian<quint32>(p + 3)));

    // Bytes that do not match the widths are refused, values kept.
    QVERIFY(!params.FillFromData(data.left(6), msg));
    QCOMPARE(msg.text, QStringLiteral("数据长度不符, 当前数据6字节，参数7字节, 请检查！"));
    QCOMPARE(params.At(1).strValue, QStringLiteral("770"));

    // One u8 per byte; more than 80 bytes reset everything.
    QVERIFY(params.FillAsBytes(QByteArray(80, '\x11'), msg));
    QCOMPARE(params.CountText(), QStringLiteral("80(80)"));
    QVERIFY(!params.FillAsBytes(QByteArray(81, '\x11'), msg));
    QCOMPARE(msg.text, QStringLiteral("数据过长, 当前读取参数81个，限制80个, 请检查！"));
    QCOMPARE(params.CountText(), QStringLiteral("0(0)"));
}

void TestBin2Rules::displayFormat()
{
    CBin2Params params;
    MakeParams(params, {2, 1, 0});
    CBin2Message msg;
    const QByteArray data = QByteArray::fromHex("EFBEADDE3412FF");
    QVERIFY(params.FillFromData(data, msg));
    params.SetHex(true);
    QVERIFY(params.IsHex());
    QCOMPARE(params.At(0).strValue, QStringLiteral("DEADBEEF"));
    QCOMPARE(params.At(1).strValue, QStringLiteral("1234"));
    // Filled while hexadecimal: shown in hexadecimal, so an export reads them right.
    QVERIFY(params.FillFromData(data, msg));
    QCOMPARE(params.At(2).strValue, QStringLiteral("FF"));
    params.SetHex(false);
    QCOMPARE(params.At(0).strValue, QString::number(0xDEADBEEFu));
    QCOMPARE(params.At(2).strValue, QStringLiteral("255"));
    // The same bytes either way.
    QByteArray back;
    QVERIFY(params.ToData(back, msg));
    QCOMPARE(back, data);
}

void TestBin2Rules::valuesThatCannotBeWritten()
{
    CBin2Params params;
    MakeParams(params, {0, 1});
    CBin2Message msg;
    QByteArray data;
    params.Row(0).strValue = QStringLiteral("255");
    params.Row(1).strValue = QStringLiteral("65536"); // wider than u16
    QVERIFY(!params.ToData(data, msg));
    QCOMPARE(msg.text, QStringLiteral("参数2的数值无效!"));
    params.Row(1).strValue = QStringLiteral("12x");
    QVERIFY(!params.ToData(data, msg));
    params.Row(1).strValue = QStringLiteral("65535");
    params.Row(0).strValue = QStringLiteral("256");
    QVERIFY(!params.ToData(data, msg));
    QCOMPARE(msg.text, QStringLiteral("参数1的数值无效!"));
}

void TestBin2Rules::textFileRefusals()
{
    CBin2File file;
    CBin2Message msg;
    const QString format = QStringLiteral("读取文件失败！数据与规定格式不符合！请检查");
    for (const char *text : {"19000\n007\n01 02 03 \n", "190\n00003\n01 02 03 \n", "19000\n", "",
                             "1900G\n00003\n01 02 03 \n", "19000\n00003\n01 0Z 03 \n", "19000\n00003\n01 02 0\n",
                             "190000\n00003\n01 02 03 \n"}) {
        msg = CBin2Message();
        QVERIFY2(!CBin2Text::Parse(QByteArray(text), file, msg), text);
        QCOMPARE(msg.title, QStringLiteral("错误"));
        QCOMPARE(msg.text, format);
    }
    // Data ends at the first empty line; CR LF lines read as well.
    QVERIFY(CBin2Text::Parse("1A000\r\n00004\r\n01 02 \r\n03 04 \r\n\r\nFF FF \r\n", file, msg));
    QCOMPARE(file.nAddr, 0x1A000u);
    QCOMPARE(file.nLength, 4);
    QCOMPARE(file.data, QByteArray::fromHex("01020304"));
}

void TestBin2Rules::textWithoutDescriptionIsBytes()
{
    const QString path = m_dir.filePath(QStringLiteral("plain.txt"));
    QVERIFY(FuncTool::WriteFile(path, QByteArray("2000\n00003\n0A 0B 0C \n")));
    CBin2Editor editor;
    CBin2Message msg;
    QVERIFY2(editor.Load(path, msg), qPrintable(msg.text));
    QCOMPARE(editor.Params().CountText(), QStringLiteral("3(3)"));
    QCOMPARE(editor.Params().At(2).strValue, QStringLiteral("12"));
    QCOMPARE(editor.m_strAddr, QStringLiteral("2000"));

    // A declared length other than the data's.
    QVERIFY(FuncTool::WriteFile(path, QByteArray("2000\n00004\n0A 0B 0C \n")));
    QVERIFY(!editor.Load(path, msg));
    QCOMPARE(msg.text, QStringLiteral("读取文件失败！实际数据长度与声明数据长度不匹配！请检查"));
    // 81 bytes: too many parameters, everything back to the start.
    QByteArray many = "2000\n00051\n";
    for (int i = 0; i < 81; ++i)
        many += "01 ";
    QVERIFY(FuncTool::WriteFile(path, many + "\n"));
    QVERIFY(!editor.Load(path, msg));
    QCOMPARE(msg.text, QStringLiteral("数据过长, 当前读取参数81个，限制80个, 请检查！"));
    QCOMPARE(editor.Params().Count(), 0);
    QCOMPARE(editor.m_strAddr, QString::fromLatin1(CBin2Params::kDefaultAddr));
    // Missing file.
    QVERIFY(!editor.Load(m_dir.filePath(QStringLiteral("none.txt")), msg));
    QCOMPARE(msg.text, QStringLiteral("文件读取失败"));
}

void TestBin2Rules::exportLoadsBackEqual_data()
{
    QTest::addColumn<bool>("hex");
    QTest::newRow("decimal") << false;
    QTest::newRow("hexadecimal") << true;
}

void TestBin2Rules::exportLoadsBackEqual()
{
    QFETCH(bool, hex);
    CBin2Editor editor;
    CBin2Params &params = editor.Params();
    // 20 parameters: a line break after the 16th; every width, its extremes too.
    QVector<int> types;
    for (int i = 0; i < 20; ++i)
        types << i % 3;
    MakeParams(params, types);
    const quint32 extremes[3] = {0xFF, 0xFFFF, 0xFFFFFFFF};
    for (int i = 0; i < 20; ++i) {
        const quint32 value = i < 3 ? extremes[i] : quint32(i * 1000003u) % (i % 3 == 0 ? 256u : (i % 3 == 1 ? 65536u : 0xFFFFFFFFu));
        params.Row(i).strValue = CBin2Params::FormatValue(value, false);
        params.Row(i).strDesc = QStringLiteral("描述 %1 <&\"'>").arg(i);
        params.Row(i).strNotes = QStringLiteral("notes %1").arg(i);
    }
    params.SetHex(hex);
    editor.m_strAddr = QStringLiteral("1F00");
    QByteArray written;
    CBin2Message msg;
    QVERIFY(params.ToData(written, msg));
    QCOMPARE(written.size(), params.ByteCount());

    const QString path = m_dir.filePath(hex ? QStringLiteral("hex.txt") : QStringLiteral("dec.txt"));
    QVERIFY2(editor.Export(path, msg), qPrintable(msg.text));
    QCOMPARE(msg.title, QStringLiteral("成功"));
    QCOMPARE(msg.text, QStringLiteral("BIN2文件导出成功！"));
    const QList<QByteArray> lines = FuncTool::ReadFile(path).split('\n');
    QCOMPARE(lines.at(0), QByteArray("1F00"));
    QCOMPARE(lines.at(1).toInt(nullptr, 16), params.ByteCount());
    QCOMPARE(lines.at(1).size(), 5);
    QVERIFY(QFile::exists(CBin2Desc::PathFor(path)));

    CBin2Editor loaded;
    QVERIFY2(loaded.Load(path, msg), qPrintable(msg.text));
    QCOMPARE(loaded.m_strAddr, QStringLiteral("1F00"));
    QCOMPARE(loaded.Params().IsHex(), hex);
    QCOMPARE(loaded.Params().CountText(), params.CountText());
    for (int i = 0; i < params.Count(); ++i) {
        QCOMPARE(loaded.Params().At(i).nType, params.At(i).nType);
        QCOMPARE(loaded.Params().At(i).strValue, params.At(i).strValue);
        QCOMPARE(loaded.Params().At(i).strDesc, params.At(i).strDesc);
        QCOMPARE(loaded.Params().At(i).strNotes, params.At(i).strNotes);
    }
    QByteArray again;
    QVERIFY(loaded.Params().ToData(again, msg));
    QCOMPARE(again, written);
}

void TestBin2Rules::exportRefusals()
{
    CBin2Editor editor;
    CBin2Message msg;
    QVERIFY(editor.Params().Add(msg));
    editor.Params().Row(0).strValue = QStringLiteral("7");
    QVERIFY(!editor.Export(m_dir.filePath(QStringLiteral("x.TXT")), msg));
    QCOMPARE(msg.text, QStringLiteral("文件路径错误！"));
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("x.TXT"))));
    // A folder in the way of the file.
    QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("taken.txt"))));
    QVERIFY(!editor.Export(m_dir.filePath(QStringLiteral("taken.txt")), msg));
    QCOMPARE(msg.text, QStringLiteral("文件写入出错！"));
    // ... or of the description.
    QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("desc.xml"))));
    QVERIFY(!editor.Export(m_dir.filePath(QStringLiteral("desc.txt")), msg));
    QCOMPARE(msg.text, QStringLiteral("参数描述文件写入失败！"));
    editor.m_strAddr.clear();
    QVERIFY(!editor.Export(m_dir.filePath(QStringLiteral("y.txt")), msg));
    QCOMPARE(msg.text, QStringLiteral("Flash地址错误！"));
}

void TestBin2Rules::descriptionFromOutside()
{
    CBin2Params params;
    CBin2Counts counts;
    QString err;
    // Rows beyond 80, negative numbers and unknown types are not taken.
    const QByteArray xml = "<?xml version=\"1.0\"?><qel-xiechang-xml><data-format value=\"16进制\"/>"
                           "<param-cnt value=\"2\"/><param-bytes value=\"5\"/><param-desc>"
                           "<a no=\"0\" desc=\"x\" dataType=\"9\" value=\"1\" notes=\"\"/>"
                           "<b no=\"1\" desc=\"y\" dataType=\"2\" value=\"FF\" notes=\"z\"/>"
                           "<c no=\"80\" desc=\"far\" dataType=\"1\"/><d no=\"-1\" desc=\"neg\"/>"
                           "</param-desc></qel-xiechang-xml>";
    QCOMPARE(CBin2Desc::ReadText(xml, params, counts, err), CBin2Desc::Read);
    QVERIFY(params.IsHex());
    QCOMPARE(params.CountText(), QStringLiteral("2(5)"));
    QCOMPARE(params.At(0).nType, 0);
    QCOMPARE(params.At(1).strNotes, QStringLiteral("z"));
    QCOMPARE(counts.nBytes, 5);

    // Broken XML: what came before the error is kept, the error is told.
    QCOMPARE(CBin2Desc::ReadText(xml.left(xml.indexOf("<b ")) + "<b no=", params, counts, err), CBin2Desc::XmlError);
    QVERIFY(!err.isEmpty());
    QCOMPARE(params.At(0).strDesc, QStringLiteral("x"));

    // A description that claims more than 80 parameters.
    const QString path = m_dir.filePath(QStringLiteral("big.txt"));
    QVERIFY(FuncTool::WriteFile(path, QByteArray("19000\n00001\n01 \n")));
    QVERIFY(FuncTool::WriteFile(CBin2Desc::PathFor(path), QByteArray("<qel-xiechang-xml><param-cnt value=\"500\"/><param-desc/></qel-xiechang-xml>")));
    CBin2Editor editor;
    CBin2Message msg;
    QVERIFY(!editor.Load(path, msg));
    QCOMPARE(msg.text, QStringLiteral("数据过长, 当前读取参数500个，限制80个, 请检查！"));
    QCOMPARE(editor.Params().Count(), 0);
}

void TestBin2Rules::flashFile()
{
    CBin2Editor editor;
    MakeParams(editor.Params(), {0, 1, 2});
    CBin2Message msg;
    int addr = 0;
    int len = 0;
    QVERIFY(editor.ReadRequest(addr, len));
    QCOMPARE(addr, QString::fromLatin1(CBin2Params::kDefaultAddr).toInt(nullptr, 16));
    QCOMPARE(len, 7); // every byte of the three, not one per parameter

    QVERIFY(!editor.TakeFlashData(m_dir.filePath(QStringLiteral("missing")), msg));
    QCOMPARE(msg.text, QStringLiteral("参数文件读取失败！"));
    const QString path = m_dir.filePath(QStringLiteral("read_flash_bin"));
    QVERIFY(FuncTool::WriteFile(path, QByteArray(81, '\x01')));
    QVERIFY(!editor.TakeFlashData(path, msg));
    QCOMPARE(msg.text, QStringLiteral("参数长度超限制！"));
    QVERIFY(FuncTool::WriteFile(path, QByteArray::fromHex("0A0B0C0D0E0F10")));
    QVERIFY(editor.TakeFlashData(path, msg));
    QCOMPARE(msg.text, QStringLiteral("参数读取解析完成！"));
    QCOMPARE(editor.Params().At(1).strValue, QString::number(0x0C0B));

    // A link in the programmer's folder to a file elsewhere is not its flash.
    QTemporaryDir outside;
    const QString elsewhere = QDir(outside.path()).filePath(QStringLiteral("secret"));
    QVERIFY(FuncTool::WriteFile(elsewhere, QByteArray::fromHex("01020304050607")));
    QVERIFY(QFile::remove(path));
    QVERIFY(QFile::link(elsewhere, path));
    QVERIFY(!editor.TakeFlashData(path, msg));
    QCOMPARE(msg.text, QStringLiteral("参数文件打开失败！"));
    QCOMPARE(editor.Params().At(1).strValue, QString::number(0x0C0B));
}

QEL_TEST_MAIN(TestBin2Rules)
#include "tst_bin2rules.moc"
