#pragma once
// The chip page: a serial tool that reads a chip's program version and its two
// CRCs (CChipReader holds the exchange).
#include "cchipreader.h"

#include <clinepipe.h>

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class CPageLog;

class chipform : public QWidget, private CLinePipe
{
    Q_OBJECT
public:
    explicit chipform(QWidget *parent = nullptr);
    ~chipform() override;

    void Log(const QString &text);
    QString LogText() const;
    void ClearLog();

    bool IsOpen() const { return m_bOpen; }
    const CChipValues &Values() const { return m_values; }
    // The port field (a name such as "COM3" or a device path) and the baud rate.
    void SetPort(const QString &port, int baud);

public slots:
    void on_btn_open_clicked();
    void on_btn_close_clicked();
    void on_btn_read_clicked();

protected:
    void HandleRecvData(const SerialRecvData &data) override;
    void HandleConnState(bool open, QString port) override;

private:
    static QString Hex(const QByteArray &bytes);
    void ShowState();

    QString m_strPort;
    int m_nBaud = 115200;
    bool m_bOpen = false;
    CChipReader m_reader;
    CChipValues m_values;

    QComboBox *combo_port = nullptr;
    QComboBox *combo_baud = nullptr;
    QLabel *label_state = nullptr;
    QLineEdit *edit_ver = nullptr;
    QLineEdit *edit_crc1 = nullptr;
    QLineEdit *edit_crc2 = nullptr;
    CPageLog *edit_out = nullptr;
};
