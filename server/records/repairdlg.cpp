#include "repairdlg.h"

#include "cmessagebox.h"
#include "dbprocessdlg.h"
#include "traymessagedlg.h"

#include <QDateTime>
#include <QDebug>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

repairdlg::repairdlg(CRecordStore &store, Requests requests, QWidget *parent)
    : databasedlg(CRecordStore::kRepair, store, std::move(requests), parent)
{
    setWindowTitle(tr("返修记录"));
    btn_add = new QPushButton(tr("追加记录"), this);
    btn_add->setObjectName(QStringLiteral("btn_add"));
    btn_refresh = new QPushButton(tr("刷新"), this);
    btn_refresh->setObjectName(QStringLiteral("btn_refresh"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btn_refresh);
    buttons->addWidget(btn_add);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tableView, 1);
    layout->addLayout(buttons);
    resize(960, 520);
    connect(btn_add, &QPushButton::clicked, this, [this] {
        AddDialog()->show();
        AddDialog()->raise();
    });
    connect(btn_refresh, &QPushButton::clicked, this, &databasedlg::RequestTable);
    connect(&Appender(), &CRecordAppender::sigLocalFailed, this, [](int, const QString &error) {
        qDebug() << "repairdlg::AddRecord" << "update local fail" << error;
    });
}

dbprocessdlg *repairdlg::AddDialog()
{
    static const char *name = "addDialog";
    auto *dlg = findChild<dbprocessdlg *>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    if (!dlg) {
        dlg = new dbprocessdlg(dbprocessdlg::Add, this);
        dlg->setObjectName(QLatin1String(name));
        connect(dlg, &dbprocessdlg::sig2Add, this, &repairdlg::AddRecord);
    }
    return dlg;
}

void repairdlg::AddRecord(const qelmsg::RepairRecord &record)
{
    if (!CRecordStore::IsComplete(record)) {
        CMessageBox::Warn(this, tr("参数缺省！"), tr("序列号、问题摘要、来源、和检测人员不可少"));
        return;
    }
    if (Appender().IsWaiting())
        return;
    qelmsg::RepairRecord row = record;
    row.id = Rows() + 1;
    Appender().AppendRepair(row, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
}

void repairdlg::Stored(const QString &uid)
{
    TrayMessageDlg::showTip(tr("提示"), tr("数据已入库: %1").arg(uid), 5000, Qt::PlainText);
    if (const std::optional<int> id = Store().FindUid(Table(), uid))
        SelectId(*id);
}
