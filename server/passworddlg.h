#pragma once
// Asks for the programmer's user password; OK only with 1 to 9 digits.
#include <QDialog>
#include <memory>

namespace Ui {
class passworddlg;
}

class passworddlg : public QDialog
{
    Q_OBJECT
public:
    explicit passworddlg(QWidget *parent = nullptr);
    ~passworddlg() override;

    QString GetPassword() const;
    void SetPassword(const QString &password);

public slots:
    void accept() override;

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    std::unique_ptr<Ui::passworddlg> ui;
};
