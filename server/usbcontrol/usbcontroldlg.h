#pragma once
// The console window "QEL烧录器-USB多路在线控制": eight programmer tiles,
// the command buttons and keys, counters and the log. The rules are
// CUsbConsole's; this dialog shows its state and passes the operator's input on.
#include "cusbconsole.h"

#include <QDialog>
#include <QTimer>

#include <array>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class KeyPressWatcher;
class EditXieChangBinDlg;

namespace Ui {
class usbcontroldlg;
}

class usbcontroldlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kLogEvent = 2000;
    static constexpr int kAutoSaveMs = 300000;

    explicit usbcontroldlg(QWidget *parent = nullptr);
    ~usbcontroldlg() override;

    CUsbConsole *Console() { return &m_console; }
    // The BIN2 parameter editor once "编辑BIN2参数" has opened it, else null.
    EditXieChangBinDlg *Bin2Editor() const { return m_pBin2.get(); }
    QString LogText() const;
    // The widgets of one tile, for the window and its tests.
    QLabel *TileName(int slot) const { return m_tiles[size_t(slot)].pName; }
    QLabel *TileIcon(int slot) const { return m_tiles[size_t(slot)].pIcon; }
    QCheckBox *TileExecute(int slot) const { return m_tiles[size_t(slot)].pExecute; }
    QLineEdit *TileCounter(int slot) const { return m_tiles[size_t(slot)].pCounter; }
    // Icon state shown by a tile (CUsbConsole::Icon).
    int TileIconState(int slot) const;

    // Posts a log line as event 2000; any thread.
    void PostLog(const QString &text, bool failure = false);

public slots:
    void StartSignal(bool multi = true, ns_prog720a::USBProg *pUSBProg = nullptr);
    void CheckCnt();
    void SwitchPage();
    void SwitchImage(const QString &text, bool muti = true);
    void PrintStr(const QString &text);
    void DownImage();
    void DownConfig();
    void SaveAllLog(bool autoSave);
    void on_btn_clearlog_clicked();
    void LoadBinFile();
    void EditBin2();
    void ReadFlashData(int addr, int len);
    void on_btn_readIMGNo_clicked();
    void on_btn_stressTest_clicked();
    void on_btn_recordSN_clicked();

protected:
    void customEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct TileWidgets
    {
        QLabel *pName = nullptr;
        QLabel *pIcon = nullptr;
        QCheckBox *pExecute = nullptr;
        QLineEdit *pCounter = nullptr;
        int nIcon = -1;
    };

    void BuildTiles();
    void ShowTile(int slot);
    void ShowCounters();
    void ShowLogArea(bool show);
    void ShowSwitchTexts();
    void AppendLog(const QString &text, bool failure);

    std::unique_ptr<Ui::usbcontroldlg> ui;
    CUsbConsole m_console;
    std::array<TileWidgets, CUsbConsole::kSlots> m_tiles;
    KeyPressWatcher *m_pWatcher = nullptr; // child
    std::unique_ptr<EditXieChangBinDlg> m_pBin2; // created on first use
    bool m_bWatching = false;
    QTimer m_autoSave;
};
