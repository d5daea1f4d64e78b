#pragma once
#include <QtGlobal>

#if defined(BURNHUB_LIBRARY)
#define BURNHUB_EXPORT Q_DECL_EXPORT
#else
#define BURNHUB_EXPORT Q_DECL_IMPORT
#endif
