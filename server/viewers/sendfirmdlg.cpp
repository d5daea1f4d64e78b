#include "sendfirmdlg.h"

#include <cmessagebox.h>
#include <selfirmform.h>

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kFirmName = QStringLiteral("update.bin");
}

sendfirmdlg::sendfirmdlg(const CProgerWay &way, QWidget *parent) : QDialog(parent), m_way(way)
{
    setObjectName(QStringLiteral("sendfirmdlg"));
    setWindowTitle(tr("更新下载器固件程序"));
    auto *layout = new QVBoxLayout(this);
    auto *group = new QGroupBox(tr("选择固件程序"), this);
    auto *groupLayout = new QVBoxLayout(group);
    m_pForm = new selfirmform(group);
    groupLayout->addWidget(m_pForm);
    layout->addWidget(group, 1);
    m_pProgress = new QProgressBar(this);
    m_pProgress->setObjectName(QStringLiteral("progress_firm"));
    m_pProgress->setRange(0, 100);
    m_pProgress->setValue(0);
    layout->addWidget(m_pProgress);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("下发固件程序"), QDialogButtonBox::ActionRole)->setObjectName(QStringLiteral("btn_down"));
    buttons->addButton(QDialogButtonBox::Close)->setObjectName(QStringLiteral("btn_close"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    QMetaObject::connectSlotsByName(this);
}

void sendfirmdlg::SetFirmPath(const QString &path)
{
    m_pForm->SetPath(path);
}

int sendfirmdlg::Progress() const
{
    return m_pProgress->value();
}

void sendfirmdlg::SetSending(bool sending)
{
    m_bSending = sending;
    m_pForm->SetSendFirmUI(sending);
    if (QPushButton *down = findChild<QPushButton *>(QStringLiteral("btn_down")))
        down->setEnabled(!sending);
}

void sendfirmdlg::on_btn_down_clicked()
{
    const QString path = m_pForm->GetSelPath().trimmed();
    // The form shows paths with "\" as chosen on Windows; the file is the same.
    const QString file = QFileInfo::exists(path) ? path : QString(path).replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (path.isEmpty() || !QFileInfo(file).isFile()) {
        CMessageBox::Warn(this, tr("提示"), tr("选择固件文件不存在"));
        return;
    }
    if (CMessageBox::Ask(this, tr("提示"), tr("下发固件文件并重启下载器后，将更新下载器固件，是否继续?")) != QMessageBox::Yes)
        return;
    QString staged;
    QString err;
    if (!m_way.StageFirm(file, staged, err)) {
        emit sigLog(tr("下发固件%1").arg(tr("失败")) + QLatin1Char(' ') + err);
        return;
    }
    m_pProgress->setRange(0, 100);
    m_pProgress->setValue(0);
    switch (m_way.GetKind()) {
    case CProgerWay::KindDisk: {
        SetSending(true);
        const bool ok = m_way.SendFirm(staged, err);
        emit sigLog(tr("下发固件%1").arg(ok ? tr("成功") : tr("失败")));
        Finish(ok);
        break;
    }
    case CProgerWay::KindUsb:
        emit sigLog(tr("USB 模式下发固件... 请勿断开连接"));
        SetSending(true);
        if (!m_way.SendFirm(staged, err)) {
            emit sigLog(err);
            Finish(false);
        }
        break;
    case CProgerWay::KindRemote:
        SetSending(true);
        // No measure of the station's progress: busy until it answers.
        m_pProgress->setRange(0, 0);
        if (!m_way.SendFirm(staged, err)) {
            emit sigLog(err);
            Finish(false);
        }
        break;
    case CProgerWay::KindNone:
        break;
    }
}

void sendfirmdlg::Finish(bool ok)
{
    m_pProgress->setRange(0, 100);
    if (ok)
        m_pProgress->setValue(100);
    SetSending(false);
}

void sendfirmdlg::OnUsbProgress(const QString &key, const QString &name, int percent)
{
    if (m_bSending && m_way.GetKind() == CProgerWay::KindUsb && key == m_way.Proger().m_strRoot && name == kFirmName)
        m_pProgress->setValue(qBound(0, percent, 100));
}

void sendfirmdlg::OnUsbResult(const QString &key, const QString &name, bool ok)
{
    if (!m_bSending || m_way.GetKind() != CProgerWay::KindUsb || key != m_way.Proger().m_strRoot || name != kFirmName)
        return;
    emit sigLog(tr("下发固件%1").arg(ok ? tr("成功") : tr("失败")));
    Finish(ok);
}

void sendfirmdlg::OnUsbGone(const QString &key)
{
    OnUsbResult(key, kFirmName, false);
}

void sendfirmdlg::OnRemoteLoaded(const QString &name, bool ok)
{
    if (m_bSending && m_way.GetKind() == CProgerWay::KindRemote && name == kFirmName)
        Finish(ok);
}
