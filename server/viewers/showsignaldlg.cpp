#include "showsignaldlg.h"

#include <cmessagebox.h>
#include <signalform.h>

#include <QDebug>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

showsignaldlg::showsignaldlg(const CProgerWay &way, QWidget *parent) : QDialog(parent), m_way(way)
{
    setObjectName(QStringLiteral("showsignaldlg"));
    const bool usb = m_way.GetKind() == CProgerWay::KindUsb;
    setWindowTitle(usb ? tr("查看下载器信号配置-USB") : m_way.Title(tr("查看下载器信号配置 ")));
    auto *layout = new QVBoxLayout(this);
    m_pForm = new signalform(this);
    layout->addWidget(m_pForm, 1);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("下发"), QDialogButtonBox::ActionRole)->setObjectName(QStringLiteral("btn_update"));
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btn_cancel"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    QMetaObject::connectSlotsByName(this);
}

void showsignaldlg::Open()
{
    switch (m_way.GetKind()) {
    case CProgerWay::KindDisk:
        ShowLocal();
        break;
    case CProgerWay::KindUsb:
        emit sigLog(tr("正在读取烧录器信号配置"));
        m_bPulling = m_way.PullSignal();
        // Busy with another pull (or gone): the copy the console pulled last.
        if (!m_bPulling)
            ShowLocal();
        break;
    case CProgerWay::KindRemote:
        if (!m_way.RequestConfig())
            emit sigLog(tr("远程下载器连接不可用"));
        break;
    case CProgerWay::KindNone:
        break;
    }
}

void showsignaldlg::Missing()
{
    CMessageBox::Warn(this, tr("提示"), tr("本地下载器信号配置不存在, 可下发更新"));
}

void showsignaldlg::ShowLocal()
{
    QMap<QString, QString> signal;
    QString err;
    if (!m_way.ReadSignal(signal, err)) {
        qDebug() << "showsignaldlg::ShowLocal" << err;
        Missing();
        return;
    }
    m_pForm->ShowSignal(signal);
}

void showsignaldlg::OnPullDone(const QString &key, const QString &path, bool ok)
{
    if (!m_bPulling || key != m_way.Proger().m_strRoot || path != QLatin1String(CProgerWay::kSignalPath))
        return;
    m_bPulling = false;
    if (!ok) {
        // An old copy would show settings the programmer no longer has.
        Missing();
        return;
    }
    ShowLocal();
    emit sigLog(tr("烧录器信号配置已刷新"));
}

void showsignaldlg::ShowConfig(const QMap<QString, QString> &config)
{
    const QMap<QString, QString> signal = CProgerWay::SignalPart(config);
    if (!signal.isEmpty())
        m_pForm->ShowSignal(signal);
}

void showsignaldlg::on_btn_update_clicked()
{
    if (m_way.GetKind() == CProgerWay::KindNone || (m_selected && !m_selected())) {
        CMessageBox::Warn(this, tr("提示"), tr("下载器未选择!"));
        return;
    }
    if (m_way.GetKind() == CProgerWay::KindRemote) {
        // The station loads what it receives by its kind; a signal file is none of them.
        CMessageBox::Warn(this, tr("提示"), tr("仅支持本地下载器"));
        return;
    }
    if (CMessageBox::Ask(this, tr("提示"), tr("下发镜像将修改下载器的信号配置，是否继续?")) != QMessageBox::Yes)
        return;
    ProgerSignal sig;
    m_pForm->GetProgSignal(sig);
    QString path;
    QString err;
    if (!m_way.WriteSignal(sig, path, err)) {
        qDebug() << "showsignaldlg::on_btn_update_clicked" << err;
        CMessageBox::Warn(this, tr("提示"), tr("信号配置文件保存失败!"));
        return;
    }
    qDebug() << "下发信号配置文件";
    const bool ok = m_way.SendSignal(path, err);
    if (m_way.GetKind() == CProgerWay::KindDisk) {
        emit sigLog(tr("本地信号配置下发%1").arg(ok ? tr("成功，重新上电烧录器后生效") : tr("失败")));
    } else if (!ok) {
        emit sigLog(err);
    }
}
