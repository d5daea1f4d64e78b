#include "ctranslations.h"

#include "cpubactions.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QTranslator>

namespace {
const QString kGroup = QStringLiteral("UI");
const QString kKey = QStringLiteral("LANGUAGE");

// The three translators live as long as the process.
struct Translators
{
    QTranslator qt;      // Qt's own texts
    QTranslator qtbase;  // Qt's buttons and dialogs as the system ships them, Chinese only
    QTranslator widgets; // shared widgets, Chinese only
    QTranslator basekit; // this library, English only
};

Translators &translators()
{
    static Translators t;
    return t;
}

void install(QTranslator &translator, const QString &file)
{
    QCoreApplication::removeTranslator(&translator);
    if (translator.load(file))
        QCoreApplication::installTranslator(&translator);
}
} // namespace

int CTranslations::GetLanguage(const QString &iniFile)
{
    return CPubActions(false).GetInt(kGroup, kKey, Chinese, iniFile);
}

int CTranslations::ChooseLanguage(const QString &iniFile, QWidget *parent)
{
    const QStringList items = {QStringLiteral("cn"), QStringLiteral("en")};
    const int current = GetLanguage(iniFile) == English ? 1 : 0;
    bool ok = false;
    const QString item = QInputDialog::getItem(parent, QStringLiteral("语言/language"),
                                               QStringLiteral("选择语言(Choose a language)"), items, current,
                                               false, &ok);
    if (!ok || !items.contains(item))
        return Cancelled;
    const int language = item == items.at(1) ? English : Chinese;
    CPubActions(false).WriteInt(kGroup, kKey, language, iniFile);
    return language;
}

void CTranslations::LoadTranslations(bool english)
{
    if (!QCoreApplication::instance())
        return;
    Translators &t = translators();
    if (english) {
        QCoreApplication::removeTranslator(&t.widgets);
        QCoreApplication::removeTranslator(&t.qtbase);
        install(t.qt, QStringLiteral(":/translations/qt_en.qm"));
        install(t.basekit, QStringLiteral(":/basekit_en.qm"));
    } else {
        install(t.widgets, QStringLiteral(":/translations/widgets.qm"));
        // Yes/No, OK and the file dialogs come from Qt's own catalogue.
        QCoreApplication::removeTranslator(&t.qtbase);
        if (t.qtbase.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(&t.qtbase);
        install(t.qt, QStringLiteral(":/translations/qt_zh_CN_new.qm"));
        QCoreApplication::removeTranslator(&t.basekit);
    }
}
