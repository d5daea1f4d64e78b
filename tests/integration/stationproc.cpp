// A client station for the end-to-end tests: the client's own window,
// offscreen, connected as the arguments say. Every log line of its remote page
// goes to standard output; "disconnect" on standard input presses the
// disconnect button of its connection.
//   stationproc tcp <host> <port> | mqtt <host> <port> | nsq <host> <lookup-port>
// QEL_STATION_DELAY_MS holds the connection back (time for USB programmers to say who they are).
#include "mainwindow.h"
#include "remoteform.h"

#include <cmessagebox.h>
#include <cpubactions.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qel720A_client"));
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: stationproc tcp|mqtt|nsq <host> <port>\n");
        return 2;
    }
    const QString kind = args.at(1);
    const QString host = args.at(2);
    const QString port = args.at(3);
    CPubActions ini(true);
    const QString file = QStringLiteral("qel720A_client.ini");
    if (kind == QLatin1String("mqtt")) {
        ini.WriteString(QStringLiteral("REMOTE"), QStringLiteral("BROKER"), host, file);
        ini.WriteInt(QStringLiteral("REMOTE"), QStringLiteral("MQTTPORT"), port.toInt(), file);
    } else if (kind == QLatin1String("nsq")) {
        ini.WriteString(QStringLiteral("REMOTE"), QStringLiteral("NSQHOST"), host, file);
        ini.WriteInt(QStringLiteral("REMOTE"), QStringLiteral("NSQPORT"), port.toInt(), file);
    }
    CMessageBox::SetResponder([](CMessageBox::Kind, const QString &title, const QString &text) {
        std::printf("box %s: %s\n", qPrintable(title), qPrintable(text));
        std::fflush(stdout);
        return QMessageBox::Yes;
    });

    MainWindow window;
    remoteform *page = window.RemotePage();
    auto click = [page](const char *name) { page->findChild<QPushButton *>(QLatin1String(name))->click(); };

    int printed = 0;
    QTimer echo;
    QObject::connect(&echo, &QTimer::timeout, [page, &printed]() {
        const QString text = page->LogText();
        if (text.size() < printed)
            printed = 0;
        if (text.size() == printed)
            return;
        std::printf("%s\n", qPrintable(text.mid(printed)));
        std::fflush(stdout);
        printed = text.size() + 1;
    });
    echo.start(20);

    QTimer::singleShot(qEnvironmentVariableIntValue("QEL_STATION_DELAY_MS"), [&]() {
        if (kind == QLatin1String("tcp")) {
            page->findChild<QLineEdit *>(QStringLiteral("edit_ip"))->setText(host);
            page->findChild<QLineEdit *>(QStringLiteral("edit_port"))->setText(port);
            click("btn_login");
        } else if (kind == QLatin1String("mqtt")) {
            click("btn_mqttconnect");
        } else {
            click("btn_nsqconnect");
        }
        std::printf("station started\n");
        std::fflush(stdout);
    });

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&]() {
        char line[64] = {};
        const ssize_t n = ::read(STDIN_FILENO, line, sizeof line - 1);
        if (n <= 0) {
            input.setEnabled(false);
            app.quit();
            return;
        }
        if (QByteArray(line).startsWith("disconnect"))
            click(kind == QLatin1String("tcp") ? "btn_logout" : (kind == QLatin1String("mqtt") ? "btn_mqttdisconnect" : "btn_nsqdisconnect"));
    });
    return app.exec();
}
