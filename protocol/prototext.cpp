#include "prototext.h"

#include <clogview.h>

#include <QTranslator>

// The resource sits in a static library: name it so the linker keeps it.
#define QEL_INIT_RESOURCE_NAMED(name) Q_INIT_RESOURCE(name)
#define QEL_INIT_RESOURCE(name) QEL_INIT_RESOURCE_NAMED(name)

bool ProtoText::LoadLanguage(bool english)
{
    static bool resourceReady = false;
    if (!resourceReady) {
        QEL_INIT_RESOURCE(QEL_PROTOCOL_QRC);
        resourceReady = true;
    }
    static QTranslator translator;
    QCoreApplication::removeTranslator(&translator);
    if (!english)
        return true;
    if (!translator.load(QStringLiteral(":/protocol_en.qm")))
        return false;
    return QCoreApplication::installTranslator(&translator);
}

QString ProtoText::Message(const QByteArray &text)
{
    return CLogView::Shorten(QString::fromUtf8(text));
}
