// Every colour theme, rendered offscreen: the parts an engineer must be able
// to read — check-box indicators (ticked or not), log text, the tip window.
#include "cskinstyle.h"
#include "qeltest.h"
#include "traymessagedlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>

namespace {
double Luminance(QColor c)
{
    const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double Contrast(QColor a, QColor b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

// The strongest contrast of any pixel of the area against the colour around it.
double StrongestContrast(const QImage &image, const QRect &area, QColor around)
{
    double best = 1.0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            best = qMax(best, Contrast(image.pixelColor(x, y), around));
    return best;
}
} // namespace

class TestThemes : public QObject
{
    Q_OBJECT
private slots:
    void readable_data();
    void readable();
    void cleanupTestCase() { qApp->setStyleSheet(QString()); }
};

void TestThemes::readable_data()
{
    QTest::addColumn<QString>("file");
    for (const CSkinStyle::Theme &theme : CSkinStyle::Themes())
        if (theme.file.startsWith(QLatin1String(":/")))
            QTest::newRow(qPrintable(theme.file)) << theme.file;
}

void TestThemes::readable()
{
    QFETCH(QString, file);
    QVERIFY(CSkinStyle::ApplyToApp(file));

    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *unticked = new QCheckBox(&window);
    auto *ticked = new QCheckBox(&window);
    ticked->setChecked(true);
    auto *list = new QTreeWidget(&window);
    auto *log = new QPlainTextEdit(&window);
    for (QWidget *w : {static_cast<QWidget *>(unticked), static_cast<QWidget *>(ticked), static_cast<QWidget *>(list),
                       static_cast<QWidget *>(log)})
        layout->addWidget(w);
    auto *row = new QTreeWidgetItem(list, {QStringLiteral("/media/prog")});
    row->setCheckState(0, Qt::Unchecked);
    window.resize(300, 300);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // A check box's indicator stands out from what is around it, ticked or not.
    for (QCheckBox *box : {unticked, ticked}) {
        const QImage image = box->grab().toImage();
        const QColor around = image.pixelColor(image.width() - 1, image.height() / 2);
        QVERIFY2(StrongestContrast(image, image.rect(), around) >= 3.0, box->isChecked() ? "ticked" : "unticked");
    }
    // Ticked and unticked look different, by more than a shade.
    const QImage on = ticked->grab().toImage();
    const QImage off = unticked->grab().toImage();
    double change = 1.0;
    for (int y = 0; y < qMin(on.height(), off.height()); ++y)
        for (int x = 0; x < qMin(on.width(), off.width()); ++x)
            change = qMax(change, Contrast(on.pixelColor(x, y), off.pixelColor(x, y)));
    QVERIFY2(change >= 3.0, "tick mark");

    // The list's unticked row shows its box.
    const QRect cell = list->visualItemRect(row);
    const QImage rows = list->viewport()->grab().toImage();
    const QRect box(cell.left(), cell.top(), qMin(cell.height() + 6, cell.width()), cell.height());
    QVERIFY2(StrongestContrast(rows, box, rows.pixelColor(cell.right() - 2, cell.center().y())) >= 3.0, "row box");

    // Log text on the log's background.
    log->ensurePolished();
    const QPalette pal = log->palette();
    QVERIFY2(Contrast(pal.color(QPalette::Text), pal.color(QPalette::Base)) >= 4.5, "log text");

    // The tip window's text on the tip's own background.
    TrayMessageDlg *tip = TrayMessageDlg::showTip(QStringLiteral("在线更新"), QStringLiteral("当前已使用最新版本：V2.1.5"), 0);
    QVERIFY(QTest::qWaitForWindowExposed(tip));
    const QImage shot = tip->grab().toImage();
    const QColor background = shot.pixelColor(3, shot.height() - 3);
    for (QLabel *label : tip->findChildren<QLabel *>()) {
        label->ensurePolished();
        const QColor text = label->palette().color(label->foregroundRole());
        QVERIFY2(Contrast(text, background) >= 4.5, qPrintable(label->text()));
    }
    tip->close();
}

QEL_TEST_MAIN(TestThemes)
#include "tst_themes.moc"
