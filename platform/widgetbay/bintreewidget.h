#pragma once
// The program list of an image: rows of (start address as hex text, file path).
#include "widgetbay_global.h"

#include <QList>
#include <QTreeWidget>
#include <functional>

struct WIDGETBAY_EXPORT BinInfo
{
    QString m_strAddr; // "0x08000000"
    QString m_strPath;
    bool operator==(const BinInfo &other) const
    {
        return m_strAddr == other.m_strAddr && m_strPath == other.m_strPath;
    }
};

class WIDGETBAY_EXPORT BinTreeWidget : public QTreeWidget
{
    Q_OBJECT
public:
    explicit BinTreeWidget(QWidget *parent = nullptr);

    void AddBinInfo(const QString &addr = QStringLiteral("0x0000"), const QString &path = QString());
    void DeleteCurrent();
    void DeleteAll();

    QList<BinInfo> GetBinInfos() const;
    void SetBinInfos(const QList<BinInfo> &infos);
    // The list as one line of text, for the settings, and back.
    QString GetBinInfosDesc() const;
    void SetBinInfosDesc(const QString &desc);
    static QString ToDesc(const QList<BinInfo> &infos);
    static QList<BinInfo> FromDesc(const QString &desc);

    // Hex text such as "0x08000000" or "8000000"; false for anything else.
    static bool ParseAddr(const QString &text, quint32 &addr);

    void RetranslateUi();

    void SetAddr(int row, const QString &addr);

    // Replaces the file dialog of the path cell (tests); gets the current path,
    // returns the chosen one or empty. An empty function brings the dialog back.
    using FileChooser = std::function<QString(const QString &current)>;
    static void SetFileChooser(FileChooser chooser);

signals:
    void sig_changed();
    // The user picked a file for a row's path.
    void sig_pathChosen(int row, const QString &path);

protected:
    void changeEvent(QEvent *event) override;

private:
    void OnItemDoubleClicked(QTreeWidgetItem *item, int column);
    void OnItemChanged(QTreeWidgetItem *item, int column);
    bool m_bFilling = false;
};
