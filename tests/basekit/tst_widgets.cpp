#include "qeltest.h"

#include "cmessagebox.h"
#include "cseldata.h"
#include "ctreewidgetitem.h"
#include "myvalidator.h"
#include "seldatadlg.h"
#include "userpwddlg.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace {
struct Warnings
{
    QStringList seen;
    CMessageBox::Responder old;
    Warnings()
    {
        old = CMessageBox::SetResponder([this](CMessageBox::Kind kind, const QString &title, const QString &text) {
            seen << QStringLiteral("%1|%2|%3").arg(kind).arg(title, text);
            return QMessageBox::Ok;
        });
    }
    ~Warnings() { CMessageBox::SetResponder(old); }
};

QValidator::State check(const QValidator &v, QString text)
{
    int pos = text.size();
    return v.validate(text, pos);
}
} // namespace

class TestWidgets : public QObject
{
    Q_OBJECT

private slots:
    void intValidator()
    {
        MyIntValidator v(-10, 100);
        QCOMPARE(check(v, "50"), QValidator::Acceptable);
        QCOMPARE(check(v, "-5"), QValidator::Acceptable);
        QCOMPARE(check(v, "0"), QValidator::Acceptable);
        QCOMPARE(check(v, ""), QValidator::Intermediate);
        QCOMPARE(check(v, "-"), QValidator::Intermediate);
        QCOMPARE(check(v, "007"), QValidator::Invalid);
        QCOMPARE(check(v, "-05"), QValidator::Invalid);
        QCOMPARE(check(v, "+5"), QValidator::Invalid);
        QCOMPARE(check(v, "5x"), QValidator::Invalid);
        QCOMPARE(check(v, "99999999999"), QValidator::Invalid);

        MyIntValidator range(10, 100);
        QCOMPARE(check(range, "5"), QValidator::Intermediate);
        QString text = "5";
        range.fixup(text);
        QCOMPARE(text, QStringLiteral("10"));
        text = "100";
        range.fixup(text);
        QCOMPARE(text, QStringLiteral("100"));
        text.clear();
        range.fixup(text);
        QVERIFY(text.isEmpty());

        QLineEdit edit;
        edit.setValidator(&range);
        QTest::keyClicks(&edit, "0150");
        QCOMPARE(edit.text(), QStringLiteral("0"));
        edit.clear();
        // Past the top by a digit more is refused; the clamp mends the rest.
        QTest::keyClicks(&edit, "1500");
        QCOMPARE(edit.text(), QStringLiteral("150"));
        text = edit.text();
        range.fixup(text);
        QCOMPARE(text, QStringLiteral("100"));
    }

    void doubleValidator()
    {
        MyDoubleValidator v(0.0, 10.0, 2);
        v.setLocale(QLocale::c());
        QCOMPARE(check(v, ""), QValidator::Intermediate);
        QCOMPARE(check(v, "5.5"), QValidator::Acceptable);
        QCOMPARE(check(v, "11"), QValidator::Invalid);
        QCOMPARE(check(v, "10.5"), QValidator::Invalid);
        QCOMPARE(check(v, "-1"), QValidator::Invalid);
        QCOMPARE(check(v, "5.555"), QValidator::Invalid);

        // Values on the way into a range above zero stay open, overshoots do not.
        MyDoubleValidator above(10.0, 100.0, 1);
        above.setLocale(QLocale::c());
        QCOMPARE(check(above, "1"), QValidator::Intermediate);
        QCOMPARE(check(above, "15"), QValidator::Acceptable);
        QCOMPARE(check(above, "150"), QValidator::Invalid);
        MyDoubleValidator below(-100.0, -10.0, 1);
        below.setLocale(QLocale::c());
        QCOMPARE(check(below, "-5"), QValidator::Intermediate);
        QCOMPARE(check(below, "-50"), QValidator::Acceptable);
        QCOMPARE(check(below, "-500"), QValidator::Invalid);

        QLineEdit edit;
        edit.setValidator(&above);
        QTest::keyClicks(&edit, "15");
        QCOMPARE(edit.text(), QStringLiteral("15"));
        QVERIFY(edit.hasAcceptableInput());
    }

    void userPwdDlg()
    {
        Warnings warnings;
        UserPwdDlg dlg;
        auto *ok = dlg.findChild<QPushButton *>("btn_ok");
        dlg.SetTitle("login");
        QCOMPARE(dlg.windowTitle(), QStringLiteral("login"));
        dlg.show();
        dlg.findChild<QLineEdit *>("edit_user")->setText("admin");
        ok->click();
        QVERIFY(dlg.isVisible());
        QCOMPARE(warnings.seen, QStringList{QStringLiteral("%1|错误|用户名和密码不允许为空!").arg(CMessageBox::Warning)});

        QTest::keyClicks(dlg.findChild<QLineEdit *>("edit_pwd"), "secret");
        ok->click();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.GetUser(), QStringLiteral("admin"));
        QCOMPARE(dlg.GetPwd(), QStringLiteral("secret"));
        QCOMPARE(warnings.seen.size(), 1);

