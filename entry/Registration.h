// Driver entry and registration of the theme-provider record.
#pragma once

#include "platform/uefi/SystemTable.h"

extern "C" EFI_STATUS EFIAPI ThemeDriverEntry(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable);

// Retires older records of this interface version, then installs ours.
EFI_STATUS RegisterThemeProvider(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable);
