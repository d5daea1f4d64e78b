#include "usbcontroldlg.h"
#include "ui_usbcontroldlg.h"

#include "editxiechangbindlg.h"
#include "keypresswatcher.h"

#include <clogview.h>

#include <cmessagebox.h>

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QFileDialog>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QScrollBar>
#include <QTextCursor>
#include <QVBoxLayout>

namespace {
class CLogEvent : public QEvent
{
public:
    CLogEvent(const QString &text, bool failure)
        : QEvent(QEvent::Type(usbcontroldlg::kLogEvent)), m_strText(text), m_bFailure(failure)
    {
    }
    QString m_strText;
    bool m_bFailure;
};

const QColor kFailureColor(0xE5, 0x39, 0x35);
constexpr int kIconSize = 100;
constexpr int kIconMax = 200;
constexpr int kIndicator = 30;
} // namespace

usbcontroldlg::usbcontroldlg(QWidget *parent) : QDialog(parent), ui(new Ui::usbcontroldlg)
{
    ui->setupUi(this);
    resize(1000, 800);
    BuildTiles();
    ui->layout_main->setStretchFactor(ui->edit_out, 1);

    // The record file was read by the console: fill the fields from it.
    ui->comboBox_page->setCurrentIndex(qBound(0, m_console.m_nPage, ui->comboBox_page->count() - 1));
    ui->lineEdit_imageno->setText(m_console.m_strImageNo);
    ui->lineEdit_bin1->setText(m_console.m_strBin[0]);
    ui->lineEdit_bin2->setText(m_console.m_strBin[1]);
    ui->lineEdit_bin3->setText(m_console.m_strBin[2]);
    m_console.m_strSNAddr = ui->lineEditRecordSNAddr->text();
    ui->groupBox_custom->setVisible(false);
    ShowCounters();
    ShowSwitchTexts();

    connect(&m_console, &CUsbConsole::sigLog, this, &usbcontroldlg::PostLog);
    connect(&m_console, &CUsbConsole::sigImageNoChanged, ui->lineEdit_imageno, &QLineEdit::setText);
    connect(&m_console, &CUsbConsole::sigTileChanged, this, &usbcontroldlg::ShowTile);
    connect(&m_console, &CUsbConsole::sigCountersChanged, this, &usbcontroldlg::ShowCounters);
    connect(&m_console, &CUsbConsole::sigBeep, this, []() { QApplication::beep(); });
    connect(&m_console, &CUsbConsole::sigWarn, this,
            [this](const QString &title, const QString &text) { CMessageBox::Warn(this, title, text); });

    connect(ui->btn_start, &QPushButton::clicked, this, [this]() { StartSignal(); });
    connect(ui->btn_switchpage, &QPushButton::clicked, this, &usbcontroldlg::SwitchPage);
    connect(ui->btn_swithcimage, &QPushButton::clicked, this, [this]() { SwitchImage(ui->lineEdit_imageno->text()); });
    connect(ui->btn_cnt, &QPushButton::clicked, this, &usbcontroldlg::CheckCnt);
    connect(ui->btn_downimage, &QPushButton::clicked, this, &usbcontroldlg::DownImage);
    connect(ui->btn_downcustom, &QPushButton::clicked, this, &usbcontroldlg::DownImage);
    connect(ui->btn_downconfig, &QPushButton::clicked, this, &usbcontroldlg::DownConfig);
    connect(ui->btn_editBin2, &QPushButton::clicked, this, &usbcontroldlg::EditBin2);
    connect(ui->btn_savelog, &QPushButton::clicked, this, [this]() { SaveAllLog(false); });
    for (QPushButton *load : {ui->btn_load_bin1, ui->btn_load_bin2, ui->btn_load_bin3})
        connect(load, &QPushButton::clicked, this, &usbcontroldlg::LoadBinFile);

    connect(ui->lineEdit_imageno, &QLineEdit::textChanged, this, [this](const QString &t) { m_console.m_strImageNo = t; });
    connect(ui->comboBox_page, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this](int index) { m_console.m_nPage = index; });
    connect(ui->lineEditRecordSNAddr, &QLineEdit::textChanged, this, [this](const QString &t) { m_console.m_strSNAddr = t; });
    const std::array<QLineEdit *, 3> bins = {ui->lineEdit_bin1, ui->lineEdit_bin2, ui->lineEdit_bin3};
    for (int i = 0; i < 3; ++i)
        connect(bins[size_t(i)], &QLineEdit::textChanged, this, [this, i](const QString &t) { m_console.m_strBin[i] = t; });
    connect(ui->checkBox_showbuf, &QCheckBox::toggled, this, [this](bool on) { m_console.m_bShowBuf = on; });
    connect(ui->checkBox_switch2Down, &QCheckBox::toggled, this, [this](bool on) { m_console.m_bSwitch2Down = on; });
    connect(ui->checkBox_custom, &QCheckBox::toggled, this, [this](bool on) {
        m_console.m_bCustom = on;
        ui->groupBox_custom->setVisible(on);
    });
    connect(ui->checkBox_showlog, &QCheckBox::toggled, this, &usbcontroldlg::ShowLogArea);

    m_pWatcher = new KeyPressWatcher(this, this);
    connect(m_pWatcher, &KeyPressWatcher::sig_spacePress, this, [this]() { StartSignal(); });

    connect(&m_autoSave, &QTimer::timeout, this, [this]() { SaveAllLog(true); });
    m_autoSave.start(kAutoSaveMs);
}

