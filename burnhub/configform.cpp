#include "configform.h"
#include "ui_configform.h"

#include "cmessagebox.h"
#include "cpubactions.h"
#include "functool.h"
#include "progerparam.h"

#include <QDebug>
#include <QIntValidator>
#include <QWheelEvent>

#include <climits>

namespace {
const char kContext[] = "configform";
const char kGroup[] = "CONFIG";
// Item property that keeps the untranslated text, for a language change.
constexpr int kSourceRole = Qt::UserRole + 1;

struct Item
{
    const char *text;
    int data;
};

const Item kNoYes[] = {{QT_TRANSLATE_NOOP("configform", "否"), 0}, {QT_TRANSLATE_NOOP("configform", "是"), 1}};

void Fill(QComboBox *combo, std::initializer_list<Item> items, bool translate = false)
{
    for (const Item &item : items) {
        combo->addItem(translate ? QCoreApplication::translate(kContext, item.text) : QString::fromUtf8(item.text),
                       item.data);
        if (translate)
            combo->setItemData(combo->count() - 1, QString::fromUtf8(item.text), kSourceRole);
    }
}

void FillNoYes(QComboBox *combo)
{
    Fill(combo, {kNoYes[0], kNoYes[1]}, true);
}

// Position from a stored or read-back value; false for text that is not one.
bool SelectPosition(QComboBox *combo, const QString &value)
{
    bool ok = false;
    const int pos = value.trimmed().toInt(&ok);
    if (!ok || pos < 0 || pos >= combo->count()) {
        qDebug() << "configform: no item" << value << "in" << combo->objectName();
        return false;
    }
    combo->setCurrentIndex(pos);
    return true;
}

bool SelectData(QComboBox *combo, const QString &value)
{
    bool ok = false;
    const int data = value.trimmed().toInt(&ok);
    return ok && FuncTool::SetComboIndex(combo, data);
}

int Data(const QComboBox *combo)
{
    return combo->currentData().toInt();
}

struct IniKey
{
    const char *key;
    QComboBox *combo; // null for the two text fields
    int def;
};
} // namespace

configform::configform(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::configform>())
{
    ui->setupUi(this);
    InitCombos();
    ui->edit_contInterval->setValidator(new QIntValidator(0, INT_MAX, ui->edit_contInterval));
    for (QComboBox *combo : findChildren<QComboBox *>()) {
        combo->installEventFilter(this);
        combo->setFocusPolicy(Qt::StrongFocus);
    }
    connect(ui->combo_auto, QOverload<int>::of(&QComboBox::activated), this, &configform::comboauto_activated);
    ui->combo_auto->setCurrentIndex(0);
    comboauto_activated(0);
    InitModelParam();
}

configform::~configform() = default;

void configform::InitCombos()
{
    FillNoYes(ui->combo_simple);
    const QStringList chips = CProgerParam::ChipNames().mid(0, 4);
    for (int i = 0; i < chips.size(); ++i)
        ui->combo_chip->addItem(chips.at(i), i);
    Fill(ui->combo_speed, {{"high", 0}, {"low", 1}});
    Fill(ui->combo_voltage, {{"3.3V", 0}, {"5.0V", 1}});
    FillNoYes(ui->combo_continuous);
    FillNoYes(ui->combo_protect);
    FillNoYes(ui->combo_eraseall);
    Fill(ui->combo_iap, {{"SWD", 0}, {"IAP", 1}});
    Fill(ui->combo_swdclk, {{"200KHz", 0}, {"500KHz", 1}, {"1MHz", 2}, {"2MHz", 3}, {"3MHz", 4},
                            {"5MHz", 5}, {"10MHz", 6}, {"15MHz", 7}, {"20MHz", 8}});
    ui->combo_iapbaud->addItems({"9600", "19200", "38400", "43000", "56000", "57600", "115200"});
    FillNoYes(ui->combo_halfDuplex);
    FillNoYes(ui->combo_crc);
    Fill(ui->combo_language, {{"中文", 0}, {"English", 1}});
    FillNoYes(ui->combo_reset);
    Fill(ui->combo_function,
         {{QT_TRANSLATE_NOOP("configform", "烧写模式"), 0}, {QT_TRANSLATE_NOOP("configform", "校验模式"), 1}}, true);
    Fill(ui->combo_usbmode, {{"USB-MSC", 0}, {"USB-HID", 1}, {"USB-VCP", 2}});
    FillNoYes(ui->combo_machine);
    const Item pages[] = {{QT_TRANSLATE_NOOP("configform", "主页"), 0},
                          {QT_TRANSLATE_NOOP("configform", "编程页"), 1},
                          {QT_TRANSLATE_NOOP("configform", "校验页"), 2},
                          {QT_TRANSLATE_NOOP("configform", "设置页"), 3},
                          {QT_TRANSLATE_NOOP("configform", "帮助页"), 4}};
    Fill(ui->combo_firstPage, {pages[0], pages[1], pages[2], pages[3], pages[4]}, true);
    for (const Item &page : pages)
        m_pageNames << QString::fromUtf8(page.text);
    Fill(ui->combo_crcShow, {{QT_TRANSLATE_NOOP("configform", "全显示"), 0}, {"CRC1", 1}, {"CRC2", 2}}, true);
    FillNoYes(ui->combo_powerProtect);
    // Low first, carrying 1: the gear is always stored and read by item data.
    Fill(ui->combo_flmDataGear, {{QT_TRANSLATE_NOOP("configform", "低"), 1}, {QT_TRANSLATE_NOOP("configform", "高"), 0}},
         true);
    FillNoYes(ui->combo_auto);
}

