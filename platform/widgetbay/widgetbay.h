#pragma once
#include "widgetbay_global.h"

class WIDGETBAY_EXPORT WidgetBay
{
public:
    // Installs (english) or removes the English texts of the library's widgets.
    static bool LoadLanguage(bool english);
};
