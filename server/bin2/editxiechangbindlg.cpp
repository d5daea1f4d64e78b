#include "editxiechangbindlg.h"

#include <burnhub.h>
#include <cmessagebox.h>

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QPushButton *Button(QWidget *parent, const char *name, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}
} // namespace

EditXieChangBinDlg::EditXieChangBinDlg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("EditXieChangBinDlg"));
    setWindowTitle(tr("编辑BIN2参数"));
    resize(760, 560);
    auto *layout = new QVBoxLayout(this);

    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(tr("文件路径"), this));
    edit_path = new QLineEdit(this);
    edit_path->setObjectName(QStringLiteral("edit_path"));
    fileRow->addWidget(edit_path, 1);
    QPushButton *load = Button(this, "btn_load", tr("加载文件"));
    fileRow->addWidget(load);
    layout->addLayout(fileRow);

    auto *headRow = new QHBoxLayout;
    headRow->addWidget(new QLabel(tr("设置Flash地址（0x）："), this));
    edit_addr = new QLineEdit(m_editor.m_strAddr, this);
    edit_addr->setObjectName(QStringLiteral("edit_addr"));
    edit_addr->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9A-Fa-f]{0,5}")), edit_addr));
    edit_addr->setMaximumWidth(90);
    headRow->addWidget(edit_addr);
    headRow->addSpacing(16);
    headRow->addWidget(new QLabel(tr("当前参数个数(占用字节):"), this));
    label_count = new QLabel(this);
    label_count->setObjectName(QStringLiteral("label_count"));
    headRow->addWidget(label_count);
    headRow->addStretch(1);
    btn_format = new QToolButton(this);
    btn_format->setObjectName(QStringLiteral("btn_format"));
    btn_format->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(btn_format);
    QAction *dec = menu->addAction(tr("10进制"));
    dec->setObjectName(QStringLiteral("action_dec"));
    QAction *hex = menu->addAction(tr("16进制"));
    hex->setObjectName(QStringLiteral("action_hex"));
    connect(dec, &QAction::triggered, this, [this]() { FormatChanged(false); });
    connect(hex, &QAction::triggered, this, [this]() { FormatChanged(true); });
    btn_format->setMenu(menu);
    headRow->addWidget(btn_format);
    layout->addLayout(headRow);

    auto *scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    auto *area = new QWidget(scroll);
    BuildRows(area);
    scroll->setWidget(area);
    layout->addWidget(scroll, 1);

    auto *buttons = new QHBoxLayout;
    QPushButton *add = Button(this, "btn_add", tr("添加参数"));
    QPushButton *del = Button(this, "btn_del", tr("删除参数"));
    QPushButton *read = Button(this, "btn_read", tr("读取参数"));
    QPushButton *exp = Button(this, "btn_export", tr("确认修改/导出"));
    for (QPushButton *b : {add, del, read, exp})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    connect(load, &QPushButton::clicked, this, &EditXieChangBinDlg::LoadBin);
    connect(add, &QPushButton::clicked, this, &EditXieChangBinDlg::AddParam);
    connect(del, &QPushButton::clicked, this, &EditXieChangBinDlg::DelParam);
    connect(read, &QPushButton::clicked, this, &EditXieChangBinDlg::ReadFlashParam);
    connect(exp, &QPushButton::clicked, this, &EditXieChangBinDlg::ExPortBin);

    m_readTimer.setSingleShot(true);
    m_readTimer.setInterval(kReadTimeoutMs);
    connect(&m_readTimer, &QTimer::timeout, this, &EditXieChangBinDlg::ReadTimeout);
    ShowRows();
}

EditXieChangBinDlg::~EditXieChangBinDlg() = default;

void EditXieChangBinDlg::BuildRows(QWidget *area)
{
    auto *grid = new QGridLayout(area);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(4, 2);
    for (int i = 0; i < CBin2Params::kMaxParams; ++i) {
        RowWidgets &r = m_rows[size_t(i)];
        r.pLabel = new QLabel(tr("参数%1").arg(i + 1), area);
        r.pDesc = new QLineEdit(area);
        r.pType = new QComboBox(area);
        for (int t = 0; t < CBin2Params::kTypeCount; ++t)
            r.pType->addItem(CBin2Params::TypeName(t), t);
        r.pType->setToolTip(tr("选择数据类型"));
        r.pValue = new QLineEdit(area);
        r.pNotes = new QLineEdit(area);
        const QString n = QString::number(i + 1);
        r.pDesc->setObjectName(QStringLiteral("edit_desc") + n);
        r.pType->setObjectName(QStringLiteral("combo_type") + n);
        r.pValue->setObjectName(QStringLiteral("edit_value") + n);
        r.pNotes->setObjectName(QStringLiteral("edit_notes") + n);
        connect(r.pType, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                &EditXieChangBinDlg::DataTypeUpdateParam);
        grid->addWidget(r.pLabel, i, 0);
        grid->addWidget(r.pDesc, i, 1);
        grid->addWidget(r.pType, i, 2);
        grid->addWidget(r.pValue, i, 3);
        grid->addWidget(r.pNotes, i, 4);
    }
    grid->setRowStretch(CBin2Params::kMaxParams, 1);
}

void EditXieChangBinDlg::SetBin2Path(const QString &path)
{
    edit_path->setText(path);
}

QString EditXieChangBinDlg::Bin2Path() const
{
    return edit_path->text().trimmed();
}