void configform::InitModelType(enumProgerModel model)
{
    m_model = model;
    InitModelParam();
}

void configform::SetRowVisible(QWidget *field, bool visible)
{
    field->setVisible(visible);
    for (QLabel *label : findChildren<QLabel *>())
        if (label->buddy() == field)
            label->setVisible(visible);
}

void configform::InitModelParam()
{
    const bool classic = m_model == ModelClassic;
    for (QWidget *w : {static_cast<QWidget *>(ui->combo_chip), static_cast<QWidget *>(ui->combo_speed),
                       static_cast<QWidget *>(ui->combo_crc), static_cast<QWidget *>(ui->combo_function),
                       static_cast<QWidget *>(ui->combo_auto)})
        SetRowVisible(w, classic);
    for (QWidget *w : {static_cast<QWidget *>(ui->combo_voltage), static_cast<QWidget *>(ui->combo_continuous),
                       static_cast<QWidget *>(ui->edit_contInterval), static_cast<QWidget *>(ui->combo_eraseall),
                       static_cast<QWidget *>(ui->combo_iap), static_cast<QWidget *>(ui->combo_swdclk),
                       static_cast<QWidget *>(ui->combo_language), static_cast<QWidget *>(ui->combo_reset),
                       static_cast<QWidget *>(ui->combo_usbmode)})
        SetRowVisible(w, !classic);
    SetRowVisible(ui->combo_protect, true);
    SetRowVisible(ui->combo_machine, true);
    SetRowVisible(ui->combo_simple, false);
    if (classic) {
        comboauto_activated(ui->combo_auto->currentIndex());
    } else {
        ui->label_image->hide();
        ui->edit_image->hide();
        ui->btn_image->hide();
    }
}

void configform::GetProgConfig(ProgerConfig &cfg) const
{
    cfg.simple = Data(ui->combo_simple) != 0;
    cfg.chip = Data(ui->combo_chip);
    cfg.speed = Data(ui->combo_speed);
    cfg.voltage = Data(ui->combo_voltage);
    cfg.continuous = Data(ui->combo_continuous) != 0;
    cfg.contInterval = ui->edit_contInterval->text().toInt();
    cfg.protect = Data(ui->combo_protect) != 0;
    cfg.eraseall = Data(ui->combo_eraseall) != 0;
    cfg.iap = Data(ui->combo_iap) != 0;
    cfg.swdClk = Data(ui->combo_swdclk);
    cfg.iapBaud = ui->combo_iapbaud->currentText().toInt();
    cfg.halfDuplex = Data(ui->combo_halfDuplex);
    cfg.writecrc = Data(ui->combo_crc) != 0;
    cfg.en = Data(ui->combo_language) != 0;
    cfg.machineMode = Data(ui->combo_machine) != 0;
    cfg.reset = Data(ui->combo_reset) != 0;
    cfg.usbmode = Data(ui->combo_usbmode);
    cfg.firstPage = Data(ui->combo_firstPage);
    cfg.crcShow = Data(ui->combo_crcShow);
    cfg.powerProtect = Data(ui->combo_powerProtect);
    cfg.flmDataGear = Data(ui->combo_flmDataGear);
    cfg.functionmode = Data(ui->combo_function);
    cfg.autoena = Data(ui->combo_auto) != 0;
    cfg.autoimage = ui->edit_image->text();
}

