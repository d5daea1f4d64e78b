#include "exfactorydlg.h"

#include "cmessagebox.h"
#include "dbprocessdlg.h"
#include "traymessagedlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

template <class W> W *Named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLineEdit *Counter(QWidget *parent, const char *name)
{
    auto *edit = Named(new QLineEdit(parent), name);
    edit->setReadOnly(true);
    return edit;
}

const QString kFailed = QStringLiteral("测试失败");

} // namespace

exfactorydlg::exfactorydlg(CRecordStore &store, Requests requests, QWidget *parent)
    : databasedlg(CRecordStore::kExFactory, store, std::move(requests), parent)
{
    setWindowTitle(tr("出厂测试"));
    comboBox_prog = Named(new QComboBox(this), "comboBox_prog");
    edit_uid = Named(new QLineEdit(this), "edit_uid");
    edit_uid->setReadOnly(true);
    comboBox_model = Named(new QComboBox(this), "comboBox_model");
    comboBox_model->addItems({QStringLiteral("QEL720B"), QStringLiteral("QEL720A"), QStringLiteral("QEL720C")});
    comboBox_result = Named(new QComboBox(this), "comboBox_result");
    comboBox_result->addItems(dbprocessdlg::Results());
    comboBox_result->setItemData(3, tr("指初测未过，修复处理后入库的"), Qt::ToolTipRole);
    comboBox_reason = Named(new QComboBox(this), "comboBox_reason");
    comboBox_reason->addItems(dbprocessdlg::Reasons());
    check_auto = Named(new QCheckBox(tr("自动入库"), this), "check_auto");
    btn_save = Named(new QPushButton(tr("入库"), this), "btn_save");
    btn_search = Named(new QPushButton(tr("查找"), this), "btn_search");
    btn_refresh = Named(new QPushButton(tr("刷新"), this), "btn_refresh");
    editTotal = Counter(this, "editTotal");
    editFailCnt = Counter(this, "editFailCnt");
    editFixCnt = Counter(this, "editFixCnt");
    editPassRate = Counter(this, "editPassRate");

    auto *form = new QFormLayout;
    form->addRow(tr("下载器"), comboBox_prog);
    form->addRow(tr("下载器ID"), edit_uid);
    form->addRow(tr("编程器版本"), comboBox_model);
    form->addRow(tr("测试结果"), comboBox_result);
    form->addRow(tr("失败原因"), comboBox_reason);
    form->addRow(check_auto);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btn_save);
    buttons->addWidget(btn_search);
    buttons->addWidget(btn_refresh);
    form->addRow(buttons);
    auto *stats = new QFormLayout;
    stats->addRow(tr("数据库数量："), editTotal);
    stats->addRow(tr("失败数量："), editFailCnt);
    stats->addRow(tr("二测通过数量："), editFixCnt);
    stats->addRow(tr("通过率(一测)："), editPassRate);
    auto *side = new QVBoxLayout;
    side->addLayout(form);
    side->addLayout(stats);
    side->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(tableView, 1);
    layout->addLayout(side);
    resize(960, 520);

    tableView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tableView, &QTableView::customContextMenuRequested, this, &exfactorydlg::on_ContextMenuReq);
    connect(comboBox_prog, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &exfactorydlg::UpdateProgPath);
    connect(comboBox_prog, &QComboBox::currentTextChanged, this, &exfactorydlg::ComboBoxChanged);
    connect(comboBox_result, &QComboBox::currentTextChanged, this, [this](const QString &result) {
        // A reason only for a result that had a failure.
        comboBox_reason->setEnabled(result == kFailed || result == CRecordStore::kSecondPass);
    });
    connect(btn_save, &QPushButton::clicked, this, [this] {
        const bool automatic = check_auto->isChecked();
        check_auto->setChecked(true);
        SaveExFactoryData(edit_uid->text());
        check_auto->setChecked(automatic);
    });
    connect(btn_search, &QPushButton::clicked, this, &exfactorydlg::on_btn_search_clicked);
    connect(btn_refresh, &QPushButton::clicked, this, &databasedlg::RequestTable);
    connect(&Appender(), &CRecordAppender::sigLocalFailed, this, [this](int, const QString &error) {
        qDebug() << "exfactorydlg::SaveExFactoryData" << error;
        CMessageBox::Error(this, tr("错误"), tr("本地数据库更新失败!"));
    });
    ResetForm();
    Statistics();
}

