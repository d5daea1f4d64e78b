// The record dialogs against the cloud service double: tables pulled into a
// real SQLite file, factory tests stored when a programmer arrives in test
// mode, searches through the search dialog, and repair records entered.
#include "answeredboxes.h"
#include "cloudendpoint.h"
#include "cloudsimprocess.h"
#include "qeltest.h"

#include <cserverhost.h>
#include <cstoretools.h>
#include <dbprocessdlg.h>
#include <exfactorydlg.h>
#include <remoteserver.h>
#include <repairdlg.h>
#include <traymessagedlg.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QSqlRelationalTableModel>
#include <QTableView>
#include <QTemporaryDir>

using qeltest::Boxes;

namespace {

const int kWait = 20000;

struct Rig
{
    Rig() : sim(state.path())
    {
        ok = sim.WaitReady();
        SetCloudEndpoint(sim.Port());
        host.SetCloud(&cloud);
        tools = std::make_unique<CStoreTools>(&window, &cloud, &upload, &factory, &repair);
    }
    // Opens a dialog through its entry and waits for its table.
    template <class D> bool Open(QAction *action, D *dlg)
    {
        QSignalSpy shown(dlg, &databasedlg::sigTableShown);
        return tools->Handle(action) && (shown.count() > 0 || shown.wait(kWait));
    }
    static QString Tip()
    {
        TrayMessageDlg *tip = TrayMessageDlg::current();
        return tip ? tip->text() : QString();
    }
    static int SelectedId(databasedlg *dlg)
    {
        const QModelIndexList rows = dlg->View()->selectionModel()->selectedRows();
        if (rows.isEmpty())
            return -1;
        return dlg->Model()->index(rows.first().row(), dlg->Model()->fieldIndex("ID")).data().toInt();
    }

    QTemporaryDir state;
    CloudSim sim;
    remoteServer cloud;
    CServerHost host{nullptr};
    QWidget window;
    QAction upload{nullptr}, factory{nullptr}, repair{nullptr};
    std::unique_ptr<CStoreTools> tools;
    bool ok = false;
};

} // namespace

