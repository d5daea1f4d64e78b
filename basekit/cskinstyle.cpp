#include "cskinstyle.h"

#include <QApplication>
#include <QFile>
#include <QPalette>
#include <QWidget>

const QVector<CSkinStyle::Theme> &CSkinStyle::Themes()
{
    static const QVector<Theme> themes = {
        {QStringLiteral(":/qss/silvery.css"), QT_TRANSLATE_NOOP("skindlg", "银色")},
        {QStringLiteral(":/qss/blue.css"), QT_TRANSLATE_NOOP("skindlg", "蓝色")},
        {QStringLiteral(":/qss/lightblue.css"), QT_TRANSLATE_NOOP("skindlg", "浅蓝色")},
        {QStringLiteral(":/qss/darkblue.css"), QT_TRANSLATE_NOOP("skindlg", "深蓝色")},
        {QStringLiteral(":/qss/gray.css"), QT_TRANSLATE_NOOP("skindlg", "灰色")},
        {QStringLiteral(":/qss/lightgray.css"), QT_TRANSLATE_NOOP("skindlg", "浅灰色")},
        {QStringLiteral(":/qss/darkgray.css"), QT_TRANSLATE_NOOP("skindlg", "深灰色")},
        {QStringLiteral(":/qss/black.css"), QT_TRANSLATE_NOOP("skindlg", "黑色")},
        {QStringLiteral(":/qss/lightblack.css"), QT_TRANSLATE_NOOP("skindlg", "浅黑色")},
        {QStringLiteral(":/qss/darkblack.css"), QT_TRANSLATE_NOOP("skindlg", "深黑色")},
        {QStringLiteral(":/qss/psblack.css"), QT_TRANSLATE_NOOP("skindlg", "PS黑色")},
        {QStringLiteral(":/qss/flatblack.css"), QT_TRANSLATE_NOOP("skindlg", "黑色扁平")},
        {QStringLiteral(":/qss/flatwhite.css"), QT_TRANSLATE_NOOP("skindlg", "白色扁平")},
        {QStringLiteral("empty.css"), QT_TRANSLATE_NOOP("skindlg", "无(重启后生效)")},
    };
    return themes;
}

bool CSkinStyle::Load(const QString &file, QString &sheet, QColor &colour)
{
    constexpr int kColourAt = 20;
    constexpr int kColourLen = 7;
    QFile f(file);
    if (file.isEmpty() || !f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = f.readAll();
    if (bytes.size() <= kColourAt)
        return false;
    sheet = QString::fromUtf8(bytes);
    colour = QColor();
    const QString name = sheet.mid(kColourAt, kColourLen);
    if (name.size() == kColourLen && name.startsWith(QLatin1Char('#')))
        colour.setNamedColor(name);
    return true;
}

bool CSkinStyle::ApplyToApp(const QString &file)
{
    auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
    QString sheet;
    QColor colour;
    if (!app || !Load(file, sheet, colour))
        return false;
    // A damaged colour field keeps the current palette rather than turning it black.
    if (colour.isValid())
        QApplication::setPalette(QPalette(colour));
    app->setStyleSheet(sheet);
    return true;
}

bool CSkinStyle::ApplyToWidget(const QString &file, QWidget *widget)
{
    QString sheet;
    QColor colour;
    if (!widget || !Load(file, sheet, colour))
        return false;
    if (colour.isValid())
        widget->setPalette(QPalette(colour));
    widget->setStyleSheet(sheet);
    return true;
}
