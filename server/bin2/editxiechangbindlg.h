#pragma once
// "编辑BIN2参数": the BIN2 parameter rows of CBin2Editor as widgets. The USB
// console creates it once, hands it its BIN2 path and answers its reads of
// the target flash (sig_toRead) with SetReadFinish.
#include "cbin2editor.h"

#include <QDialog>
#include <QTimer>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QMessageBox;
class QToolButton;

class EditXieChangBinDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kReadTimeoutMs = 3000;

    explicit EditXieChangBinDlg(QWidget *parent = nullptr);
    ~EditXieChangBinDlg() override;

    void SetBin2Path(const QString &path);
    QString Bin2Path() const;
    // Loads that file as "加载文件" does after its file dialog.
    bool LoadBinFile(const QString &path);
    const CBin2Editor &Editor() const { return m_editor; }
    bool IsReading() const { return m_readTimer.isActive(); }

public slots:
    void LoadBin();
    void AddParam();
    void DelParam();
    void ExPortBin();
    void ReadFlashParam();
    // hex: the display format chosen from the format menu.
    void FormatChanged(bool hex);
    void DataTypeUpdateParam();
    // The programmer of that ID has "read_flash_bin" in its PC-side folder.
    void SetReadFinish(const QString &id);

signals:
    void sig_toRead(int addr, int len);

private:
    struct RowWidgets
    {
        QLabel *pLabel = nullptr;
        QLineEdit *pDesc = nullptr;
        QComboBox *pType = nullptr;
        QLineEdit *pValue = nullptr;
        QLineEdit *pNotes = nullptr;
    };

    void BuildRows(QWidget *area);
    // Widgets -> editor and editor -> widgets.
    void TakeRows();
    void ShowRows();
    void ShowCount();
    void ShowFormat();
    void Show(const CBin2Message &msg);
    void ReadTimeout();
    void CloseWait();

    CBin2Editor m_editor;
    std::array<RowWidgets, CBin2Params::kMaxParams> m_rows;
    QLineEdit *edit_path = nullptr;
    QLineEdit *edit_addr = nullptr;
    QLabel *label_count = nullptr;
    QToolButton *btn_format = nullptr;
    QMessageBox *m_pWait = nullptr; // child while a read runs
    QTimer m_readTimer;
    bool m_bShowing = false;
};
