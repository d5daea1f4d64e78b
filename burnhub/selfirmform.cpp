#include "selfirmform.h"
#include "ui_selfirmform.h"

#include "functool.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {
const char kTimeFormat[] = "yyyy-MM-dd hh:mm:ss";
}

selfirmform::selfirmform(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::selfirmform>())
{
    ui->setupUi(this);
    on_edit_path_textChanged(QString());
}

selfirmform::~selfirmform() = default;

void selfirmform::SetPath(const QString &path)
{
    // The same text emits no change, yet the file may have changed since.
    if (ui->edit_path->text() == path)
        on_edit_path_textChanged(path);
    else
        ui->edit_path->setText(path);
}

QString selfirmform::GetSelPath() const
{
    return ui->edit_path->text();
}

void selfirmform::SetSendFirmUI(bool busy)
{
    ui->btn_open->setEnabled(!busy);
}

void selfirmform::on_btn_open_clicked()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("选择固件文件"), QString(), QStringLiteral("bin file (*.bin)"));
    if (!path.isEmpty())
        ui->edit_path->setText(QDir::toNativeSeparators(path));
}

void selfirmform::on_edit_path_textChanged(const QString &path)
{
    const QFileInfo info(QDir::fromNativeSeparators(path));
    if (!path.isEmpty() && info.isFile()) {
        ui->edit_size->setText(QString::number(info.size()));
        ui->edit_date->setText(info.lastModified().toString(QLatin1String(kTimeFormat)));
        ui->edit_crc->setText(FuncTool::CalcFileCRC(info.filePath(), 0));
    } else {
        ui->edit_size->setText(QStringLiteral("0"));
        ui->edit_date->setText(QDateTime::fromSecsSinceEpoch(0).toString(QLatin1String(kTimeFormat)));
        ui->edit_crc->setText(QStringLiteral("00000000"));
    }
}

void selfirmform::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        ui->label_tip->setText(tr("提示：\n下发固件文件并重启下载器后，将更新下载器固件."));
    }
    QWidget::changeEvent(event);
}
