#pragma once
// Common base of the record dialogs: asks the service for a table, loads the
// SQL text it sends into the local database and shows the table. The wait
// shows a box and never blocks the window.
#include "crecordappender.h"
#include "crecordstore.h"
#include "ctablerequest.h"

#include <QDialog>
#include <QPointer>

class QMessageBox;
class QSqlRelationalTableModel;
class QTableView;

class databasedlg : public QDialog
{
    Q_OBJECT
public:
    // The requests this dialog makes of the cloud service.
    struct Requests
    {
        CTableRequest::Puller pull;
        CRecordAppender::Sender append;
    };

    databasedlg(const QString &table, CRecordStore &store, Requests requests, QWidget *parent = nullptr);
    ~databasedlg() override;

    const QString &Table() const { return m_strTable; }
    CRecordStore &Store() { return m_store; }
    CRecordAppender &Appender() { return m_appender; }
    QSqlRelationalTableModel *Model() const { return m_pModel; }
    QTableView *View() const { return tableView; }
    int Rows() const;
    // The row that shows that ID; -1 when none does.
    int RowOfId(int id) const;
    // Selects the row showing that ID; false when none does.
    bool SelectId(int id);
    bool IsWaiting() const { return m_request.IsWaiting(); }

public slots:
    // Asks for the table: waiting box and time-out.
    void RequestTable();
    // The service's SQL file of a table has arrived.
    void ReadDataBaseFromSQL(const QString &table, const QString &path);
    // The service's answer to a record sent.
    void OnAppendResp(const qelmsg::RecordAppendResp &answer) { m_appender.OnAck(answer); }

signals:
    void sigTableShown();

protected:
    // Shows the table again from the local database.
    void ShowTable();
    virtual void TableShown() {}
    // Texts of the record just stored (tray tip) and what failed.
    virtual void Stored(const QString &uid) = 0;
    void RemoteFailed();

    QTableView *tableView = nullptr;

private:
    void CloseWaitBox();

    QString m_strTable;
    CRecordStore &m_store;
    CTableRequest m_request;
    CRecordAppender m_appender;
    QSqlRelationalTableModel *m_pModel = nullptr;
    QPointer<QMessageBox> m_pWaitBox;
};
