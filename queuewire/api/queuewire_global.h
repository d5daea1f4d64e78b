#pragma once
#include <QtGlobal>

#if defined(QUEUEWIRE_LIBRARY)
#define QUEUEWIRE_EXPORT Q_DECL_EXPORT
#else
#define QUEUEWIRE_EXPORT Q_DECL_IMPORT
#endif
