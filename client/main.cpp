// qel720A_client: the operator's station.
#include "clientdefs.h"
#include "mainwindow.h"

#include <burnhub.h>
#include <moduleid.h>
#include <singleapplication.h>
#include <skindlg.h>

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QIcon>
#include <QTextStream>
#include <QTimer>

namespace {
// The demo's pictures on a machine without a display: QEL_SCREENSHOT_DIR (with
// QEL_SCREENSHOT_TAG) saves "client_<tag>.png" after QEL_SCREENSHOT_DELAY ms,
// then the program ends.
void ScheduleScreenshot(QWidget *window)
{
    const QString dir = QString::fromLocal8Bit(qgetenv("QEL_SCREENSHOT_DIR"));
    if (dir.isEmpty())
        return;
    QString tag = QString::fromLocal8Bit(qgetenv("QEL_SCREENSHOT_TAG"));
    if (tag.isEmpty())
        tag = QStringLiteral("shot");
    bool ok = false;
    int delay = qEnvironmentVariableIntValue("QEL_SCREENSHOT_DELAY", &ok);
    if (!ok || delay < 0)
        delay = 3000;
    QDir().mkpath(dir);
    const QString path = QDir(dir).filePath(QStringLiteral("client_%1.png").arg(tag));
    QTimer::singleShot(delay, window, [window, path]() {
        const bool saved = window->grab().save(path, "PNG");
        QTextStream(stdout) << (saved ? "screenshot: " : "screenshot failed: ") << path << Qt::endl;
        QCoreApplication::exit(0);
    });
}
} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    // One station per PC: a second one would fight over the same ports.
    SingleApplication app(argc, argv, Mod_Qel720AClient);
    if (app.refuseSecondStart())
        return 0;
    QApplication::setApplicationName(QStringLiteral("qel720A_client"));
    QApplication::setFont(QFont(QStringLiteral("Microsoft Yahei"), 9));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/client.png")));

    int ret = 0;
    {
        MainWindow window;
        skindlg::LoadAppStyle(ClientDefs::IniFile());
        window.show();
        ScheduleScreenshot(&window);
        ret = app.exec();
    }
    BurnHub::Exitance();
    return ret;
}
