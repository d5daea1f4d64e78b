#include "cprogramlanguage.h"

#include <burnhub.h>
#include <ctranslations.h>

#include <QCoreApplication>
#include <QDebug>
#include <QTranslator>

bool CProgramLanguage::Apply(QTranslator &translator, int language)
{
    const bool english = language == CTranslations::English;
    CTranslations::LoadTranslations(english);
    if (english) {
        const bool loaded = translator.load(QStringLiteral(":/en.qm"));
        qDebug() << "load en.qm " << loaded;
        if (loaded)
            QCoreApplication::installTranslator(&translator);
    } else {
        QCoreApplication::removeTranslator(&translator);
    }
    BurnHub::Instance()->LoadLanguage(english);
    return english;
}
