// A program of the suite as far as the mailbox is concerned, for the
// single-instance tests: "sham_peer <module>". Prints "ready" once it owns its
// mailbox, "recv <sender> <payload>" for each message, and the notice of a
// refused second start; reads "send <module> <text>" and "quit" on stdin.
#include "cmessagebox.h"
#include "singleapplication.h"

#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

namespace {
void say(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
} // namespace

int main(int argc, char *argv[])
{
    const int module = argc > 1 ? QByteArray(argv[1]).toInt() : 0;
    SingleApplication app(argc, argv, module);
    CMessageBox::SetResponder([](CMessageBox::Kind, const QString &, const QString &text) {
        say("notice " + text.toUtf8());
        return QMessageBox::Ok;
    });
    if (app.refuseSecondStart())
        return 3;
    QObject::connect(&app, &SingleApplication::bytesAvailable, [](quint8 sender, const QByteArray &payload) {
        say("recv " + QByteArray::number(sender) + ' ' + payload);
    });
    QByteArray input;
    QSocketNotifier notifier(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, [&]() {
        char buf[4096];
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n <= 0) {
            app.quit();
            return;
        }
        input.append(buf, int(n));
        int end;
        while ((end = input.indexOf('\n')) >= 0) {
            const QByteArray line = input.left(end);
            input.remove(0, end + 1);
            const QList<QByteArray> words = line.split(' ');
            if (words.value(0) == "quit")
                app.quit();
            else if (words.value(0) == "send" && words.size() >= 3)
                SingleApplication::sendSpecMessage(words.at(1).toInt(), line.mid(words.at(0).size() + words.at(1).size() + 2));
        }
    });
    say("ready");
    return app.exec();
}
