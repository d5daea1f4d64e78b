// qelupdate <module> <definition URL> <current version> [flag]: brings one
// program of the suite (or, with flag 1, a programmer firmware package) up to
// date and prints one verdict line, "success$<file>" or "fail$<file>".
#include "cmessagebox.h"
#include "ctranslations.h"
#include "mainwindow.h"
#include "qsimpleupdater.h"

#include <QApplication>
#include <QDebug>
#include <QFont>
#include <QTranslator>

#include <cstdio>

namespace {
// Log lines share the caller's pipe with the verdict, which is the one line
// that may carry a "$".
void logHandler(QtMsgType, const QMessageLogContext &, const QString &message)
{
    QString line = message;
    line.replace(QLatin1Char('$'), QChar(0xFF04));
    const QByteArray bytes = line.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qelupdate"));
    QApplication::setFont(QFont(QStringLiteral("Microsoft Yahei"), 9));
    qInstallMessageHandler(logHandler);

    QTranslator translator;
    if (CTranslations::GetLanguage(QStringLiteral("qelupdate.ini")) == CTranslations::English) {
        CTranslations::LoadTranslations(true);
        if (translator.load(QStringLiteral(":/qelupdate_en.qm")))
            QApplication::installTranslator(&translator);
    }
    // Unattended runs (scripted installs, tests) answer every question with yes
    // and end when the work is done.
    const bool unattended = qEnvironmentVariableIntValue("QELUPDATE_ASSUME_YES") == 1;
    if (unattended) {
        CMessageBox::SetResponder([](CMessageBox::Kind kind, const QString &title, const QString &text) {
            qInfo().noquote() << title << text;
            return kind == CMessageBox::Question ? QMessageBox::Yes : QMessageBox::Ok;
        });
    }

    int ret = 1;
    {
        MainWindow window(app.arguments().mid(1));
        if (unattended)
            QObject::connect(&window, &MainWindow::finished, &app, &QCoreApplication::quit, Qt::QueuedConnection);
        if (window.Start()) {
            window.show();
            ret = app.exec();
        }
    }
    QSimpleUpdater::release();
    return ret;
}
