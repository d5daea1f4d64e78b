#pragma once
// Factory tests: the table, its statistics, the test form, the automatic
// storing of a programmer's result when it is attached, and the search.
#include "databasedlg.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class dbprocessdlg;

class exfactorydlg : public databasedlg
{
    Q_OBJECT
public:
    exfactorydlg(CRecordStore &store, Requests requests, QWidget *parent = nullptr);

    // Programmers attached now (their IDs); the form picks one of them.
    void SetProgrammers(const QStringList &ids);
    QStringList Programmers() const { return m_ids; }
    dbprocessdlg *FindDialog();
    ExFactoryStats Stats() const { return m_stats; }

    QComboBox *comboBox_prog = nullptr;
    QLineEdit *edit_uid = nullptr;
    QComboBox *comboBox_model = nullptr;
    QComboBox *comboBox_result = nullptr;
    QComboBox *comboBox_reason = nullptr;
    QCheckBox *check_auto = nullptr;
    QPushButton *btn_save = nullptr;
    QPushButton *btn_search = nullptr;
    QPushButton *btn_refresh = nullptr;
    QLineEdit *editTotal = nullptr;
    QLineEdit *editFailCnt = nullptr;
    QLineEdit *editFixCnt = nullptr;
    QLineEdit *editPassRate = nullptr;

public slots:
    void ComboBoxChanged(const QString &text);
    void UpdateProgPath(int index);
    void onDelete(const QString &id);
    void on_ContextMenuReq(const QPoint &pos);
    void on_btn_search_clicked();
    void findDataBase(const ProgrammerRecord &record);
    // A programmer arrived (test mode): its result goes in when storing is automatic.
    void SaveExFactoryData(const QString &id);

protected:
    void TableShown() override;
    void Stored(const QString &uid) override;

private:
    void ResetForm();
    void Statistics();

    QStringList m_ids;
    ExFactoryStats m_stats;
    dbprocessdlg *m_pFind = nullptr;
};
