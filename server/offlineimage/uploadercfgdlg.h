#pragma once
// Share limits of an offline image: a period in days and a number of fetches,
// each 0 when its box is not ticked.
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

class uploadercfgdlg : public QDialog
{
    Q_OBJECT
public:
    explicit uploadercfgdlg(QWidget *parent = nullptr);

    int Days() const;
    int Count() const;

    QCheckBox *checkBox_date = nullptr;
    QComboBox *comboBox_date = nullptr;
    QCheckBox *checkBox_count = nullptr;
    QLineEdit *edit_count = nullptr;
};
