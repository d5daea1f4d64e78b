#pragma once
#include <QtGlobal>

#if defined(WIDGETBAY_LIBRARY)
#define WIDGETBAY_EXPORT Q_DECL_EXPORT
#else
#define WIDGETBAY_EXPORT Q_DECL_IMPORT
#endif
