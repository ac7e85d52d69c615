// The driver's one window onto the host's tables: the three pointers that the
// host wrote into the installed record. They are read afresh at every use,
// since the host may rewrite them at any time; nothing keeps a copy. The
// rest of host/ only describes the host's interface.
#pragma once

#include "host/ThemeProviderProtocol.h"

// The driver's one installed record (defined with the entry point).
extern THEME_PROVIDER_PROTOCOL mThemeProvider;

inline HOST_UI_TABLE *HostUi() { return mThemeProvider.UiTable; }
inline HOST_SERVICES_TABLE *HostServices() { return mThemeProvider.ServiceTable; }

// Entry ThemeImageId of the host-built image table (theme image n lies
// n * 32 bytes from its start; entry 0 is unused).
inline THEME_IMAGE *ThemeImageEntry(UINT32 ThemeImageId) { return &mThemeProvider.ImageTable[ThemeImageId]; }
