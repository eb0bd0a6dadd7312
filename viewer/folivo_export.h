#pragma once

#include <QtCore/qglobal.h>

// FOLIVO_LIBRARY is defined while the folivo library itself is compiled; hosts see imports.
#if defined(FOLIVO_LIBRARY)
#define FOLIVO_EXPORT Q_DECL_EXPORT
#else
#define FOLIVO_EXPORT Q_DECL_IMPORT
#endif
