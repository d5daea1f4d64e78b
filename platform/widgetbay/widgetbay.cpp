#include "widgetbay.h"

#include <QCoreApplication>
#include <QTranslator>

bool WidgetBay::LoadLanguage(bool english)
{
    static QTranslator *translator = nullptr;
    if (!translator)
        translator = new QTranslator(QCoreApplication::instance());
    if (!english)
        return QCoreApplication::removeTranslator(translator);
    return translator->load(QStringLiteral(":/widgetbay_en.qm")) && QCoreApplication::installTranslator(translator);
}
