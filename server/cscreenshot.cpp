#include "cscreenshot.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QPointer>
#include <QTextStream>
#include <QTimer>
#include <QWidget>

namespace {
constexpr int kDefaultDelayMs = 3000;
}

bool CScreenShot::Save(QWidget *window, const QString &path)
{
    return window->grab().save(path, "PNG");
}

bool CScreenShot::ScheduleFromEnvironment(QWidget *window)
{
    const QString path = QString::fromLocal8Bit(qgetenv("QEL_SCREENSHOT"));
    if (path.isEmpty())
        return false;
    bool ok = false;
    int delay = qEnvironmentVariableIntValue("QEL_SCREENSHOT_DELAY", &ok);
    if (!ok || delay < 0)
        delay = kDefaultDelayMs;
    QPointer<QWidget> target(window);
    QTimer::singleShot(delay, window, [target, path]() {
        QTextStream out(stdout);
        if (target && Save(target, path))
            out << "screenshot: " << path << Qt::endl;
        else
            out << "screenshot failed: " << path << Qt::endl;
        // No exit question: the picture is all that was asked for.
        QCoreApplication::exit(0);
    });
    return true;
}
