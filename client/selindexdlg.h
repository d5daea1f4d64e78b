#pragma once
// Image slot and name of a local image download.
#include <QDialog>

class QComboBox;
class QLineEdit;

class selindexdlg : public QDialog
{
    Q_OBJECT
public:
    explicit selindexdlg(QWidget *parent = nullptr);

    void SetName(const QString &name);
    QString Name() const;
    int Index() const;
    void SetIndex(int index);

private:
    QLineEdit *edit_name = nullptr;
    QComboBox *combo_index = nullptr;
};
