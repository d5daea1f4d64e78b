#include "skindlg.h"
#include "ui_skindlg.h"

#include "cpubactions.h"
#include "cskinstyle.h"

#include <QApplication>
#include <QFontDialog>

namespace {
const QString kSkinGroup = QStringLiteral("SET");
const QString kSkinKey = QStringLiteral("SKIN");
const QString kNoSkin = QStringLiteral("empty.css");
const QString kFontGroup = QStringLiteral("FONT");
const QString kFontKey = QStringLiteral("FONTSTRING");
} // namespace

const QString skindlg::DefaultFont = QStringLiteral("微软雅黑,8,-1,5,50,0,0,0,0,0,Regular");

skindlg::skindlg(QWidget *parent) : QDialog(parent), ui(new Ui::skindlg)
{
    ui->setupUi(this);
    for (const CSkinStyle::Theme &theme : CSkinStyle::Themes())
        ui->combo_skin->addItem(tr(theme.name), theme.file);
    connect(ui->combo_skin, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &skindlg::OnSkinChosen);
    SetIniFile(QStringLiteral("default.ini"));
}

skindlg::~skindlg() = default;

void skindlg::SetIniFile(const QString &file)
{
    m_strIniFile = file;
    const QString stored = CPubActions(false).GetString(kSkinGroup, kSkinKey, kNoSkin, file);
    const int index = ui->combo_skin->findData(stored);
    if (index >= 0) {
        const QSignalBlocker block(ui->combo_skin);
        ui->combo_skin->setCurrentIndex(index);
    }
}

QString skindlg::CurrentSkin() const
{
    return ui->combo_skin->currentData().toString();
}

void skindlg::OnSkinChosen(int index)
{
    SetWidgetStyle(ui->combo_skin->itemData(index).toString(), this);
}

void skindlg::on_btn_ok_clicked()
{
    const QString skin = CurrentSkin();
    SetAppStyle(skin);
    CPubActions(false).WriteString(kSkinGroup, kSkinKey, skin, m_strIniFile);
    accept();
}

void skindlg::on_btn_cancel_clicked()
{
    reject();
}

void skindlg::LoadAppStyle(const QString &iniFile)
{
    SetAppStyle(CPubActions(false).GetString(kSkinGroup, kSkinKey, kNoSkin, iniFile));
}

void skindlg::SetAppStyle(const QString &file)
{
    CSkinStyle::ApplyToApp(file);
}

void skindlg::SetWidgetStyle(const QString &file, QWidget *widget)
{
    CSkinStyle::ApplyToWidget(file, widget);
}

void skindlg::LoadAppFont(const QString &iniFile, const QString &fallback)
{
    const QString def = fallback.isEmpty() ? DefaultFont : fallback;
    QFont font;
    // A damaged stored description falls back to the default.
    if (!font.fromString(CPubActions(false).GetString(kFontGroup, kFontKey, def, iniFile)))
        font.fromString(def);
    QApplication::setFont(font);
}

bool skindlg::SelectFont(const QString &iniFile, QWidget *parent)
{
    QFont current;
    if (!current.fromString(CPubActions(false).GetString(kFontGroup, kFontKey, DefaultFont, iniFile)))
        current = QApplication::font();
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, current, parent);
    if (!ok)
        return false;
    QApplication::setFont(font);
    CPubActions(false).WriteString(kFontGroup, kFontKey, font.toString(), iniFile);
    return true;
}
