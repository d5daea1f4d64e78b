#pragma once
// The images on the current programmer: number, name and last change; one or
// all of them can be cleared, one can be chosen.
#include "cstationprogers.h"

#include <QDialog>

class QTreeWidget;

class showimagedlg : public QDialog
{
    Q_OBJECT
public:
    explicit showimagedlg(const CStationProger *proger, QWidget *parent = nullptr);

    // Reads the programmer's index again; false (and an empty list) when it cannot be read.
    bool Refill();
    // The chosen image's name after "选择镜像", else empty.
    QString Selected() const { return m_strSelected; }

public slots:
    void on_btn_clearone_clicked();
    void on_btn_clearall_clicked();
    void on_btn_sel_clicked();

signals:
    void sig_hasClear(const QString &fileName);

private:
    QString CurrentName() const;
    void Report(bool ok, const QString &err);

    const CStationProger *m_pProger;
    QString m_strSelected;
    QTreeWidget *lv_image = nullptr;
};