QComboBox *configform::ComboOfKey(const QString &key) const
{
    // "writecrc" and "machinemode" are the classic file's own keys.
    const QMap<QString, QComboBox *> combos{
        {"simple", ui->combo_simple},       {"chip", ui->combo_chip},
        {"speed", ui->combo_speed},         {"voltage", ui->combo_voltage},
        {"continuous", ui->combo_continuous}, {"protect", ui->combo_protect},
        {"eraseall", ui->combo_eraseall},   {"iap", ui->combo_iap},
        {"swdClk", ui->combo_swdclk},       {"halfDuplex", ui->combo_halfDuplex},
        {"en", ui->combo_language},         {"machineMode", ui->combo_machine},
        {"machinemode", ui->combo_machine}, {"writecrc", ui->combo_crc},
        {"functionmode", ui->combo_function}, {"reset", ui->combo_reset},
        {"firstPage", ui->combo_firstPage}, {"usbmode", ui->combo_usbmode},
        {"crcShow", ui->combo_crcShow},     {"powerProtect", ui->combo_powerProtect},
        {"powerProtech", ui->combo_powerProtect}};
    return combos.value(key, nullptr);
}

void configform::ShowConfig(const QMap<QString, QString> &map)
{
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const QString &key = it.key();
        const QString &value = it.value();
        if (QComboBox *combo = ComboOfKey(key)) {
            SelectPosition(combo, value);
        } else if (key == QLatin1String("flmDataGear")) {
            SelectData(ui->combo_flmDataGear, value);
        } else if (key == QLatin1String("contInterval")) {
            bool ok = false;
            const int ms = value.trimmed().toInt(&ok);
            if (ok)
                ui->edit_contInterval->setText(QString::number(ms));
        } else if (key == QLatin1String("iapBaud")) {
            bool ok = false;
            const int baud = value.trimmed().toInt(&ok);
            if (ok)
                SetComboText(ui->combo_iapbaud, baud);
        } else if (key == QLatin1String("autoena")) {
            if (SelectPosition(ui->combo_auto, value))
                comboauto_activated(ui->combo_auto->currentIndex());
        } else if (key == QLatin1String("autoimage")) {
            ui->edit_image->setText(value);
        }
    }
}

bool configform::CheckConfigLegal(const ProgerConfig &cfg)
{
    const QString msg = CProgerParam::CheckLegal(cfg);
    if (msg.isEmpty())
        return true;
    CMessageBox::Warn(this, tr("错误！"), msg);
    return false;
}

bool configform::SaveConfigFile(const QString &path)
{
    ProgerConfig cfg;
    GetProgConfig(cfg);
    if (m_model == ModelExtended && !CheckConfigLegal(cfg))
        return false;
    return FuncTool::WriteFile(path, CProgerParam::FormatConfig(cfg, m_model));
}

void configform::ReadIni(const QString &file)
{
    CPubActions ini;
    const auto readCombos = [&](std::initializer_list<IniKey> keys) {
        for (const IniKey &k : keys)
            SelectPosition(k.combo, QString::number(ini.GetInt(kGroup, k.key, k.def, file)));
    };
    if (m_model == ModelClassic) {
        readCombos({{"SIMPLE", ui->combo_simple, 1},       {"CHIP", ui->combo_chip, 0},
                    {"SPEED", ui->combo_speed, 0},         {"PROTECT", ui->combo_protect, 0},
                    {"WRITECRC", ui->combo_crc, 0},        {"MACHINEMODE", ui->combo_machine, 0},
                    {"FUNCTIONMODE", ui->combo_function, 0}, {"AUTOENA", ui->combo_auto, 0}});
        ui->edit_image->setText(ini.GetString(kGroup, "AUTOIMAGE", QString(), file));
        comboauto_activated(ui->combo_auto->currentIndex());
        return;
    }
    readCombos({{"VOLTAGE", ui->combo_voltage, 0},   {"CONTINUOUS", ui->combo_continuous, 0},
                {"PROTECT", ui->combo_protect, 0},   {"ERASEALL", ui->combo_eraseall, 0},
                {"IAP", ui->combo_iap, 0},           {"HALFDUPLEX", ui->combo_halfDuplex, 0},
                {"EN", ui->combo_language, 0},       {"SWDCLK", ui->combo_swdclk, 7},
                {"RESET", ui->combo_reset, 0},       {"USBMODE", ui->combo_usbmode, 0},
                {"MACHINE", ui->combo_machine, 0},   {"FIRSTPAGE", ui->combo_firstPage, 0},
                {"CRCSHOW", ui->combo_crcShow, 2},   {"POWERPROTECT", ui->combo_powerProtect, 1}});
    ui->edit_contInterval->setText(QString::number(ini.GetInt(kGroup, "CONTINTERVAL", 2000, file)));
    SetComboText(ui->combo_iapbaud, ini.GetInt(kGroup, "IAPBAUD", 19200, file));
    SelectData(ui->combo_flmDataGear, QString::number(ini.GetInt(kGroup, "FLMDATAGEAR", 0, file)));
}

