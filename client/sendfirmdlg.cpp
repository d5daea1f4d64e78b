#include "sendfirmdlg.h"

#include "clocalproger.h"

#include <cmessagebox.h>

#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

sendfirmdlg::sendfirmdlg(const CStationProger *proger, const QString &file, QWidget *parent)
    : QDialog(parent), m_pProger(proger)
{
    setObjectName(QStringLiteral("sendfirmdlg"));
    setWindowTitle(tr("下发固件%1").arg(proger ? proger->Text() : QString()));
    auto *layout = new QVBoxLayout(this);
    auto *group = new QGroupBox(tr("选择固件程序"), this);
    auto *row = new QHBoxLayout(group);
    edit_file = new QLineEdit(file, group);
    edit_file->setObjectName(QStringLiteral("edit_file"));
    edit_file->setMinimumWidth(320);
    auto *browse = new QPushButton(tr("选择文件"), group);
    browse->setObjectName(QStringLiteral("btn_file"));
    row->addWidget(edit_file, 1);
    row->addWidget(browse);
    layout->addWidget(group);
    auto *send = new QPushButton(tr("下发固件程序"), this);
    send->setObjectName(QStringLiteral("btn_send"));
    layout->addWidget(send);
    QMetaObject::connectSlotsByName(this);
}

QString sendfirmdlg::File() const
{
    return edit_file->text().trimmed();
}

void sendfirmdlg::on_btn_file_clicked()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("选择文件"), QString(), QStringLiteral("bin file (*.bin)"));
    if (!path.isEmpty())
        edit_file->setText(path);
}

void sendfirmdlg::on_btn_send_clicked()
{
    if (!QFileInfo(File()).isFile()) {
        CMessageBox::Warn(this, tr("提示"), tr("选择固件文件不存在"));
        return;
    }
    if (CMessageBox::Ask(this, tr("提示"), tr("下发固件文件并重启下载器后，将更新下载器固件，\n是否继续?")) != QMessageBox::Yes)
        return;
    QString err;
    if (!CLocalProger(m_pProger).DownFirm(File(), err)) {
        emit sigLog(err);
        CMessageBox::Warn(this, tr("提示"), err);
        return;
    }
    emit sigLog(tr("固件已下发:") + File());
    accept();
}
