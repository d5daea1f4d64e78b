#pragma once
#include <QtGlobal>

#if defined(BASEKIT_LIBRARY)
#define BASEKIT_EXPORT Q_DECL_EXPORT
#else
#define BASEKIT_EXPORT Q_DECL_IMPORT
#endif
