#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "cmessagebox.h"
#include "functool.h"
#include "qsimpleupdater.h"

#include <QCoreApplication>

MainWindow::MainWindow(const QStringList &args, QWidget *parent)
    : QMainWindow(parent), m_ui(new Ui::MainWindow), m_args(args)
{
    m_ui->setupUi(this);
    QSimpleUpdater *updater = QSimpleUpdater::getInstance();
    connect(updater, &QSimpleUpdater::checkingFinished, this, &MainWindow::onCheckingFinished);
    connect(updater, &QSimpleUpdater::logGenerated, this, &MainWindow::onLog);
    connect(updater, &QSimpleUpdater::workFinished, this, [this](const QString &url) {
        if (url == m_strUrl)
            emit finished();
    });
}

MainWindow::~MainWindow()
{
    delete m_ui;
}

bool MainWindow::Start()
{
    if (m_args.size() < 3) {
        CMessageBox::Warn(this, tr("错误"), tr("传入参数不正确!"));
        return false;
    }
    QString folder = QCoreApplication::applicationDirPath();
    m_strUrl = m_args.at(1);
    m_ui->edit_path->setText(folder);
    m_ui->edit_name->setText(m_args.at(0));
    m_ui->edit_url->setText(m_strUrl);
    m_ui->edit_version->setText(FuncTool::CleanVer(m_args.at(2)));

    QSimpleUpdater *updater = QSimpleUpdater::getInstance();
    updater->setModuleName(m_strUrl, m_args.at(0));
    updater->setModuleVersion(m_strUrl, m_args.at(2));
    updater->setProgramDir(m_strUrl, folder);
    updater->setNotifyOnUpdate(m_strUrl, true);
    updater->setNotifyOnFinish(m_strUrl, true);
    updater->setDownloaderEnabled(m_strUrl, true);
    // A firmware package is flashed by the program that asked for it.
    updater->setUseCustomInstallProcedure(m_strUrl, m_args.value(3).toInt() != 0);
    on_btn_check_clicked();
    return true;
}

void MainWindow::on_btn_check_clicked()
{
    m_ui->label_result->setText(tr("开始检查更新..."));
    m_ui->edit_latest->clear();
    QSimpleUpdater::getInstance()->checkForUpdates(m_strUrl);
}

void MainWindow::onCheckingFinished(const QString &url)
{
    if (url != m_strUrl)
        return;
    const QSimpleUpdater *updater = QSimpleUpdater::getInstance();
    m_ui->edit_latest->setText(updater->getLatestVersion(url));
    if (!updater->getUpdateAvailable(url)) {
        m_ui->label_result->setText(tr("版本检查失败!"));
        return;
    }
    m_ui->label_result->setText(tr("检测到最新版本: ") + updater->getLatestVersion(url) + QLatin1Char('\n')
                                + tr("更新日志: ") + updater->getChangelog(url));
}

void MainWindow::onLog(const QString &url, const QString &text)
{
    if (url == m_strUrl)
        m_ui->text_log->appendPlainText(text);
}

void MainWindow::on_btn_close_clicked()
{
    close();
}

void MainWindow::on_action_exit_triggered()
{
    close();
}

void MainWindow::on_action_about_triggered()
{
    CMessageBox::Info(this, tr("关于"), QStringLiteral("qelupdate v1.0"));
}
