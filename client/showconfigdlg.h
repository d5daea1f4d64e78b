#pragma once
// The current programmer's parameters in the configuration form; "下发配置"
// writes the form back to the programmer.
#include "cstationprogers.h"

#include <QDialog>

class configform;

class showconfigdlg : public QDialog
{
    Q_OBJECT
public:
    explicit showconfigdlg(const CStationProger *proger, QWidget *parent = nullptr);

    // Shows the programmer's parameters; false with the reason when they cannot be read.
    bool Load(QString &err);
    configform *Form() const { return m_pForm; }

public slots:
    void on_btn_downconfig_clicked();

private:
    const CStationProger *m_pProger;
    configform *m_pForm = nullptr; // child of this dialog
};
