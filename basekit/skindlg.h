#pragma once
// Theme and font choice of the programs. The theme rules live in CSkinStyle.
#include "basekit_global.h"

#include <QDialog>
#include <memory>

namespace Ui {
class skindlg;
}

class BASEKIT_EXPORT skindlg : public QDialog
{
    Q_OBJECT

public:
    explicit skindlg(QWidget *parent = nullptr);
    ~skindlg() override;

    // INI file (per-user folder) that OK writes the choice to; "default.ini" at first.
    void SetIniFile(const QString &file);
    QString IniFile() const { return m_strIniFile; }
    // Theme file of the entry shown.
    QString CurrentSkin() const;

    // "SET"/"SKIN" of iniFile, "empty.css" when unset.
    static void LoadAppStyle(const QString &iniFile);
    // A file of 20 bytes or less (or none) changes nothing.
    static void SetAppStyle(const QString &file);
    static void SetWidgetStyle(const QString &file, QWidget *widget);
    // "FONT"/"FONTSTRING" of iniFile; an empty fallback means the suite's default font.
    static void LoadAppFont(const QString &iniFile, const QString &fallback = QString());
    // Font dialog; on OK the font is applied and stored. True when chosen.
    static bool SelectFont(const QString &iniFile, QWidget *parent = nullptr);

    static const QString DefaultFont;

private slots:
    void on_btn_ok_clicked();
    void on_btn_cancel_clicked();
    void OnSkinChosen(int index);

private:
    std::unique_ptr<Ui::skindlg> ui;
    QString m_strIniFile;
};