void configform::SaveIni(const QString &file)
{
    CPubActions ini;
    const std::initializer_list<IniKey> keys{
        {"SIMPLE", ui->combo_simple, 0},     {"CHIP", ui->combo_chip, 0},
        {"SPEED", ui->combo_speed, 0},       {"PROTECT", ui->combo_protect, 0},
        {"WRITECRC", ui->combo_crc, 0},      {"MACHINEMODE", ui->combo_machine, 0},
        {"FUNCTIONMODE", ui->combo_function, 0}, {"AUTOENA", ui->combo_auto, 0},
        {"VOLTAGE", ui->combo_voltage, 0},   {"CONTINUOUS", ui->combo_continuous, 0},
        {"ERASEALL", ui->combo_eraseall, 0}, {"IAP", ui->combo_iap, 0},
        {"HALFDUPLEX", ui->combo_halfDuplex, 0}, {"EN", ui->combo_language, 0},
        {"SWDCLK", ui->combo_swdclk, 0},     {"RESET", ui->combo_reset, 0},
        {"USBMODE", ui->combo_usbmode, 0},   {"MACHINE", ui->combo_machine, 0},
        {"FIRSTPAGE", ui->combo_firstPage, 0}, {"CRCSHOW", ui->combo_crcShow, 0},
        {"POWERPROTECT", ui->combo_powerProtect, 0}, {"FLMDATAGEAR", ui->combo_flmDataGear, 0}};
    for (const IniKey &k : keys)
        ini.WriteInt(kGroup, k.key, Data(k.combo), file);
    ini.WriteString(kGroup, "AUTOIMAGE", ui->edit_image->text(), file);
    ini.WriteInt(kGroup, "CONTINTERVAL", ui->edit_contInterval->text().toInt(), file);
    ini.WriteInt(kGroup, "IAPBAUD", ui->combo_iapbaud->currentText().toInt(), file);
}

void configform::SetComboText(QComboBox *combo, int value)
{
    const int pos = combo->findText(QString::number(value), Qt::MatchExactly);
    if (pos >= 0)
        combo->setCurrentIndex(pos);
}

void configform::DisbleCfg()
{
    for (QComboBox *combo : findChildren<QComboBox *>())
        combo->setEnabled(false);
    ui->edit_contInterval->setEnabled(false);
    ui->edit_image->setEnabled(false);
    ui->btn_image->setEnabled(false);
}

bool configform::SelAutoImage(QString &name)
{
    name = QStringLiteral("notselected");
    return true;
}

void configform::on_btn_image_clicked()
{
    QString name;
    if (SelAutoImage(name))
        ui->edit_image->setText(name);
}

void configform::comboauto_activated(int)
{
    // The row belongs to the classic set only; the other model keeps it hidden.
    const bool show = ui->combo_auto->currentData().toBool() && !ui->combo_auto->isHidden();
    ui->label_image->setVisible(show);
    ui->edit_image->setVisible(show);
    ui->btn_image->setVisible(show);
}

bool configform::eventFilter(QObject *watched, QEvent *event)
{
    // Scrolling over the form must never change a setting.
    if (event->type() == QEvent::Wheel && qobject_cast<QComboBox *>(watched))
        return true;
    return QWidget::eventFilter(watched, event);
}

void configform::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        for (QComboBox *combo : findChildren<QComboBox *>())
            for (int i = 0; i < combo->count(); ++i) {
                const QString source = combo->itemData(i, kSourceRole).toString();
                if (!source.isEmpty())
                    combo->setItemText(i, QCoreApplication::translate(kContext, source.toUtf8().constData()));
            }
    }
    QWidget::changeEvent(event);
}
