#include "cscreenshot.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPixmap>
#include <QPointer>
#include <QTextStream>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>
#include <functional>

namespace {
constexpr int kDefaultDelayMs = 3000;
constexpr int kSettleMs = 600;       // a dialog is painted once it is up
constexpr int kConsoleMs = 4000;     // the console initialises its programmers

void Report(bool saved, const QString &path)
{
    QTextStream out(stdout);
    out << (saved ? "screenshot: " : "screenshot failed: ") << path << Qt::endl;
}

// Runs one scene after another on the event loop; each gets the next as its end.
class CScenes : public QObject
{
public:
    CScenes(QWidget *window, const QString &dir, const QString &tag)
        : QObject(window), m_window(window), m_dir(dir), m_tag(tag)
    {
    }

    void Start(int delay)
    {
        QTimer::singleShot(delay, this, [this]() { MainWindowScene(); });
    }

private:
    QString PathOf(const QString &scene) const
    {
        return QDir(m_dir).filePath(QStringLiteral("%1_%2.png").arg(scene, m_tag));
    }

    void Shoot(QWidget *widget, const QString &scene)
    {
        const QString path = PathOf(scene);
        Report(widget && CScreenShot::Save(widget, path), path);
    }

    void Trigger(const char *action)
    {
        if (QAction *a = m_window->findChild<QAction *>(QLatin1String(action)))
            a->trigger();
    }

    // The dialog an action opens is pictured and closed again; the action's own
    // loop then returns and the next scene follows.
    void DialogScene(const char *action, const QString &scene, std::function<void()> next)
    {
        // The poll runs inside the dialog's own loop and ends with the scene.
        QTimer poll;
        poll.setInterval(100);
        connect(&poll, &QTimer::timeout, this, [this, &poll, scene]() {
            QPointer<QWidget> dlg = QApplication::activeModalWidget();
            if (!dlg)
                return;
            poll.stop();
            QTimer::singleShot(kSettleMs, this, [this, dlg, scene]() {
                Shoot(dlg, scene);
                if (auto *d = qobject_cast<QDialog *>(dlg.data()))
                    d->reject();
            });
        });
        poll.start();
        Trigger(action);
        QTimer::singleShot(0, this, std::move(next));
    }

    // A window that is not modal: opened, pictured once it has settled, closed,
    // then the next scene.
    void WindowScene(const std::function<void()> &open, const char *className, const QString &scene,
                     std::function<void()> next)
    {
        open();
        QTimer::singleShot(kSettleMs, this, [this, className, scene, next = std::move(next)]() {
            QWidget *window = nullptr;
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->inherits(className) && w->isVisible())
                    window = w;
            Shoot(window, scene);
            if (window)
                window->close();
            next();
        });
    }

    void Click(QWidget *parent, const char *button)
    {
        if (auto *b = parent ? parent->findChild<QAbstractButton *>(QLatin1String(button)) : nullptr)
            b->click();
    }

    // The tool dialogs on the ticked programmer and the cloud double.
    void ToolScenes()
    {
        WindowScene([this]() { Click(m_window, "btn_imagemgr"); }, "showimagedlg", QStringLiteral("images"), [this]() {
            WindowScene([this]() { Trigger("actionproc"); }, "sendfirmdlg", QStringLiteral("firmware"), [this]() {
                WindowScene([this]() { Trigger("actionbackup"); }, "backuploaddlg", QStringLiteral("backup"), [this]() {
                    WindowScene([this]() { Trigger("actionupload"); }, "uploaderlogindlg", QStringLiteral("upload"),
                                [this]() { ConsoleScene(); });
                });
            });
        });
    }

    void MainWindowScene()
    {
        // A ticked programmer: the configuration panel names it, the password dialog takes it.
        if (auto *list = m_window->findChild<QTreeWidget *>(QStringLiteral("lv_prog")))
            if (list->topLevelItemCount() > 0)
                list->topLevelItem(0)->setCheckState(0, Qt::Checked);
        QTimer::singleShot(kSettleMs, this, [this]() {
            Shoot(m_window, QStringLiteral("main"));
            DialogScene("actionexportimage", QStringLiteral("export"), [this]() {
                DialogScene("actionpassword", QStringLiteral("password"), [this]() { ToolScenes(); });
            });
        });
    }

    void ConsoleScene()
    {
        Trigger("actionusbvcpcol");
        QTimer::singleShot(kConsoleMs, this, [this]() {
            QWidget *console = nullptr;
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->inherits("usbcontroldlg") && w->isVisible())
                    console = w;
            Shoot(console, QStringLiteral("console"));
            // The BIN2 editor opens from the console.
            WindowScene([this, console]() { Click(console, "btn_editBin2"); }, "EditXieChangBinDlg", QStringLiteral("bin2"),
                        []() {
                            // No exit question: the pictures are all that was asked for.
                            QCoreApplication::exit(0);
                        });
        });
    }

    QWidget *m_window;
    QString m_dir;
    QString m_tag;
};
} // namespace

bool CScreenShot::Save(QWidget *widget, const QString &path)
{
    return widget->grab().save(path, "PNG");
}

bool CScreenShot::ScheduleFromEnvironment(QWidget *window)
{
    bool ok = false;
    int delay = qEnvironmentVariableIntValue("QEL_SCREENSHOT_DELAY", &ok);
    if (!ok || delay < 0)
        delay = kDefaultDelayMs;

    const QString dir = QString::fromLocal8Bit(qgetenv("QEL_SCREENSHOT_DIR"));
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        QString tag = QString::fromLocal8Bit(qgetenv("QEL_SCREENSHOT_TAG"));
        if (tag.isEmpty())
            tag = QStringLiteral("shot");
        (new CScenes(window, dir, tag))->Start(delay);
        return true;
    }

    const QString path = QString::fromLocal8Bit(qgetenv("QEL_SCREENSHOT"));
    if (path.isEmpty())
        return false;
    QPointer<QWidget> target(window);
    QTimer::singleShot(delay, window, [target, path]() {
        Report(target && Save(target, path), path);
        QCoreApplication::exit(0);
    });
    return true;
}
