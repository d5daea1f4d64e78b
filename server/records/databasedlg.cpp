#include "databasedlg.h"

#include "cmessagebox.h"

#include <QDebug>
#include <QHeaderView>
#include <QMessageBox>
#include <QSqlRelationalTableModel>
#include <QTableView>

databasedlg::databasedlg(const QString &table, CRecordStore &store, Requests requests, QWidget *parent)
    : QDialog(parent),
      m_strTable(table),
      m_store(store),
      m_request(store, std::move(requests.pull)),
      m_appender(store, std::move(requests.append))
{
    tableView = new QTableView(this);
    tableView->setObjectName(QStringLiteral("tableView"));
    tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(&m_request, &CTableRequest::sigLoaded, this, [this](const QString &t) {
        if (t != m_strTable)
            return;
        CloseWaitBox();
        ShowTable();
    });
    connect(&m_request, &CTableRequest::sigLoadFailed, this, [this](const QString &t, const QString &error) {
        if (t != m_strTable)
            return;
        CloseWaitBox();
        qDebug() << "ReadDataBaseFromSQL" << error;
        CMessageBox::Error(this, tr("错误"), tr("读取数据库数据失败！"));
    });
    connect(&m_request, &CTableRequest::sigTimedOut, this, [this](const QString &t) {
        if (t != m_strTable)
            return;
        CloseWaitBox();
        CMessageBox::Error(this, tr("错误!"), tr("拉取服务器数据库超时"));
    });
    connect(&m_appender, &CRecordAppender::sigStored, this, [this](int, const QString &uid) {
        ShowTable();
        Stored(uid);
    });
    connect(&m_appender, &CRecordAppender::sigRemoteFailed, this, [this](int) { RemoteFailed(); });
}

databasedlg::~databasedlg()
{
    CloseWaitBox();
}

void databasedlg::RemoteFailed()
{
    CMessageBox::Error(this, tr("错误"), tr("远端数据库更新失败!\n请检查网络连接或者联系相关人员!"));
}

void databasedlg::RequestTable()
{
    if (m_request.IsWaiting())
        return;
    if (!m_pWaitBox) {
        // Window-modal and opened, not exec'd: the program goes on while it shows.
        m_pWaitBox = new QMessageBox(QMessageBox::Information, windowTitle(), tr("请稍候，正在拉取服务器数据库..."),
                                     QMessageBox::NoButton, this);
        m_pWaitBox->setWindowModality(Qt::WindowModal);
    }
    m_pWaitBox->open();
    if (!m_request.Request(m_strTable)) {
        CloseWaitBox();
        CMessageBox::Error(this, tr("错误!"), tr("拉取服务器数据库超时"));
    }
}

void databasedlg::ReadDataBaseFromSQL(const QString &table, const QString &path)
{
    m_request.OnFile(table, path);
}

void databasedlg::CloseWaitBox()
{
    if (m_pWaitBox) {
        m_pWaitBox->hide();
        m_pWaitBox->deleteLater();
        m_pWaitBox = nullptr;
    }
}

void databasedlg::ShowTable()
{
    if (!m_pModel) {
        m_pModel = new QSqlRelationalTableModel(this, m_store.Database());
        tableView->setModel(m_pModel);
    }
    m_pModel->setTable(m_strTable);
    m_pModel->select();
    while (m_pModel->canFetchMore())
        m_pModel->fetchMore();
    tableView->scrollToBottom();
    for (int i = 0; i < m_pModel->columnCount(); ++i) {
        tableView->resizeColumnToContents(i);
        tableView->setColumnWidth(i, tableView->columnWidth(i) + 40);
    }
    TableShown();
    emit sigTableShown();
}

int databasedlg::Rows() const
{
    return m_pModel ? m_pModel->rowCount() : m_store.RowCount(m_strTable);
}

int databasedlg::RowOfId(int id) const
{
    if (!m_pModel)
        return -1;
    const int column = m_pModel->fieldIndex(QStringLiteral("ID"));
    for (int row = 0; row < m_pModel->rowCount(); ++row) {
        if (m_pModel->index(row, column).data().toInt() == id)
            return row;
    }
    return -1;
}

bool databasedlg::SelectId(int id)
{
    const int row = RowOfId(id);
    if (row < 0)
        return false;
    tableView->selectRow(row);
    tableView->scrollTo(m_pModel->index(row, 0));
    return true;
}