        UserPwdDlg open;
        open.SetAllowEmpty(true);
        open.show();
        open.findChild<QPushButton *>("btn_ok")->click();
        QCOMPARE(open.result(), int(QDialog::Accepted));
        QCOMPARE(warnings.seen.size(), 1);
    }

    void selectionRules()
    {
        CSelData sel;
        sel.Init({"a", "b", "c"}, {10, 20});
        QCOMPARE(sel.Data(2), QVariant("c")); // no data: the text stands in
        sel.CheckItems({"b", "c", "zz"});
        QCOMPARE(sel.SelIndex(), (QList<int>{1, 2}));
        QCOMPARE(sel.SelData(), (QVariantList{20, "c"}));
        sel.SetAll(true);
        QVERIFY(sel.AllChecked());
        sel.SetSingleSelection(true);
        QCOMPARE(sel.SelIndex(), QList<int>{0});
        sel.SetChecked(2, true);
        QCOMPARE(sel.SelItems(), QStringList{"c"});
        sel.SetAll(true);
        QCOMPARE(sel.SelIndex(), QList<int>{2});
        sel.Toggle(2);
        QVERIFY(sel.SelIndex().isEmpty());

        sel.SetChecked(-1, true);
        sel.SetChecked(3, true);
        sel.Toggle(99);
        QVERIFY(!sel.IsChecked(99));
        QVERIFY(sel.Data(5).isNull());
        QVERIFY(sel.SelIndex().isEmpty());
        CSelData none;
        QVERIFY(!none.AllChecked());
    }

    void selDataDlg()
    {
        SelDataDlg dlg;
        dlg.InitData({"prog1", "prog2", "prog3"}, {"id1", "id2", "id3"});
        dlg.InitSeled({"prog2"});
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto *tree = dlg.findChild<QTreeWidget *>("tree_data");
        auto *all = dlg.findChild<QCheckBox *>("check_all");
        QCOMPARE(tree->topLevelItem(1)->checkState(0), Qt::Checked);
        QCOMPARE(dlg.GetSelData(), QVariantList{"id2"});

        // Double click toggles, a click on the check box is taken too.
        QTreeWidgetItem *first = tree->topLevelItem(0);
        const QPoint centre = tree->visualItemRect(first).center();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, centre);
        QCOMPARE(dlg.GetSelIndex(), (QList<int>{0, 1}));
        tree->topLevelItem(2)->setCheckState(0, Qt::Checked);
        QVERIFY(all->isChecked());
        all->click();
        QVERIFY(dlg.GetSelIndex().isEmpty());
        QCOMPARE(first->checkState(0), Qt::Unchecked);

        tree->clearSelection();
        tree->topLevelItem(0)->setSelected(true);
        tree->topLevelItem(2)->setSelected(true);
        dlg.CheckSelectedRows(true);
        QCOMPARE(dlg.GetSelItems(), (QStringList{"prog1", "prog3"}));

        dlg.SetSingleSelection(true);
        QVERIFY(dlg.SingleSelection());
        QCOMPARE(dlg.GetSelIndex(), QList<int>{0});
        tree->topLevelItem(1)->setCheckState(0, Qt::Checked);
        QCOMPARE(dlg.GetSelIndex(), QList<int>{1});
        QCOMPARE(tree->topLevelItem(0)->checkState(0), Qt::Unchecked);
        dlg.findChild<QPushButton *>("btn_ok")->click();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
    }

    void treeItems()
    {
        QTreeWidget tree;
        tree.setColumnCount(2);
        InitTreeStyle(&tree);
        auto *top = new CTreeWidgetItem(&tree, {"top", "1"});
        int payload = 5;
        top->SetItemData(&payload);
        top->SetItemUInt(0xFFFFFFFF);
        top->SetItemValue(-3);
        top->SetItemVariant(QStringLiteral("v"));
        QCOMPARE(static_cast<int *>(top->GetItemData()), &payload);
        QCOMPARE(top->GetItemUInt(), 0xFFFFFFFFu);
        QCOMPARE(top->GetItemValue(), -3);
        QCOMPARE(top->GetItemVariant().toString(), QStringLiteral("v"));
        QCOMPARE(top->type(), int(CTreeWidgetItem::ItemType));

        CTreeWidgetItem *child = top->AddChild({"child"});
        CTreeWidgetItem *grand = child->AddChild({"grand"});
        auto *second = new CTreeWidgetItem(&tree, {"second"});
        QCOMPARE(top->lastItem(), grand);
        QCOMPARE(LastTreeItem(&tree), second);
        QCOMPARE(second->lastItem(), second);

        tree.setSelectionMode(QAbstractItemView::MultiSelection);
        top->setSelected(true);
        grand->setSelected(true);
        second->setSelected(true);
        top->ClearSelected();
        QVERIFY(!top->isSelected() && !grand->isSelected());
        QVERIFY(second->isSelected());

        top->SetItemColor(Qt::red);
        QCOMPARE(top->foreground(1).color(), QColor(Qt::red));
        AdjustTreeSize(&tree);

        std::unique_ptr<QTreeWidgetItem> taken(TakeTreeWidgetItem(second));
        QCOMPARE(taken.get(), second);
        QCOMPARE(tree.topLevelItemCount(), 1);
        QCOMPARE(LastTreeItem(&tree), grand);
        std::unique_ptr<QTreeWidgetItem> takenChild(TakeTreeWidgetItem(child));
        QCOMPARE(top->childCount(), 0);
        QCOMPARE(LastTreeItem(&tree), top);

        QVERIFY(!LastTreeItem(nullptr));
        QVERIFY(!TakeTreeWidgetItem(nullptr));
        InitTreeStyle(nullptr);
        AdjustTreeSize(nullptr);
        tree.clear();
        QVERIFY(!LastTreeItem(&tree));
    }
};

QEL_TEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
