// The driver's one theme-provider record and its seven operations.
#pragma once

#include "entry/ThemeProviderProtocol.h"

extern THEME_PROVIDER_PROTOCOL mThemeProvider;

EFI_STATUS EFIAPI ThemeNotify(UINT32 Type);
UINT32 EFIAPI ThemeGetColor(INT32 Index);
UINTN EFIAPI ThemeMapImage(UINT32 HostImageId);
UINTN EFIAPI ThemeStyleObject(UINT64 Object, UINT16 Class, UINT16 PartCode, UINT32 ObjectId);
UINT64 EFIAPI ThemeGetValue(INT32 Id, UINT64 Default);
EFI_STATUS EFIAPI ThemeGetRect(INT32 Index, VOID *Buffer);
UINTN EFIAPI ThemeReserved(VOID);

// The host's tables, read from the record afresh at every use: the host may
// rewrite the pointers at any time, so nothing keeps a copy.
inline HOST_UI_TABLE *HostUi() { return mThemeProvider.UiTable; }
inline HOST_SERVICES_TABLE *HostServices() { return mThemeProvider.ServiceTable; }

// A palette colour as the plug-in's own code looks it up: through the
// record's GetColor field, like the host does.
inline UINT32 ThemeColor(INT32 Index) { return mThemeProvider.GetColor(Index); }
