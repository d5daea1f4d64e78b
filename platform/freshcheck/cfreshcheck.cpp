#include "cfreshcheck.h"

#include "cpubactions.h"
#include "cupdatedefinition.h"
#include "updateinter.h"

#include <QDebug>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {
// A definition is a few hundred bytes; anything far larger is not one.
constexpr qint64 kMaxDefinition = 1 << 20;
constexpr int kTimeoutMs = 15000;
} // namespace

// Hands the updater's verdict back to the check that started it.
class CFreshCheck::Runner : public UpdateInter
{
public:
    explicit Runner(CFreshCheck *owner) : UpdateInter(nullptr), m_pOwner(owner) {}
    void FinishUpdate(bool ok, const QString &message) override { m_pOwner->OnUpdaterDone(ok, message); }

private:
    CFreshCheck *m_pOwner;
};

CFreshCheck::CFreshCheck(QObject *parent) : QObject(parent), m_pNet(new QNetworkAccessManager(this))
{
    connect(m_pNet, &QNetworkAccessManager::finished, this, &CFreshCheck::OnReply);
}

CFreshCheck::~CFreshCheck()
{
    // Replies still running would call back into a half-destroyed object.
    m_pNet->disconnect(this);
    const QList<QNetworkReply *> replies = m_pending.keys();
    m_pending.clear();
    for (QNetworkReply *reply : replies) {
        reply->abort();
        reply->deleteLater();
    }
}

void CFreshCheck::SetUpdaterProgram(const QString &path)
{
    m_strUpdater = path;
    if (m_pRunner)
        m_pRunner->SetUpdaterProgram(path);
}

QString CFreshCheck::DefinitionUrl(const QString &module, const QString &iniFile)
{
    // Same address as the updater is given, so both read one definition.
    QString file = module;
    file.remove(QLatin1String(".exe"));
    const QString def = QLatin1String(UpdateInter::DefaultServer) + QLatin1String("/api/files/") + file
        + QLatin1String(".json");
    return CPubActions(false).GetString(QStringLiteral("UPDATE"), QStringLiteral("URL"), def, iniFile);
}

bool CFreshCheck::ParseDefinition(const QByteArray &json, Release &release, QString &reason)
{
    CUpdateDefinition definition;
    if (!definition.Parse(json, reason)) {
        reason = QStringLiteral("json: ") + reason;
        return false;
    }
    release.strLatest = definition.strLatest;
    release.strChangelog = definition.strChangelog;
    release.strUrl = definition.strDownloadUrl;
    if (release.strLatest.isEmpty()) {
        reason = QStringLiteral("no latest-version");
        return false;
    }
    return true;
}

bool CFreshCheck::IsNewer(const QString &latest, const QString &current)
{
    return CUpdateDefinition::IsNewer(latest, current);
}

void CFreshCheck::CheckUpdate(const QString &title, const QString &iniFile, const QString &current, bool install,
                              const QString &module, bool firmware)
{
    for (const Pending &p : qAsConst(m_pending)) {
        if (p.release.strModule == module && p.release.strCurrent == current) {
            qDebug() << title << "already checking" << module << current;
            return;
        }
    }
    const QUrl url(DefinitionUrl(module, iniFile));
    qDebug() << title << module << current << url.toString();
    Pending pending;
    pending.strTitle = title;
    pending.strIniFile = iniFile;
    pending.bInstall = install;
    pending.release.strModule = module;
    pending.release.strCurrent = current;
    pending.release.bFirmware = firmware;

    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setRawHeader("User-Agent", QStringLiteral("%1/%2 (Qt; CFreshCheck)").arg(module, current).toUtf8());
    request.setTransferTimeout(kTimeoutMs);
    QNetworkReply *reply = m_pNet->get(request);
    m_pending.insert(reply, pending);
    // Refuse oversized answers early instead of buffering them.
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > kMaxDefinition)
            reply->abort();
    });
}

void CFreshCheck::OnReply(QNetworkReply *reply)
{
    reply->deleteLater();
    const auto it = m_pending.find(reply);
    if (it == m_pending.end())
        return;
    Pending pending = it.value();
    m_pending.erase(it);

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError) {
        OnCheckFailed(pending.release.strModule,
                      status > 0 ? QStringLiteral("HTTP %1").arg(status) : reply->errorString());
        return;
    }
    QString reason;
    if (!ParseDefinition(reply->readAll(), pending.release, reason)) {
        OnCheckFailed(pending.release.strModule, reason);
        return;
    }
    if (!IsNewer(pending.release.strLatest, pending.release.strCurrent)) {
        OnLatest(pending.release);
        return;
    }
    OnAvailable(pending.release);
    if (pending.bInstall)
        RunUpdater(pending);
}

void CFreshCheck::RunUpdater(const Pending &pending)
{
    if (!m_pRunner) {
        m_pRunner = std::make_unique<Runner>(this);
        if (!m_strUpdater.isEmpty())
            m_pRunner->SetUpdaterProgram(m_strUpdater);
    }
    m_installing = pending.release;
    m_pRunner->CheckUpdate(pending.release.strModule, pending.strIniFile, pending.release.strCurrent,
                           pending.release.bFirmware);
}

void CFreshCheck::OnUpdaterDone(bool ok, const QString &message)
{
    OnInstalled(m_installing, ok, message);
}

void CFreshCheck::OnLatest(const Release &) {}
void CFreshCheck::OnAvailable(const Release &) {}
void CFreshCheck::OnCheckFailed(const QString &, const QString &) {}
void CFreshCheck::OnInstalled(const Release &, bool, const QString &) {}
