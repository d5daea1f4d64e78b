#include "myfreshcheck.h"

#include "cpubactions.h"
#include "serverdefs.h"
#include "serverevents.h"
#include "traymessagedlg.h"
#include "updateinter.h"

namespace {
constexpr int kTipMs = 10000;
}

MyFreshCheck::MyFreshCheck(QObject *parent) : CFreshCheck(parent) {}

QString MyFreshCheck::DownloadPage()
{
    const QString def = QLatin1String(UpdateInter::DefaultServer) + QStringLiteral("/download");
    return CPubActions(false).GetString(QStringLiteral("UPDATE"), QStringLiteral("PAGE"), def, ServerDefs::IniFile());
}

QString MyFreshCheck::Details(const Release &release)
{
    return tr("\nversion: %1\nchange: %2").arg(release.strLatest, release.strChangelog);
}

void MyFreshCheck::ShowTip(const QString &text, bool rich)
{
    TrayMessageDlg::showTip(tr("在线更新"), text, kTipMs, rich ? Qt::RichText : Qt::PlainText);
}

void MyFreshCheck::OnLatest(const Release &release)
{
    ShowTip(tr("当前已使用最新版本：%1").arg(release.strCurrent));
}

void MyFreshCheck::OnAvailable(const Release &release)
{
    // Rich text, for the link; the details keep their line breaks as <br>.
    QString details = Details(release).toHtmlEscaped();
    details.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    const QString page = DownloadPage().toHtmlEscaped();
    ShowTip(tr("发现新版本 %1 (%2)，<a href=\"%3\">前往下载页面</a>")
                .arg(release.strLatest.toHtmlEscaped(), release.strModule.toHtmlEscaped(), page)
                + details,
            true);
}

void MyFreshCheck::OnCheckFailed(const QString &module, const QString &reason)
{
    ShowTip(tr("检查更新失败") + QStringLiteral("\n%1: %2").arg(module, reason));
}

void MyFreshCheck::OnInstalled(const Release &release, bool ok, const QString &message)
{
    if (!ok) {
        ShowTip(tr("检查更新失败") + QStringLiteral("\n") + message);
        return;
    }
    if (release.bFirmware) {
        ShowTip(tr("固件更新成功[%1]").arg(release.strLatest) + Details(release));
        ServerEvents::PostFirmDown(message);
        return;
    }
    ShowTip(tr("上位机更新成功[%1]").arg(release.strLatest) + tr("请退出当前进程，重新启动最新版本:") + message
            + Details(release));
}