void EditXieChangBinDlg::TakeRows()
{
    CBin2Params &params = m_editor.Params();
    for (int i = 0; i < params.Count(); ++i) {
        const RowWidgets &r = m_rows[size_t(i)];
        CBin2Param &p = params.Row(i);
        p.strDesc = r.pDesc->text();
        p.nType = r.pType->currentIndex();
        p.strValue = r.pValue->text();
        p.strNotes = r.pNotes->text();
    }
    m_editor.m_strAddr = edit_addr->text();
}

void EditXieChangBinDlg::ShowRows()
{
    m_bShowing = true;
    const CBin2Params &params = m_editor.Params();
    for (int i = 0; i < CBin2Params::kMaxParams; ++i) {
        const RowWidgets &r = m_rows[size_t(i)];
        const CBin2Param &p = params.At(i);
        const bool used = i < params.Count();
        r.pDesc->setText(used ? p.strDesc : QString());
        r.pType->setCurrentIndex(used ? p.nType : 0);
        r.pValue->setText(used ? p.strValue : QString());
        r.pNotes->setText(used ? p.strNotes : QString());
        for (QWidget *w : {static_cast<QWidget *>(r.pLabel), static_cast<QWidget *>(r.pDesc),
                           static_cast<QWidget *>(r.pType), static_cast<QWidget *>(r.pValue),
                           static_cast<QWidget *>(r.pNotes)})
            w->setVisible(used);
    }
    edit_addr->setText(m_editor.m_strAddr);
    m_bShowing = false;
    ShowCount();
    ShowFormat();
}

void EditXieChangBinDlg::ShowCount()
{
    label_count->setText(m_editor.Params().CountText());
}

void EditXieChangBinDlg::ShowFormat()
{
    const QString format = m_editor.Params().IsHex() ? tr("16进制") : tr("10进制");
    btn_format->setText(format);
    btn_format->setToolTip(tr("数据显示格式: %1").arg(format));
}

void EditXieChangBinDlg::Show(const CBin2Message &msg)
{
    if (msg.IsEmpty())
        return;
    if (msg.bError)
        CMessageBox::Error(this, msg.title, msg.text);
    else
        CMessageBox::Info(this, msg.title, msg.text);
}

void EditXieChangBinDlg::LoadBin()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("选择文件"), Bin2Path(),
                                                      QStringLiteral("bin, txt file (*.bin *.txt)"));
    if (!path.isEmpty())
        LoadBinFile(path);
}

bool EditXieChangBinDlg::LoadBinFile(const QString &path)
{
    edit_path->setText(path);
    CBin2Message msg;
    const bool ok = m_editor.Load(path, msg);
    ShowRows();
    Show(msg);
    return ok;
}

void EditXieChangBinDlg::AddParam()
{
    TakeRows();
    CBin2Message msg;
    if (!m_editor.Params().Add(msg)) {
        Show(msg);
        return;
    }
    ShowRows();
}

void EditXieChangBinDlg::DelParam()
{
    TakeRows();
    if (m_editor.Params().DeleteLast())
        ShowRows();
}

void EditXieChangBinDlg::DataTypeUpdateParam()
{
    if (m_bShowing)
        return;
    CBin2Params &params = m_editor.Params();
    for (int i = 0; i < params.Count(); ++i)
        params.SetType(i, m_rows[size_t(i)].pType->currentIndex());
    ShowCount();
}

void EditXieChangBinDlg::FormatChanged(bool hex)
{
    TakeRows();
    m_editor.Params().SetHex(hex);
    ShowRows();
}

void EditXieChangBinDlg::ExPortBin()
{
    TakeRows();
    CBin2Message msg;
    m_editor.Export(Bin2Path(), msg);
    Show(msg);
}

void EditXieChangBinDlg::ReadFlashParam()
{
    TakeRows();
    int addr = 0;
    int len = 0;
    if (!m_editor.ReadRequest(addr, len)) {
        Show({tr("错误"), tr("Flash地址错误！")});
        return;
    }
    emit sig_toRead(addr, len);
    CloseWait();
    m_pWait = new QMessageBox(QMessageBox::Information, tr("提示"), tr("请稍候，正在读取Flash参数..."), QMessageBox::NoButton, this);
    m_pWait->setObjectName(QStringLiteral("box_wait"));
    m_pWait->setWindowModality(Qt::WindowModal);
    m_pWait->show();
    m_readTimer.start();
}

void EditXieChangBinDlg::CloseWait()
{
    if (!m_pWait)
        return;
    m_pWait->close();
    m_pWait->deleteLater();
    m_pWait = nullptr;
}

void EditXieChangBinDlg::ReadTimeout()
{
    m_readTimer.stop();
    CloseWait();
    Show({tr("错误！"), tr("MCU-FLASH参数读取超时！")});
}

void EditXieChangBinDlg::SetReadFinish(const QString &id)
{
    // An answer after the time-out (or one nobody asked for) changes nothing.
    if (!m_readTimer.isActive())
        return;
    m_readTimer.stop();
    if (m_pWait)
        m_pWait->setText(tr("拉取MCU数据成功, 正在解析..."));
    const QString path = BurnHub::Instance()->GetUSBProgFilePath(id, QStringLiteral("read_flash_bin"));
    CBin2Message msg;
    const bool ok = m_editor.TakeFlashData(path, msg);
    if (ok)
        ShowRows();
    CloseWait();
    Show(msg);
}
