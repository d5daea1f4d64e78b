// qel720A_client: the operator's station.
#include "clientdefs.h"
#include "mainwindow.h"

#include <burnhub.h>
#include <skindlg.h>

#include <QApplication>
#include <QFont>
#include <QIcon>

int main(int argc, char *argv[])
{
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qel720A_client"));
    QApplication::setFont(QFont(QStringLiteral("Microsoft Yahei"), 9));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/client.png")));

    int ret = 0;
    {
        MainWindow window;
        skindlg::LoadAppStyle(ClientDefs::IniFile());
        window.show();
        ret = app.exec();
    }
    BurnHub::Exitance();
    return ret;
}