usbcontroldlg::~usbcontroldlg()
{
    if (m_bWatching)
        qApp->removeEventFilter(m_pWatcher);
}

void usbcontroldlg::BuildTiles()
{
    auto *grid = new QGridLayout(ui->widget_tiles);
    grid->setContentsMargins(0, 0, 0, 0);
    const QString indicator = QStringLiteral("QCheckBox::indicator { width: %1px; height: %1px; }").arg(kIndicator);
    for (int i = 0; i < CUsbConsole::kSlots; ++i) {
        auto *frame = new QFrame(ui->widget_tiles);
        frame->setObjectName(QStringLiteral("frame_prog%1").arg(i));
        frame->setFrameShape(QFrame::StyledPanel);
        auto *box = new QVBoxLayout(frame);
        TileWidgets &t = m_tiles[size_t(i)];
        t.pName = new QLabel(frame);
        t.pName->setAlignment(Qt::AlignCenter);
        t.pIcon = new QLabel(frame);
        t.pIcon->setAlignment(Qt::AlignCenter);
        t.pIcon->setMinimumSize(kIconSize, kIconSize);
        t.pIcon->setMaximumSize(kIconMax, kIconMax);
        t.pIcon->setScaledContents(true);
        t.pExecute = new QCheckBox(frame);
        t.pExecute->setFocusPolicy(Qt::NoFocus);
        t.pExecute->setStyleSheet(indicator);
        t.pCounter = new QLineEdit(frame);
        t.pCounter->setReadOnly(true);
        t.pCounter->setFocusPolicy(Qt::NoFocus);
        t.pCounter->setAlignment(Qt::AlignCenter);
        box->addWidget(t.pName);
        box->addWidget(t.pIcon, 0, Qt::AlignHCenter);
        box->addWidget(t.pExecute, 0, Qt::AlignHCenter);
        box->addWidget(t.pCounter);
        grid->addWidget(frame, i / 4, i % 4);
        connect(t.pExecute, &QCheckBox::toggled, this, [this, i](bool on) { m_console.SetExecute(i, on); });
        ShowTile(i);
    }
}

