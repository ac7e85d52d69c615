// The four theme queries the host may make at any time, answered from the
// constant tables: record slots 1, 2, 4 and 5.
#pragma once

#include "platform/uefi/UefiBase.h"

UINT32 EFIAPI ThemeGetColor(INT32 Index);
UINTN EFIAPI ThemeMapImage(UINT32 HostImageId);
UINT64 EFIAPI ThemeGetValue(INT32 Id, UINT64 Default);
EFI_STATUS EFIAPI ThemeGetRect(INT32 Index, VOID *Buffer);
