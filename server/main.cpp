// qel720A_server: the engineer's station.
#include "burnhub.h"
#include "cserverhost.h"
#include "cscreenshot.h"
#include "mainwindow.h"
#include "moduleid.h"
#include "serverdefs.h"
#include "singleapplication.h"
#include "skindlg.h"

#include <QApplication>
#include <QFont>
#include <QIcon>

int main(int argc, char *argv[])
{
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    // One station per PC: a second one would fight over the same ports.
    SingleApplication app(argc, argv, Mod_Qel720AServer);
    if (app.refuseSecondStart())
        return 0;
    QApplication::setApplicationName(QStringLiteral("qel720A_server"));
    QApplication::setFont(QFont(QStringLiteral("Microsoft Yahei"), 9));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/server.png")));

    int ret = 0;
    {
        MainWindow window;
        // The links reach the window through this one host.
        CServerHost host(&window);
        skindlg::LoadAppStyle(ServerDefs::IniFile());
        window.show();
        CScreenShot::ScheduleFromEnvironment(&window);
        ret = app.exec();
    }
    BurnHub::Exitance();
    return ret;
}
