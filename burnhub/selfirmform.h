#pragma once
// Picks a firmware file for a programmer update and shows its size, date and CRC.
#include "burnhub_global.h"

#include <QWidget>
#include <memory>

namespace Ui {
class selfirmform;
}

class BURNHUB_EXPORT selfirmform : public QWidget
{
    Q_OBJECT
public:
    explicit selfirmform(QWidget *parent = nullptr);
    ~selfirmform() override;

    void SetPath(const QString &path);
    QString GetSelPath() const;
    // No new file may be chosen while one is being sent.
    void SetSendFirmUI(bool busy);

protected:
    void changeEvent(QEvent *event) override;

private slots:
    void on_btn_open_clicked();
    void on_edit_path_textChanged(const QString &path);

private:
    std::unique_ptr<Ui::selfirmform> ui;
};
