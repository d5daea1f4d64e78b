#include "updateinter.h"
#include "cmessagebox.h"
#include "cpubactions.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QWidget>

#include <utility>

const char UpdateInter::DefaultServer[] = "http://127.0.0.1:8085";

namespace {
const char kUpdaterName[] = "qelupdate";
constexpr int kStopMs = 3000;
} // namespace

UpdateInter::UpdateInter(QWidget *parent) : QObject(parent), m_pParent(parent) {}

UpdateInter::~UpdateInter()
{
    StopUpdater();
}

QString UpdateInter::UpdaterProgram() const
{
    if (!m_strUpdater.isEmpty())
        return m_strUpdater;
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(kUpdaterName);
}

void UpdateInter::StopUpdater()
{
    if (!m_pProcess)
        return;
    m_pProcess->disconnect(this);
    if (m_pProcess->state() != QProcess::NotRunning) {
        m_pProcess->terminate();
        if (!m_pProcess->waitForFinished(kStopMs)) {
            m_pProcess->kill();
            m_pProcess->waitForFinished(kStopMs);
        }
    }
    // Later: this may run inside one of the process's own signals.
    m_pProcess->deleteLater();
    m_pProcess = nullptr;
    m_pending.clear();
}

void UpdateInter::CheckUpdate(const QString &appName, const QString &iniFile, const QString &current, bool firmware)
{
    const QString program = UpdaterProgram();
    if (!QFileInfo(program).isFile()) {
        CMessageBox::Warn(m_pParent, tr("错误"), QLatin1String(kUpdaterName) + tr(" 未找到，无法检查更新!"));
        return;
    }
    StopUpdater();
    m_pProcess = new QProcess(this);
    m_pProcess->setProcessChannelMode(QProcess::MergedChannels);
    connect(m_pProcess, &QProcess::readyRead, this, &UpdateInter::getOutput);
    connect(m_pProcess, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this, [this]() {
        getOutput();
        // A last line without its line end still counts.
        if (!m_pending.isEmpty())
            HandleLine(QString::fromLocal8Bit(std::exchange(m_pending, QByteArray())));
    });
    const QStringList args{appName, GetUrl(appName, iniFile), current, firmware ? QStringLiteral("1") : QStringLiteral("0")};
    qDebug() << "UpdateInter::CheckUpdate" << program << args;
    m_pProcess->start(program, args);
}

QString UpdateInter::GetUrl(const QString &appName, const QString &iniFile) const
{
    QString file = appName;
    file.remove(QLatin1String(".exe"));
    file += QLatin1String(".json");
    const QString def = QLatin1String(DefaultServer) + QLatin1String("/api/files/") + file;
    return CPubActions(false).GetString(QStringLiteral("UPDATE"), QStringLiteral("URL"), def, iniFile);
}

void UpdateInter::getOutput()
{
    if (!m_pProcess)
        return;
    m_pending += m_pProcess->readAll();
    // Output arrives in chunks; a verdict is read only once its line is whole.
    int end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        const QByteArray line = m_pending.left(end);
        m_pending.remove(0, end + 1);
        HandleLine(QString::fromLocal8Bit(line));
    }
}

void UpdateInter::HandleLine(const QString &raw)
{
    const QString line = raw.trimmed();
    qDebug() << "UpdateInter get output: " << line;
    if (!line.contains(QLatin1Char('$')))
        return;
    const bool ok = line.section(QLatin1Char('$'), 0, 0).trimmed() == QLatin1String("success");
    FinishUpdate(ok, line.section(QLatin1Char('$'), 1, 1));
}

void UpdateInter::FinishUpdate(bool, const QString &) {}