void exfactorydlg::SetProgrammers(const QStringList &ids)
{
    m_ids = ids;
    const QString current = comboBox_prog->currentText();
    comboBox_prog->clear();
    comboBox_prog->addItems(ids);
    const int at = comboBox_prog->findText(current);
    if (at >= 0)
        comboBox_prog->setCurrentIndex(at);
}

void exfactorydlg::ComboBoxChanged(const QString &text)
{
    edit_uid->setText(text);
}

void exfactorydlg::UpdateProgPath(int index)
{
    edit_uid->setText(index >= 0 && index < m_ids.size() ? m_ids.at(index) : QString());
}

void exfactorydlg::onDelete(const QString &id)
{
    // A row goes only when the service's table no longer has it: read the table again.
    Q_UNUSED(id)
    RequestTable();
}

void exfactorydlg::on_ContextMenuReq(const QPoint &pos)
{
    QMenu menu(this);
    QAction *search = menu.addAction(tr("查找"));
    QAction *refresh = menu.addAction(tr("刷新"));
    QAction *chosen = menu.exec(tableView->viewport()->mapToGlobal(pos));
    if (chosen == search)
        on_btn_search_clicked();
    else if (chosen == refresh)
        RequestTable();
}

dbprocessdlg *exfactorydlg::FindDialog()
{
    if (!m_pFind) {
        m_pFind = new dbprocessdlg(dbprocessdlg::Find, this);
        connect(m_pFind, &dbprocessdlg::sig2Find, this, &exfactorydlg::findDataBase);
    }
    return m_pFind;
}

void exfactorydlg::on_btn_search_clicked()
{
    FindDialog()->show();
    FindDialog()->raise();
}

void exfactorydlg::findDataBase(const ProgrammerRecord &record)
{
    if (!record.uid.isEmpty()) {
        const std::optional<int> id = Store().FindUid(Table(), record.uid);
        if (!id) {
            CMessageBox::Info(this, tr("未找到"), tr("数据库未找到所需数据"));
            return;
        }
        SelectId(*id);
        CMessageBox::Info(this, tr("已找到"), tr("数据行数: ") + QString::number(*id));
        return;
    }
    const QList<int> ids = Store().FindByCondition(record.result, record.failReason);
    if (ids.isEmpty()) {
        CMessageBox::Info(this, tr("未找到"), tr("数据库未找到所需数据"));
        return;
    }
    QString rows;
    for (int id : ids)
        rows += QLatin1Char(' ') + QString::number(id);
    SelectId(ids.first());
    CMessageBox::Info(this, tr("存在符合条件数据"), tr("找到%1条数据, 分别在行: ").arg(ids.size()) + rows);
}

void exfactorydlg::SaveExFactoryData(const QString &id)
{
    if (!check_auto->isChecked() || id.isEmpty() || !m_ids.contains(id) || Appender().IsWaiting()) {
        ResetForm();
        return;
    }
    ProgrammerRecord record;
    record.id = Rows() + 2;
    record.uid = id;
    record.dateTime = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    record.model = comboBox_model->currentText();
    record.result = comboBox_result->currentText();
    record.failReason = comboBox_reason->isEnabled() ? comboBox_reason->currentText() : CRecordStore::kNull;
    if (!Appender().AppendFactory(record))
        ResetForm();
}

void exfactorydlg::Stored(const QString &uid)
{
    TrayMessageDlg::showTip(tr("提示"), tr("编程器数据已入库: %1").arg(uid), 5000, Qt::PlainText);
    if (const std::optional<int> id = Store().FindUid(Table(), uid))
        SelectId(*id);
    ResetForm();
}

void exfactorydlg::TableShown()
{
    Statistics();
}

void exfactorydlg::Statistics()
{
    m_stats = Store().Stats();
    editTotal->setText(QString::number(m_stats.total));
    editFailCnt->setText(QString::number(m_stats.failures));
    editFixCnt->setText(QString::number(m_stats.secondPasses));
    editPassRate->setText(m_stats.PassRate());
}

void exfactorydlg::ResetForm()
{
    comboBox_result->setCurrentIndex(0);
    comboBox_reason->setCurrentIndex(0);
    comboBox_reason->setEnabled(false);
}
