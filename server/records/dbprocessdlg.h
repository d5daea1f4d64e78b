#pragma once
// Search in the factory tests ("数据库查找": by programmer ID or by result and
// reason) and entry of a repair record ("数据库追加/更新"). The dialog only
// collects the fields; the record dialogs act on them.
#include "crecordstore.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class dbprocessdlg : public QDialog
{
    Q_OBJECT
public:
    enum Mode { Find, Add };
    // The vocabulary of the factory-test form.
    static QStringList Results();
    static QStringList Reasons();

    explicit dbprocessdlg(Mode mode, QWidget *parent = nullptr);
    Mode CurrentMode() const { return m_mode; }

    // Find
    QRadioButton *checkID = nullptr;
    QRadioButton *checkCondition = nullptr;
    QLineEdit *edit_uid = nullptr;
    QComboBox *combo_result = nullptr;
    QComboBox *combo_reason = nullptr;
    QPushButton *btnFind = nullptr;
    // Add
    QComboBox *combo_model = nullptr;
    QComboBox *combo_hwver = nullptr;
    QLineEdit *edit_abstract = nullptr;
    QLineEdit *edit_source = nullptr;
    QLineEdit *edit_staff = nullptr;
    QLineEdit *edit_analysis = nullptr;
    QLineEdit *edit_content = nullptr;
    QLineEdit *edit_resultRepair = nullptr;
    QPushButton *btnAdd = nullptr;

signals:
    void sig2Find(const ProgrammerRecord &record);
    void sig2Add(const qelmsg::RepairRecord &record);

public slots:
    void on_btnFind_clicked();
    void checkChanged();
    void on_btnAdd_clicked();

private:
    Mode m_mode;
};
