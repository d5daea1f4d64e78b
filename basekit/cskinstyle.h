#pragma once
// Colour themes: which exist, and what a theme file holds. A theme file longer
// than 20 bytes carries its palette colour ("#rrggbb") at characters 20..26 and
// is a style sheet as a whole.
#include "basekit_global.h"

#include <QColor>
#include <QString>
#include <QVector>

class QWidget;

class BASEKIT_EXPORT CSkinStyle
{
public:
    struct Theme
    {
        QString file;
        const char *name; // source text, translated in the "skindlg" context
    };

    // In the order offered; the last one ("empty.css") switches themes off.
    static const QVector<Theme> &Themes();

    // False (and nothing set) for a missing file or one of 20 bytes or less.
    // colour stays invalid when characters 20..26 are not a colour.
    static bool Load(const QString &file, QString &sheet, QColor &colour);

    // Style sheet and palette for the application / one widget; false when nothing changed.
    static bool ApplyToApp(const QString &file);
    static bool ApplyToWidget(const QString &file, QWidget *widget);
};
