#pragma once
// Sends a firmware file to the current programmer, which updates itself on
// its next restart.
#include "cstationprogers.h"

#include <QDialog>

class QLineEdit;

class sendfirmdlg : public QDialog
{
    Q_OBJECT
public:
    // file: the firmware to preset (empty: the user picks one).
    sendfirmdlg(const CStationProger *proger, const QString &file, QWidget *parent = nullptr);

    QString File() const;

public slots:
    void on_btn_file_clicked();
    void on_btn_send_clicked();

signals:
    // The outcome, for the page's log.
    void sigLog(const QString &text);

private:
    const CStationProger *m_pProger;
    QLineEdit *edit_file = nullptr;
};