void usbcontroldlg::ShowTile(int slot)
{
    if (slot < 0 || slot >= CUsbConsole::kSlots)
        return;
    const CUsbConsole::Tile &tile = m_console.TileAt(slot);
    TileWidgets &t = m_tiles[size_t(slot)];
    t.pName->setText(CUsbConsole::TileLabel(slot, tile));
    const QString attrs = CUsbConsole::AttrText(tile.attrs);
    t.pName->setToolTip(attrs.isEmpty() ? tile.strName : tile.strName + QLatin1Char('\n') + attrs);
    if (t.nIcon != tile.nIcon) {
        t.nIcon = tile.nIcon;
        t.pIcon->setPixmap(QPixmap(CUsbConsole::IconPath(tile.nIcon)));
    }
    t.pIcon->setToolTip(CUsbConsole::TileTip(tile));
    {
        const QSignalBlocker block(t.pExecute);
        t.pExecute->setChecked(tile.bExecute);
    }
    t.pExecute->setToolTip(tr("勾选设备将执行上位机指令，默认勾选"));
    t.pCounter->setText(tile.CounterText());
    t.pCounter->setToolTip(tile.strName);
}

int usbcontroldlg::TileIconState(int slot) const
{
    return m_tiles[size_t(slot)].nIcon;
}

void usbcontroldlg::ShowCounters()
{
    ui->editCnt->setText(QString::number(m_console.m_nTotalCnt));
    ui->editPassCnt->setText(QString::number(m_console.m_nPassCnt));
    ui->editFailCnt->setText(QString::number(m_console.m_nFailCnt));
}

void usbcontroldlg::ShowSwitchTexts()
{
    ui->btn_recordSN->setText(m_console.m_bRecordSN ? tr("写入序列流水号：开") : tr("写入序列流水号：关"));
    ui->btn_stressTest->setText(m_console.m_bStressTest ? tr("压力测试：开") : tr("压力测试：关"));
}

void usbcontroldlg::ShowLogArea(bool show)
{
    ui->edit_out->setVisible(show);
    setMaximumSize(3840, 2160);
    if (show) {
        setMinimumSize(540, 480);
        resize(1080, 960);
    } else {
        setMinimumSize(540, 360);
        resize(1080, 670);
    }
}

// ---------------------------------------------------------------- log

void usbcontroldlg::PostLog(const QString &text, bool failure)
{
    QCoreApplication::postEvent(this, new CLogEvent(text, failure));
}

void usbcontroldlg::PrintStr(const QString &text)
{
    PostLog(text);
}

void usbcontroldlg::customEvent(QEvent *event)
{
    if (int(event->type()) == kLogEvent) {
        const auto *log = static_cast<CLogEvent *>(event);
        AppendLog(log->m_strText, log->m_bFailure);
        return;
    }
    QDialog::customEvent(event);
}

void usbcontroldlg::AppendLog(const QString &text, bool failure)
{
    QTextCursor cursor(ui->edit_out->document());
    cursor.movePosition(QTextCursor::End);
    // Plain lines take the theme's text colour; failures one red that reads on every theme.
    QTextCharFormat format;
    if (failure)
        format.setForeground(kFailureColor);
    if (!ui->edit_out->document()->isEmpty())
        cursor.insertBlock();
    cursor.insertText(CLogView::Bound(ui->edit_out->document(), QDateTime::currentDateTime().toString(QStringLiteral("[yyyy-MM-dd hh:mm:ss.zzz]")) + text), format);
    QScrollBar *bar = ui->edit_out->verticalScrollBar();
    bar->setValue(bar->maximum());
}

QString usbcontroldlg::LogText() const
{
    return ui->edit_out->toPlainText();
}

void usbcontroldlg::on_btn_clearlog_clicked()
{
    ui->edit_out->clear();
}

void usbcontroldlg::SaveAllLog(bool autoSave)
{
    m_console.SaveRecord();
    if (CUsbConsole::AppendLogFile(m_console.LogFilePath(), LogText(), QDateTime::currentDateTime(), autoSave))
        PostLog(tr("保存日志成功"));
    else
        PostLog(tr("保存日志失败"), true);
}

// ---------------------------------------------------------------- commands

void usbcontroldlg::StartSignal(bool multi, ns_prog720a::USBProg *pUSBProg)
{
    m_console.StartSignal(multi, pUSBProg);
}

void usbcontroldlg::CheckCnt()
{
    m_console.CheckCnt();
}

void usbcontroldlg::SwitchPage()
{
    m_console.SwitchPage(ui->comboBox_page->currentIndex());
}

