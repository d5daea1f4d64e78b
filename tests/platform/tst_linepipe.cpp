// CLinePipe over pseudo-terminals.
#include "ptypair.h"
#include "qeltest.h"

#include <clinepipe.h>

namespace {

class Pipe : public CLinePipe
{
public:
    QMap<QString, QByteArray> bytes;
    QList<QPair<bool, QString>> states;

protected:
    void HandleRecvData(const SerialRecvData &data) override { bytes[data.strPort].append(data.pData, data.nLen); }
    void HandleConnState(bool open, QString port) override { states.append({open, port}); }
};

} // namespace

class TestLinePipe : public QObject
{
    Q_OBJECT
private slots:
    void severalPortsAtOnce()
    {
        PtyPair a;
        PtyPair b;
        QVERIFY(a.IsValid() && b.IsValid());
        Pipe pipe;
        QVERIFY(pipe.StartMultipleSerial(a.Path(), 115200, true, nullptr));
        QVERIFY(pipe.StartMultipleSerial(b.Path(), 115200, true, nullptr));
        // Opening an open port again changes nothing.
        QVERIFY(pipe.StartMultipleSerial(a.Path(), 115200, true, nullptr));
        QCOMPARE(pipe.OpenPorts().size(), 2);
        QCOMPARE(pipe.states.size(), 2);

        QVERIFY(a.Write("to-a"));
        QVERIFY(b.Write("to-b"));
        QTRY_COMPARE(pipe.bytes.value(a.Path()), QByteArray("to-a"));
        QTRY_COMPARE(pipe.bytes.value(b.Path()), QByteArray("to-b"));

        char out[] = {0x68, 0x06, 0x00, char(0xC1), 0x1C, 0x23};
        QVERIFY(pipe.SendData(out, 6, b.Path()));
        QTRY_COMPARE(b.Read(), QByteArray(out, 6));
        QVERIFY(a.Read().isEmpty());

        pipe.CloseMutipleSerial(a.Path(), false);
        QVERIFY(!pipe.IsOpen(a.Path()));
        QVERIFY(pipe.IsOpen(b.Path()));
        QVERIFY(!pipe.SendData(out, 6, a.Path()));
        QCOMPARE(pipe.states.last(), qMakePair(false, a.Path()));
    }

    void singlePortVariant()
    {
        PtyPair a;
        PtyPair b;
        Pipe pipe;
        QVERIFY(pipe.StartSerial(a.Path(), 9600, true, nullptr));
        // A second single port replaces the first.
        QVERIFY(pipe.StartSerial(b.Path(), 9600, true, nullptr));
        QCOMPARE(pipe.OpenPorts(), QStringList{b.Path()});
        char out[] = "\x01\x03";
        QVERIFY(pipe.SendData(out, 2, b.Path()));
        QTRY_COMPARE(b.Read(), QByteArray("\x01\x03"));
        pipe.CloseSerial();
        QVERIFY(pipe.OpenPorts().isEmpty());
        pipe.CloseSerial();
    }

    void missingPortsFail()
    {
        Pipe pipe;
        QVERIFY(!pipe.StartMultipleSerial(QStringLiteral("/dev/does-not-exist"), 115200, true, nullptr));
        QVERIFY(!pipe.StartMultipleSerial(QString(), 115200, true, nullptr));
        QVERIFY(!pipe.StartSerial(QStringLiteral("/dev/does-not-exist"), 115200, true, nullptr));
        char out[] = "x";
        QVERIFY(!pipe.SendData(out, 1, QStringLiteral("/dev/does-not-exist")));
        QVERIFY(pipe.states.isEmpty());
        pipe.CloseMutipleSerial(QStringLiteral("/dev/does-not-exist"), false);
    }

    void vanishingDeviceIsReported()
    {
        auto pty = std::make_unique<PtyPair>();
        const QString path = pty->Path();
        Pipe pipe;
        QVERIFY(pipe.StartMultipleSerial(path, 115200, true, nullptr));
        // The far end going away is what a pulled USB cable looks like here.
        pty->CloseMaster();
        QTRY_VERIFY(!pipe.IsOpen(path));
        QCOMPARE(pipe.states.last(), qMakePair(false, path));
    }
};

QEL_TEST_CORE_MAIN(TestLinePipe)
#include "tst_linepipe.moc"
