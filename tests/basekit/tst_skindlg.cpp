#include "qeltest.h"

#include "cpubactions.h"
#include "cskinstyle.h"
#include "ctranslations.h"
#include "functool.h"
#include "skindlg.h"

#include <QComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>

namespace {
QStringList g_warnings;

void collect(QtMsgType type, const QMessageLogContext &, const QString &msg)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        g_warnings << msg;
}

QColor themeColour(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return QColor();
    return QColor(QString::fromUtf8(f.readAll()).mid(20, 7));
}

QString fileText(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// Answers the next modal input dialog with text, or cancels it when text is empty.
void answerInputDialog(const QString &text)
{
    QTimer::singleShot(0, [text] {
        auto *dlg = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
        if (!dlg)
            return answerInputDialog(text);
        if (text.isEmpty()) {
            dlg->reject();
        } else {
            dlg->setTextValue(text);
            dlg->accept();
        }
    });
}
} // namespace

class TestSkin : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        qApp->setStyleSheet(QString());
        QApplication::setPalette(QPalette());
        CTranslations::LoadTranslations(false);
    }

    void themesAreDistinctAndParse()
    {
        const QVector<CSkinStyle::Theme> &themes = CSkinStyle::Themes();
        QCOMPARE(themes.size(), 14);
        QCOMPARE(themes.last().file, QStringLiteral("empty.css"));
        QSet<QRgb> colours;
        for (int i = 0; i < themes.size() - 1; ++i) {
            const QString file = themes.at(i).file;
            const QColor colour = themeColour(file);
            QVERIFY2(colour.isValid(), qPrintable(file));
            colours.insert(colour.rgb());

            g_warnings.clear();
            const QtMessageHandler old = qInstallMessageHandler(collect);
            skindlg::SetAppStyle(file);
            QWidget probe;
            QLabel label("x", &probe);
            probe.ensurePolished();
            label.ensurePolished();
            qInstallMessageHandler(old);
            QVERIFY2(g_warnings.isEmpty(), qPrintable(file + ": " + g_warnings.join("; ")));
            QCOMPARE(qApp->styleSheet(), fileText(file));
            QCOMPARE(QApplication::palette().color(QPalette::Button), colour);
        }
        QCOMPARE(colours.size(), themes.size() - 1);
    }

    void shortOrBrokenFiles()
    {
        QTemporaryDir dir;
        skindlg::SetAppStyle(":/qss/blue.css");
        const QString sheet = qApp->styleSheet();
        const QColor colour = QApplication::palette().color(QPalette::Button);

        const QString twenty = dir.filePath("twenty.css");
        QVERIFY(FuncTool::WriteFile(twenty, QByteArray("/* twenty bytes   */")));
        QCOMPARE(QFileInfo(twenty).size(), 20);
        skindlg::SetAppStyle(twenty);
        skindlg::SetAppStyle(dir.filePath("missing.css"));
        skindlg::SetAppStyle("empty.css");
        QCOMPARE(qApp->styleSheet(), sheet);
        QCOMPARE(QApplication::palette().color(QPalette::Button), colour);

        // A sheet whose colour field is damaged is applied without the palette.
        const QString damaged = dir.filePath("damaged.css");
        QVERIFY(FuncTool::WriteFile(damaged, QByteArray("/* QEL skin colour:\n#zzzzzz */ QLabel { }")));
        skindlg::SetAppStyle(damaged);
        QCOMPARE(qApp->styleSheet(), fileText(damaged));
        QCOMPARE(QApplication::palette().color(QPalette::Button), colour);

        QLabel label;
        skindlg::SetWidgetStyle(twenty, &label);
        QVERIFY(label.styleSheet().isEmpty());
        skindlg::SetWidgetStyle(":/qss/psblack.css", nullptr);
    }

    void dialogPreviewsAndStores()
    {
        const QString ini = QStringLiteral("skin_test.ini");
        skindlg dlg;
        dlg.SetIniFile(ini);
        auto *combo = dlg.findChild<QComboBox *>("combo_skin");
        QVERIFY(combo);
        QCOMPARE(combo->count(), 14);
        QCOMPARE(dlg.CurrentSkin(), QStringLiteral("empty.css"));
        QCOMPARE(combo->itemText(0), QStringLiteral("银色"));

        combo->setCurrentIndex(combo->findData(":/qss/darkblue.css"));
        QCOMPARE(dlg.styleSheet(), fileText(":/qss/darkblue.css"));
        QCOMPARE(dlg.palette().color(QPalette::Button), themeColour(":/qss/darkblue.css"));
        QVERIFY(qApp->styleSheet().isEmpty()); // only a preview so far

        dlg.findChild<QPushButton *>("btn_ok")->click();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(qApp->styleSheet(), fileText(":/qss/darkblue.css"));
        QCOMPARE(CPubActions(false).GetString("SET", "SKIN", QString(), ini), QStringLiteral(":/qss/darkblue.css"));

        // The next start applies it again, and the dialog shows it.
        qApp->setStyleSheet(QString());
        skindlg::LoadAppStyle(ini);
        QCOMPARE(qApp->styleSheet(), fileText(":/qss/darkblue.css"));
        skindlg again;
        again.SetIniFile(ini);
        QCOMPARE(again.CurrentSkin(), QStringLiteral(":/qss/darkblue.css"));

        skindlg cancelled;
        cancelled.SetIniFile(ini);
        auto *c2 = cancelled.findChild<QComboBox *>("combo_skin");
        c2->setCurrentIndex(0);
        cancelled.findChild<QPushButton *>("btn_cancel")->click();
        QCOMPARE(CPubActions(false).GetString("SET", "SKIN", QString(), ini), QStringLiteral(":/qss/darkblue.css"));
    }

    void appFont()
    {
        const QString ini = QStringLiteral("font_test.ini");
        CPubActions user(false);
        QVERIFY(user.WriteString("FONT", "FONTSTRING", "DejaVu Sans,13,-1,5,50,0,0,0,0,0", ini));
        skindlg::LoadAppFont(ini);
        QCOMPARE(QApplication::font().pointSize(), 13);

        QVERIFY(user.WriteString("FONT", "FONTSTRING", "x,1,2", ini));
        skindlg::LoadAppFont(ini, "DejaVu Serif,11,-1,5,50,0,0,0,0,0");
        QCOMPARE(QApplication::font().pointSize(), 11);

        skindlg::LoadAppFont("no_font.ini");
        QCOMPARE(QApplication::font().family(), QStringLiteral("微软雅黑"));
        QCOMPARE(QApplication::font().pointSize(), 8);
    }

    void englishAndBack()
    {
        CTranslations::LoadTranslations(true);
        QCOMPARE(QCoreApplication::translate("skindlg", "银色"), QStringLiteral("Silver"));
        QCOMPARE(QCoreApplication::translate("FuncTool", "读源文件失败"),
                 QStringLiteral("The source file could not be read"));
        {
            skindlg dlg;
            QCOMPARE(dlg.windowTitle(), QStringLiteral("Set theme colour"));
            QCOMPARE(dlg.findChild<QComboBox *>("combo_skin")->itemText(13),
                     QStringLiteral("None (takes effect after restart)"));
        }
        QString err;
        FuncTool::CopyFile("/nonexistent/qel", "/tmp/qel-never", err);
        QCOMPARE(err, QStringLiteral("The source file could not be read"));

        // Qt's own buttons speak English with English...
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Yes"));
        CTranslations::LoadTranslations(false);
        QCOMPARE(QCoreApplication::translate("skindlg", "银色"), QStringLiteral("银色"));
        // ... and Chinese with Chinese, from the catalogue the system ships.
        QVERIFY2(QCoreApplication::translate("QPlatformTheme", "&Yes").startsWith(QStringLiteral("是")),
                 qPrintable(QCoreApplication::translate("QPlatformTheme", "&Yes")));
        QVERIFY(QCoreApplication::translate("QFileDialog", "Look in:") != QStringLiteral("Look in:"));
        // Loading again does not stack translators.
        CTranslations::LoadTranslations(true);
        CTranslations::LoadTranslations(true);
        CTranslations::LoadTranslations(false);
        QCOMPARE(QCoreApplication::translate("skindlg", "蓝色"), QStringLiteral("蓝色"));
    }

    void languageChoice()
    {
        const QString ini = QStringLiteral("lang_test.ini");
        QCOMPARE(CTranslations::GetLanguage(ini), 0);
        answerInputDialog("en");
        QCOMPARE(CTranslations::ChooseLanguage(ini), 1);
        QCOMPARE(CTranslations::GetLanguage(ini), 1);
        answerInputDialog(QString());
        QCOMPARE(CTranslations::ChooseLanguage(ini), 2);
        QCOMPARE(CTranslations::GetLanguage(ini), 1);
        answerInputDialog("cn");
        QCOMPARE(CTranslations::ChooseLanguage(ini), 0);
        QCOMPARE(CPubActions(false).GetInt("UI", "LANGUAGE", -1, ini), 0);
    }
};

QEL_TEST_MAIN(TestSkin)
#include "tst_skindlg.moc"