void usbcontroldlg::SwitchImage(const QString &text, bool muti)
{
    m_console.SwitchImage(text, muti);
}

void usbcontroldlg::DownImage()
{
    m_console.DownImage();
}

void usbcontroldlg::DownConfig()
{
    m_console.DownConfig();
}

void usbcontroldlg::ReadFlashData(int addr, int len)
{
    m_console.ReadFlashData(addr, len);
}

void usbcontroldlg::on_btn_readIMGNo_clicked()
{
    m_console.ReadImageNo();
}

void usbcontroldlg::on_btn_stressTest_clicked()
{
    m_console.m_bStressTest = !m_console.m_bStressTest;
    ShowSwitchTexts();
}

void usbcontroldlg::on_btn_recordSN_clicked()
{
    m_console.m_bRecordSN = !m_console.m_bRecordSN;
    ShowSwitchTexts();
}

void usbcontroldlg::LoadBinFile()
{
    QLineEdit *field = nullptr;
    if (sender() == ui->btn_load_bin1)
        field = ui->lineEdit_bin1;
    else if (sender() == ui->btn_load_bin2)
        field = ui->lineEdit_bin2;
    else if (sender() == ui->btn_load_bin3)
        field = ui->lineEdit_bin3;
    if (!field)
        return;
    const QString path = QFileDialog::getOpenFileName(this, tr("选择文件"), field->text(), QStringLiteral("bin, txt file (*.bin *.txt)"));
    if (!path.isEmpty())
        field->setText(path);
}

void usbcontroldlg::EditBin2()
{
    if (!m_pBin2) {
        m_pBin2 = std::make_unique<EditXieChangBinDlg>(this);
        connect(m_pBin2.get(), &EditXieChangBinDlg::sig_toRead, this, &usbcontroldlg::ReadFlashData);
        // The programmer that answered names the PC-side folder the bytes are in.
        connect(&m_console, &CUsbConsole::sigFlashData, m_pBin2.get(), [this](const QString &key, const QString &) {
            const ns_prog720a::USBProg *prog = m_console.Find(key);
            if (prog)
                m_pBin2->SetReadFinish(prog->FolderId());
        });
    }
    m_pBin2->SetBin2Path(ui->lineEdit_bin2->text());
    m_pBin2->show();
    m_pBin2->raise();
    m_pBin2->activateWindow();
}

// ---------------------------------------------------------------- keys

void usbcontroldlg::showEvent(QShowEvent *event)
{
    // Space starts only while no text field has the focus: open with it on the start button.
    if (KeyPressWatcher::TakesText(focusWidget()) || !focusWidget())
        ui->btn_start->setFocus();
    if (!m_bWatching) {
        qApp->installEventFilter(m_pWatcher);
        m_bWatching = true;
    }
    QDialog::showEvent(event);
}

void usbcontroldlg::hideEvent(QHideEvent *event)
{
    // Space belongs to the rest of the program again.
    if (m_bWatching) {
        qApp->removeEventFilter(m_pWatcher);
        m_bWatching = false;
    }
    QDialog::hideEvent(event);
}

void usbcontroldlg::keyPressEvent(QKeyEvent *event)
{
    // Space never activates a focused button.
    if (event->key() == Qt::Key_Space) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

void usbcontroldlg::keyReleaseEvent(QKeyEvent *event)
{
    if (event->isAutoRepeat()) {
        QDialog::keyReleaseEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Space:
        // While the watcher is installed it has started on the press already.
        if (!m_bWatching)
            StartSignal();
        break;
    case Qt::Key_F6:
        SwitchPage();
        break;
    case Qt::Key_F7:
        SwitchImage(ui->lineEdit_imageno->text());
        break;
    case Qt::Key_F5:
    case Qt::Key_F8:
        DownImage();
        break;
    case Qt::Key_F9:
        DownConfig();
        break;
    default:
        QDialog::keyReleaseEvent(event);
        return;
    }
}

void usbcontroldlg::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        for (int i = 0; i < CUsbConsole::kSlots; ++i)
            ShowTile(i);
        ShowSwitchTexts();
    }
    QDialog::changeEvent(event);
}
