#include "bintreewidget.h"

#include <QEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>

namespace {
enum Column { AddrColumn = 0, PathColumn = 1 };

BinTreeWidget::FileChooser &fileChooser()
{
    static BinTreeWidget::FileChooser chooser;
    return chooser;
}
} // namespace

BinTreeWidget::BinTreeWidget(QWidget *parent) : QTreeWidget(parent)
{
    setColumnCount(2);
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    header()->setStretchLastSection(true);
    setColumnWidth(AddrColumn, 110);
    // A double click edits: the address in place, the path through the file
    // dialog only, so no editor is left over the path to type into.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    RetranslateUi();
    connect(this, &QTreeWidget::itemDoubleClicked, this, &BinTreeWidget::OnItemDoubleClicked);
    connect(this, &QTreeWidget::itemChanged, this, &BinTreeWidget::OnItemChanged);
}

void BinTreeWidget::RetranslateUi()
{
    setHeaderLabels({tr("起始地址"), tr("文件路径")});
}

void BinTreeWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        RetranslateUi();
    QTreeWidget::changeEvent(event);
}

void BinTreeWidget::AddBinInfo(const QString &addr, const QString &path)
{
    m_bFilling = true;
    auto *item = new QTreeWidgetItem(this, {addr, path});
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    item->setToolTip(PathColumn, path);
    m_bFilling = false;
    setCurrentItem(item);
    emit sig_changed();
}

void BinTreeWidget::DeleteCurrent()
{
    QTreeWidgetItem *item = currentItem();
    if (!item)
        return;
    delete item;
    emit sig_changed();
}

void BinTreeWidget::DeleteAll()
{
    if (topLevelItemCount() == 0)
        return;
    clear();
    emit sig_changed();
}

QList<BinInfo> BinTreeWidget::GetBinInfos() const
{
    QList<BinInfo> infos;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = topLevelItem(i);
        infos << BinInfo{item->text(AddrColumn).trimmed(), item->text(PathColumn).trimmed()};
    }
    return infos;
}

void BinTreeWidget::SetBinInfos(const QList<BinInfo> &infos)
{
    m_bFilling = true;
    clear();
    for (const BinInfo &info : infos) {
        auto *item = new QTreeWidgetItem(this, {info.m_strAddr, info.m_strPath});
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        item->setToolTip(PathColumn, info.m_strPath);
    }
    m_bFilling = false;
    emit sig_changed();
}

QString BinTreeWidget::ToDesc(const QList<BinInfo> &infos)
{
    QJsonArray rows;
    for (const BinInfo &info : infos)
        rows.append(QJsonArray{info.m_strAddr, info.m_strPath});
    return QString::fromUtf8(QJsonDocument(rows).toJson(QJsonDocument::Compact));
}

QList<BinInfo> BinTreeWidget::FromDesc(const QString &desc)
{
    QList<BinInfo> infos;
    const QJsonArray rows = QJsonDocument::fromJson(desc.toUtf8()).array();
    for (const QJsonValue &row : rows) {
        const QJsonArray pair = row.toArray();
        if (pair.size() == 2 && pair[0].isString() && pair[1].isString())
            infos << BinInfo{pair[0].toString(), pair[1].toString()};
    }
    return infos;
}

QString BinTreeWidget::GetBinInfosDesc() const
{
    return ToDesc(GetBinInfos());
}

void BinTreeWidget::SetBinInfosDesc(const QString &desc)
{
    SetBinInfos(FromDesc(desc));
}

bool BinTreeWidget::ParseAddr(const QString &text, quint32 &addr)
{
    QString hex = text.trimmed();
    if (hex.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        hex = hex.mid(2);
    bool ok = false;
    const qulonglong value = hex.toULongLong(&ok, 16);
    if (!ok || hex.isEmpty() || value > 0xFFFFFFFFull)
        return false;
    addr = quint32(value);
    return true;
}

void BinTreeWidget::SetFileChooser(FileChooser chooser)
{
    fileChooser() = std::move(chooser);
}

void BinTreeWidget::SetAddr(int row, const QString &addr)
{
    if (QTreeWidgetItem *item = topLevelItem(row))
        item->setText(AddrColumn, addr);
}

void BinTreeWidget::OnItemDoubleClicked(QTreeWidgetItem *item, int column)
{
    if (column == AddrColumn) {
        editItem(item, AddrColumn);
        return;
    }
    const QString current = item->text(PathColumn);
    const QString path = fileChooser() ? fileChooser()(current)
                                       : QFileDialog::getOpenFileName(this, tr("选择程序文件"), current,
                                                                      tr("程序文件 (*.bin *.BIN *.hex *.HEX)"));
    // The row may have gone while the dialog was open.
    const int row = indexOfTopLevelItem(item);
    if (path.isEmpty() || row < 0)
        return;
    item->setText(PathColumn, path);
    emit sig_pathChosen(row, path);
}

void BinTreeWidget::OnItemChanged(QTreeWidgetItem *item, int column)
{
    if (m_bFilling)
        return;
    if (column == PathColumn)
        item->setToolTip(PathColumn, item->text(PathColumn));
    emit sig_changed();
}
