#pragma once

#include <QtGlobal>

/// @file
/// @brief The mark of what librtnmod08.so exports.
///
/// The library is built with hidden symbols: what a host may call carries this mark, and
/// nothing else leaves librtnmod08.so. The module's own sources are compiled with
/// RTNMOD08_LIBRARY.
#if defined(RTNMOD08_LIBRARY)
#define RTNMOD08_EXPORT Q_DECL_EXPORT
#else
#define RTNMOD08_EXPORT Q_DECL_IMPORT
#endif