class TestRecordDialogs : public QObject
{
    Q_OBJECT

private slots:
    void factoryTestsOnArrival()
    {
        Rig rig;
        QVERIFY(rig.ok);
        Boxes boxes;
        exfactorydlg *dlg = rig.tools->FactoryTest();
        QVERIFY(dlg);
        QVERIFY(rig.Open(&rig.factory, dlg));
        QCOMPARE(dlg->editTotal->text(), QStringLiteral("1"));
        QCOMPARE(dlg->editPassRate->text(), QStringLiteral("100.00%(100.00%)"));

        // Outside test mode an arrival only lists the programmer.
        const QString first = QStringLiteral("0123456789ABCDEF01234567");
        const QString second = QStringLiteral("76543210FEDCBA9876543210");
        dlg->check_auto->setChecked(true);
        rig.tools->ProgerCame(first, false);
        QVERIFY(dlg->Programmers().contains(first));
        QVERIFY(!dlg->Appender().IsWaiting());

        // In test mode with automatic storing: a failed test with its reason.
        dlg->comboBox_model->setCurrentText(QStringLiteral("QEL720C"));
        dlg->comboBox_result->setCurrentText(QStringLiteral("测试失败"));
        QVERIFY(dlg->comboBox_reason->isEnabled());
        dlg->comboBox_reason->setCurrentText(QStringLiteral("屏幕问题"));
        rig.tools->ProgerGone(first);
        rig.tools->ProgerCame(first, true);
        QVERIFY(dlg->Appender().IsWaiting());
        QTRY_COMPARE_WITH_TIMEOUT(Rig::Tip(), QStringLiteral("编程器数据已入库: %1").arg(first), kWait);
        QTRY_COMPARE_WITH_TIMEOUT(dlg->Model()->rowCount(), 1, kWait);
        QSqlQuery q(dlg->Store().Database());
        QVERIFY(q.exec("SELECT Model, Result, FailReason FROM ExFactory"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("QEL720C"));
        QCOMPARE(q.value(1).toString(), QStringLiteral("测试失败"));
        QCOMPARE(q.value(2).toString(), QStringLiteral("屏幕问题"));
        q.finish();
        // The form starts again for the next programmer.
        QCOMPARE(dlg->comboBox_result->currentText(), CRecordStore::kNull);

        // A pass; a reason box that is off stores "NULL".
        dlg->comboBox_result->setCurrentText(CRecordStore::kPassed);
        QVERIFY(!dlg->comboBox_reason->isEnabled());
        rig.tools->ProgerCame(second, true);
        QTRY_COMPARE_WITH_TIMEOUT(dlg->Model()->rowCount(), 2, kWait);
        QCOMPARE(rig.SelectedId(dlg), *dlg->Store().FindUid(CRecordStore::kExFactory, second));
        const ExFactoryStats stats = dlg->Store().Stats();
        QCOMPARE(dlg->editTotal->text(), QString::number(stats.total));
        QCOMPARE(dlg->editFailCnt->text(), QStringLiteral("1"));
        QCOMPARE(dlg->editPassRate->text(), stats.PassRate());
        QVERIFY(dlg->editPassRate->text() != QStringLiteral("100.00%(100.00%)"));

        // Automatic storing off: nothing is sent.
        dlg->check_auto->setChecked(false);
        rig.tools->ProgerCame(QStringLiteral("AAAAAAAAAAAAAAAAAAAAAAAA"), true);
        QVERIFY(!dlg->Appender().IsWaiting());

        // The table as the service holds it comes back the same.
        QVERIFY(rig.Open(&rig.factory, dlg));
        QCOMPARE(dlg->Model()->rowCount(), 2);
        QCOMPARE(boxes.shown.size(), 0);

        // Search by ID and by condition through the search dialog.
        dbprocessdlg *find = dlg->FindDialog();
        find->checkID->setChecked(true);
        QVERIFY(find->edit_uid->isEnabled());
        QVERIFY(!find->combo_result->isEnabled());
        find->edit_uid->setText(QStringLiteral("not-there"));
        find->btnFind->click();
        QVERIFY(boxes.Shown(QStringLiteral("数据库未找到所需数据")));
        boxes.shown.clear();
        find->edit_uid->setText(first);
        find->btnFind->click();
        const int firstId = *dlg->Store().FindUid(CRecordStore::kExFactory, first);
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown.first().text, QStringLiteral("数据行数: %1").arg(firstId));
        QCOMPARE(rig.SelectedId(dlg), firstId);

        boxes.shown.clear();
        find->checkCondition->setChecked(true);
        QVERIFY(!find->edit_uid->isEnabled());
        find->combo_result->setCurrentText(QStringLiteral("测试失败"));
        find->combo_reason->setCurrentText(CRecordStore::kNull);   // any reason
        dlg->View()->clearSelection();
        find->btnFind->click();
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown.first().title, QStringLiteral("存在符合条件数据"));
        QCOMPARE(boxes.shown.first().text, QStringLiteral("找到1条数据, 分别在行:  %1").arg(firstId));
        QCOMPARE(rig.SelectedId(dlg), firstId);
        boxes.shown.clear();
        find->combo_reason->setCurrentText(QStringLiteral("按键问题"));
        find->btnFind->click();
        QVERIFY(boxes.Shown(QStringLiteral("数据库未找到所需数据")));
    }

    void serviceGone()
    {
        Rig rig;
        QVERIFY(rig.ok);
        Boxes boxes;
        exfactorydlg *dlg = rig.tools->FactoryTest();
        QVERIFY(rig.Open(&rig.factory, dlg));
        QVERIFY(rig.sim.Stop());
        dlg->check_auto->setChecked(true);
        const QString id = QStringLiteral("0123456789ABCDEF01234567");
        rig.tools->ProgerCame(id, true);
        QTRY_VERIFY_WITH_TIMEOUT(boxes.Shown(QStringLiteral("远端数据库更新失败!\n请检查网络连接或者联系相关人员!")), kWait);
        QVERIFY(!dlg->Store().FindUid(CRecordStore::kExFactory, id));
        QCOMPARE(dlg->Model()->rowCount(), 0);

        // The table request times out once; the dialog stays usable.
        boxes.shown.clear();
        dlg->RequestTable();
        QVERIFY(dlg->IsWaiting());
        QTRY_VERIFY_WITH_TIMEOUT(boxes.Shown(QStringLiteral("拉取服务器数据库超时")), kWait);
        QVERIFY(!dlg->IsWaiting());
        QCOMPARE(boxes.shown.size(), 1);
    }

    void repairRecords()
    {
        Rig rig;
        QVERIFY(rig.ok);
        Boxes boxes;
        repairdlg *dlg = rig.tools->Repair();
        QVERIFY(dlg);
        QVERIFY(rig.Open(&rig.repair, dlg));
        QCOMPARE(dlg->Model()->rowCount(), 0);

        dbprocessdlg *add = dlg->AddDialog();
        add->edit_uid->setText(QStringLiteral("00AA11"));
        add->edit_abstract->setText(QStringLiteral("屏幕不亮 '; DROP TABLE Repair; --"));
        add->edit_staff->setText(QStringLiteral("O'Brien"));
        // No source: refused before anything is sent.
        add->btnAdd->click();
        QVERIFY(boxes.Shown(QStringLiteral("序列号、问题摘要、来源、和检测人员不可少")));
        QVERIFY(!dlg->Appender().IsWaiting());

        add->edit_source->setText(QStringLiteral("客户返修"));
        add->combo_hwver->setCurrentText(QStringLiteral("VER_B"));
        add->btnAdd->click();
        QVERIFY(dlg->Appender().IsWaiting());
        QTRY_COMPARE_WITH_TIMEOUT(Rig::Tip(), QStringLiteral("数据已入库: 00AA11"), kWait);
        QTRY_COMPARE_WITH_TIMEOUT(dlg->Model()->rowCount(), 1, kWait);

        // The same programmer again: its row changes, none is added.
        add->edit_content->setText(QStringLiteral("换屏"));
        add->btnAdd->click();
        QTRY_VERIFY_WITH_TIMEOUT(!dlg->Appender().IsWaiting(), kWait);
        QVERIFY(rig.Open(&rig.repair, dlg));
        QCOMPARE(dlg->Model()->rowCount(), 1);
        QSqlQuery q(dlg->Store().Database());
        QVERIFY(q.exec("SELECT Abstract, Staff, HWVer, Content FROM Repair"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), add->edit_abstract->text());
        QCOMPARE(q.value(1).toString(), QStringLiteral("O'Brien"));
        QCOMPARE(q.value(2).toString(), QStringLiteral("VER_B"));
        QCOMPARE(q.value(3).toString(), QStringLiteral("换屏"));
    }
};

QEL_TEST_MAIN(TestRecordDialogs)
#include "tst_recorddialogs.moc"
