// The chip page on a serial port whose far end (a pseudo-terminal) plays the chip.
#include "chipform.h"
#include "clienttest.h"

#include <QLineEdit>
#include <QPushButton>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

namespace {
// The chip's end of a pseudo-terminal pair.
class ChipPeer
{
public:
    ChipPeer()
    {
        m_fd = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_fd >= 0 && grantpt(m_fd) == 0 && unlockpt(m_fd) == 0)
            m_strPort = QString::fromLocal8Bit(ptsname(m_fd));
    }
    ~ChipPeer()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    QString Port() const { return m_strPort; }
    // Whatever the page sent within ms.
    QByteArray Read(int count, int ms = 5000)
    {
        QByteArray got;
        QElapsedTimer timer;
        timer.start();
        while (got.size() < count && timer.elapsed() < ms) {
            QCoreApplication::processEvents();
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, 20) > 0 && (p.revents & POLLIN)) {
                char buf[64];
                const ssize_t n = ::read(m_fd, buf, sizeof buf);
                if (n > 0)
                    got.append(buf, int(n));
            }
        }
        return got;
    }
    bool Write(const QByteArray &bytes) { return ::write(m_fd, bytes.constData(), size_t(bytes.size())) == bytes.size(); }

private:
    int m_fd = -1;
    QString m_strPort;
};

QString Text(chipform &page, const char *name)
{
    return page.findChild<QLineEdit *>(QLatin1String(name))->text();
}
} // namespace

class TestChipPage : public QObject
{
    Q_OBJECT
private slots:
    void readsVersionAndCrcs()
    {
        ChipPeer chip;
        QVERIFY(!chip.Port().isEmpty());
        chipform page;
        auto click = [&page](const char *name) { page.findChild<QPushButton *>(QLatin1String(name))->click(); };

        click("btn_read");
        QVERIFY(page.LogText().contains(QStringLiteral("串口未打开!")));

        page.SetPort(chip.Port(), 9600);
        click("btn_open");
        QVERIFY(page.IsOpen());
        QVERIFY(page.LogText().contains(chip.Port() + QStringLiteral(":9600 串口打开成功")));

        click("btn_read");
        const QByteArray request = chip.Read(8);
        QCOMPARE(request.left(6), QByteArray::fromHex("010300000006"));
        const quint16 crc = clienttest::ModbusBitwise(request.left(6));
        QCOMPARE(request.mid(6), QByteArray().append(char(crc & 0xFF)).append(char(crc >> 8)));
        QVERIFY(page.LogText().contains(QStringLiteral("发送命令: 01 03 00 00 00 06 ")));

        // The answer may come in pieces.
        const QByteArray answer = clienttest::ChipAnswer(3, 12, 10203, 0xDEADBEEF, 0x0000ABCD);
        QVERIFY(chip.Write(answer.left(4)));
        QTRY_VERIFY(page.LogText().contains(QStringLiteral("收到报文: ")));
        QVERIFY(chip.Write(answer.mid(4)));
        QTRY_COMPARE(Text(page, "edit_ver"), QStringLiteral("10203"));
        QCOMPARE(Text(page, "edit_crc1"), QStringLiteral("0xDEADBEEF"));
        QCOMPARE(Text(page, "edit_crc2"), QStringLiteral("0x0000ABCD"));

        click("btn_read");
        QCOMPARE(chip.Read(8), request);
        QVERIFY(chip.Write(clienttest::ChipAnswer(4, 12, 1, 2, 3)));
        QTRY_VERIFY(page.LogText().contains(QStringLiteral("未知的功能码")));
        click("btn_read");
        QCOMPARE(chip.Read(8), request);
        QVERIFY(chip.Write(clienttest::ChipAnswer(3, 11, 1, 2, 3)));
        QTRY_VERIFY(page.LogText().contains(QStringLiteral("数据长度错误")));
        // Bad answers leave the values shown.
        QCOMPARE(Text(page, "edit_ver"), QStringLiteral("10203"));

        click("btn_close");
        QVERIFY(!page.IsOpen());
        QVERIFY(page.LogText().contains(QStringLiteral("关闭串口")));
    }
};

QEL_TEST_MAIN(TestChipPage)
#include "tst_chippage.moc"
