#pragma once
// The updater's window: what is updated, the check's result and the log.
#include <QMainWindow>
#include <QStringList>

namespace Ui {
class MainWindow;
}

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // args: module name, definition URL, current version, optional flag ("1":
    // a firmware package, which the caller installs by itself).
    explicit MainWindow(const QStringList &args, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Starts the check; false (after a warning) when the arguments are incomplete.
    bool Start();

signals:
    // This run's work is over (no update, a failure, or the installation ended).
    void finished();

private slots:
    void on_btn_check_clicked();
    void on_btn_close_clicked();
    void on_action_exit_triggered();
    void on_action_about_triggered();

private:
    void onCheckingFinished(const QString &url);
    void onLog(const QString &url, const QString &text);

    Ui::MainWindow *m_ui;
    QStringList m_args;
    QString m_strUrl;
};
