#pragma once
// Address and port the TCP remote service listens on.
#include <QDialog>

class QDialogButtonBox;
class QLineEdit;

class serverdlg : public QDialog
{
    Q_OBJECT
public:
    explicit serverdlg(QWidget *parent = nullptr);

    QString Address() const;
    // 0 when the field is not a port number.
    int Port() const;

    // "确定" and "取消" of both dialogs.
    static QDialogButtonBox *OkCancel(QDialog *dlg);

    QLineEdit *edit_ip = nullptr;
    QLineEdit *edit_port = nullptr;
};

// The station UID a broker service (MQTT or NSQ) serves.
class servertopicdlg : public QDialog
{
    Q_OBJECT
public:
    explicit servertopicdlg(QWidget *parent = nullptr);

    QString UID() const;

    QLineEdit *edit_uid = nullptr;
};
