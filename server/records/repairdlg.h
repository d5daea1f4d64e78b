#pragma once
// Repair records: the table and the entry of new or changed records.
#include "databasedlg.h"

class QPushButton;
class dbprocessdlg;

class repairdlg : public databasedlg
{
    Q_OBJECT
public:
    repairdlg(CRecordStore &store, Requests requests, QWidget *parent = nullptr);

    dbprocessdlg *AddDialog();

    QPushButton *btn_add = nullptr;
    QPushButton *btn_refresh = nullptr;

public slots:
    void AddRecord(const qelmsg::RepairRecord &record);

protected:
    void Stored(const QString &uid) override;
};
