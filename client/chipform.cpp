#include "chipform.h"

#include "cpagelog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const int kBauds[] = {9600, 19200, 38400, 43000, 56000, 57600, 115200};

// "0x%08X"
QString word(quint32 value)
{
    return QStringLiteral("0x") + QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0')).toUpper();
}
} // namespace

chipform::chipform(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("chipform"));
    auto *layout = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    combo_port = new QComboBox(this);
    combo_port->setObjectName(QStringLiteral("combo_port"));
    combo_port->setEditable(true);
    for (int i = 1; i <= 15; ++i)
        combo_port->addItem(QStringLiteral("COM%1").arg(i));
    combo_baud = new QComboBox(this);
    combo_baud->setObjectName(QStringLiteral("combo_baud"));
    for (const int baud : kBauds)
        combo_baud->addItem(QString::number(baud), baud);
    combo_baud->setCurrentIndex(combo_baud->findData(m_nBaud));
    auto *open = new QPushButton(tr("打开串口"), this);
    open->setObjectName(QStringLiteral("btn_open"));
    auto *close = new QPushButton(tr("关闭串口"), this);
    close->setObjectName(QStringLiteral("btn_close"));
    auto *read = new QPushButton(tr("读取"), this);
    read->setObjectName(QStringLiteral("btn_read"));
    label_state = new QLabel(this);
    label_state->setObjectName(QStringLiteral("label_state"));
    row->addWidget(combo_port, 1);
    row->addWidget(combo_baud);
    row->addWidget(open);
    row->addWidget(close);
    row->addWidget(read);
    row->addWidget(label_state);
    layout->addLayout(row);

    auto *form = new QFormLayout;
    edit_ver = new QLineEdit(this);
    edit_ver->setObjectName(QStringLiteral("edit_ver"));
    edit_crc1 = new QLineEdit(this);
    edit_crc1->setObjectName(QStringLiteral("edit_crc1"));
    edit_crc2 = new QLineEdit(this);
    edit_crc2->setObjectName(QStringLiteral("edit_crc2"));
    for (QLineEdit *e : {edit_ver, edit_crc1, edit_crc2})
        e->setReadOnly(true);
    form->addRow(tr("程序版本:"), edit_ver);
    form->addRow(tr("CRC1:"), edit_crc1);
    form->addRow(tr("CRC2:"), edit_crc2);
    layout->addLayout(form);

    edit_out = new CPageLog(this);
    layout->addWidget(edit_out, 1);
    QMetaObject::connectSlotsByName(this);
    ShowState();
}

chipform::~chipform()
{
    CloseSerial();
}

void chipform::Log(const QString &text)
{
    edit_out->AppendLine(text);
}

QString chipform::LogText() const
{
    return edit_out->toPlainText();
}

void chipform::ClearLog()
{
    edit_out->clear();
}

void chipform::SetPort(const QString &port, int baud)
{
    combo_port->setEditText(port);
    const int row = combo_baud->findData(baud);
    if (row >= 0)
        combo_baud->setCurrentIndex(row);
}

void chipform::ShowState()
{
    label_state->setText(m_bOpen ? tr("串口已打开") : tr("串口已关闭"));
}

void chipform::on_btn_open_clicked()
{
    m_strPort = combo_port->currentText().trimmed();
    m_nBaud = combo_baud->currentData().toInt();
    m_bOpen = StartSerial(m_strPort, m_nBaud, false, nullptr);
    const QString where = QStringLiteral("%1:%2").arg(m_strPort, QString::number(m_nBaud));
    Log(where + QLatin1Char(' ') + (m_bOpen ? tr("串口打开成功") : tr("串口打开失败")));
    ShowState();
}

void chipform::on_btn_close_clicked()
{
    CloseSerial();
    m_bOpen = false;
    Log(tr("关闭串口"));
    ShowState();
}

void chipform::on_btn_read_clicked()
{
    if (!m_bOpen) {
        Log(tr("串口未打开!"));
        return;
    }
    QByteArray request = CChipReader::Request();
    m_reader.Reset();
    SendData(request.data(), uint(request.size()), m_strPort);
    Log(tr("发送命令: ") + Hex(request));
}

QString chipform::Hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

void chipform::HandleRecvData(const SerialRecvData &data)
{
    const QByteArray bytes(data.pData, data.nLen);
    Log(tr("收到报文: ") + Hex(bytes));
    switch (m_reader.Feed(bytes, m_values)) {
    case CChipReader::NeedMore:
        break;
    case CChipReader::BadFunction:
        Log(tr("未知的功能码"));
        break;
    case CChipReader::BadLength:
        Log(tr("数据长度错误"));
        break;
    case CChipReader::Ok:
        edit_ver->setText(QString::number(m_values.version));
        edit_crc1->setText(word(m_values.crc1));
        edit_crc2->setText(word(m_values.crc2));
        break;
    }
}

void chipform::HandleConnState(bool open, QString)
{
    m_bOpen = open;
    ShowState();
}
