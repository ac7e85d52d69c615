// How the plug-in reaches the host: through the three pointers that the host
// wrote into the installed record. They are read afresh at every use, since
// the host may rewrite them at any time; nothing keeps a copy.
#pragma once

#include "host/ThemeProviderProtocol.h"

// The driver's one installed record (defined with the entry point).
extern THEME_PROVIDER_PROTOCOL mThemeProvider;

inline HOST_UI_TABLE *HostUi() { return mThemeProvider.UiTable; }
inline HOST_SERVICES_TABLE *HostServices() { return mThemeProvider.ServiceTable; }

// Entry ThemeImageId of the host-built image table (theme image n lies
// n * 32 bytes from its start; entry 0 is unused).
inline THEME_IMAGE *ThemeImageEntry(UINT32 ThemeImageId) { return &mThemeProvider.ImageTable[ThemeImageId]; }

// A palette colour as the plug-in's own code looks it up: through the
// record's GetColor field, like the host does.
inline UINT32 ThemeColor(INT32 Index) { return mThemeProvider.GetColor(Index); }

// Pixel arithmetic wraps in 32 bits rather than overflow: the host's
// positions and scaling are not the plug-in's to bound.
inline INT32 WrappingAdd(INT32 Left, INT32 Right) { return (INT32)((UINT32)Left + (UINT32)Right); }
inline INT32 WrappingSub(INT32 Left, INT32 Right) { return (INT32)((UINT32)Left - (UINT32)Right); }
