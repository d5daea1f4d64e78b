#pragma once
// Edits a programmer's parameters (ProgerConfig) for either parameter set.
#include "burnhub_global.h"
#include "progerinfo.h"

#include <QMap>
#include <QWidget>
#include <memory>

class QComboBox;
namespace Ui {
class configform;
}

class BURNHUB_EXPORT configform : public QWidget
{
    Q_OBJECT
public:
    explicit configform(QWidget *parent = nullptr);
    ~configform() override;

    void InitModelType(enumProgerModel model);
    enumProgerModel ModelType() const { return m_model; }
    // Shows the rows of the model in use and hides the others.
    void InitModelParam();

    void GetProgConfig(ProgerConfig &cfg) const;
    // Shows a parameter map read back from a programmer.
    void ShowConfig(const QMap<QString, QString> &map);
    bool CheckConfigLegal(const ProgerConfig &cfg);
    // Writes "param.ini" of the model in use; false when refused or not written.
    bool SaveConfigFile(const QString &path);

    // The form's last values, group "CONFIG" of an INI file in the data folder.
    void ReadIni(const QString &file);
    void SaveIni(const QString &file);

    // Selects the first item whose text is value in decimal; no change when none is.
    static void SetComboText(QComboBox *combo, int value);
    // Read-only display.
    void DisbleCfg();

    // Asks for the image programmed at power-up; programs override it with their list.
    virtual bool SelAutoImage(QString &name);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private slots:
    void on_btn_image_clicked();
    void comboauto_activated(int index);

private:
    void InitCombos();
    void SetRowVisible(QWidget *field, bool visible);
    QComboBox *ComboOfKey(const QString &key) const;

    std::unique_ptr<Ui::configform> ui;
    enumProgerModel m_model = ModelClassic;
    QStringList m_pageNames;
};
