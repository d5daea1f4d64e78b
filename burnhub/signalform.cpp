#include "signalform.h"
#include "ui_signalform.h"

#include <QComboBox>
#include <QDebug>
#include <QRegularExpressionValidator>

const char signalform::TimePattern[] = "^([8-9]\\d|[1-4]\\d{0,2}|4[0-9]\\d|500)$";

namespace {
bool SelectPosition(QComboBox *combo, const QString &value)
{
    bool ok = false;
    const int pos = value.trimmed().toInt(&ok);
    if (!ok || pos < 0 || pos >= combo->count()) {
        qDebug() << "signalform: no item" << value << "in" << combo->objectName();
        return false;
    }
    combo->setCurrentIndex(pos);
    return true;
}
} // namespace

signalform::signalform(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::signalform>())
{
    ui->setupUi(this);
    for (QComboBox *combo : findChildren<QComboBox *>()) {
        combo->addItem(QString(), 0);
        combo->addItem(QString(), 1);
    }
    FillItems();
    for (QComboBox *combo : {ui->combo_busySignal, ui->combo_successSignal, ui->combo_failSignal})
        combo->setCurrentIndex(1);

    const QRegularExpression pattern(QString::fromLatin1(TimePattern));
    ui->edit_signalDuration->setValidator(new QRegularExpressionValidator(pattern, ui->edit_signalDuration));
    ui->edit_startTime->setValidator(new QRegularExpressionValidator(pattern, ui->edit_startTime));
    ui->edit_signalDuration->setText(QStringLiteral("80"));
    ui->edit_startTime->setText(QStringLiteral("80"));

    connect(ui->combo_signalType, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &signalform::SetEditEnable);
    SetEditEnable(ui->combo_signalType->currentIndex());
}

signalform::~signalform() = default;

void signalform::FillItems()
{
    ui->combo_signalType->setItemText(0, tr("电平信号"));
    ui->combo_signalType->setItemText(1, tr("脉冲信号"));
    for (QComboBox *combo : {ui->combo_startLevel, ui->combo_busySignal, ui->combo_successSignal, ui->combo_failSignal}) {
        combo->setItemText(0, tr("低电平"));
        combo->setItemText(1, tr("高电平"));
    }
}

void signalform::GetProgSignal(ProgerSignal &sig) const
{
    sig.signalType = ui->combo_signalType->currentData().toInt() != 0;
    sig.signalDuration = ui->edit_signalDuration->text().toInt();
    sig.startLevel = ui->combo_startLevel->currentData().toInt() != 0;
    sig.startTime = ui->edit_startTime->text().toInt();
    sig.busySignal = ui->combo_busySignal->currentData().toInt() != 0;
    sig.successSignal = ui->combo_successSignal->currentData().toInt() != 0;
    sig.failSignal = ui->combo_failSignal->currentData().toInt() != 0;
}

void signalform::ShowSignal(const QMap<QString, QString> &map)
{
    const QMap<QString, QComboBox *> combos{{"signalType", ui->combo_signalType},
                                            {"startLevel", ui->combo_startLevel},
                                            {"busySignal", ui->combo_busySignal},
                                            {"successSignal", ui->combo_successSignal},
                                            {"failSignal", ui->combo_failSignal}};
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        if (QComboBox *combo = combos.value(it.key(), nullptr))
            SelectPosition(combo, it.value());
        else if (it.key() == QLatin1String("signalDuration"))
            ui->edit_signalDuration->setText(it.value().trimmed());
        else if (it.key() == QLatin1String("startTime"))
            ui->edit_startTime->setText(it.value().trimmed());
    }
    SetEditEnable(ui->combo_signalType->currentIndex());
}

void signalform::SetEditEnable(int index)
{
    ui->edit_signalDuration->setEnabled(index != 0);
}

void signalform::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        FillItems();
    }
    QWidget::changeEvent(event);
}
