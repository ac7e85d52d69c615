// Driver entry and registration of the theme-provider record.
#pragma once

#include "platform/uefi/SystemTable.h"

/**
  The image's entry point: sets up the platform library, then registers the
  theme-provider record.

  @param[in] ImageHandle  The driver's image handle, kept in the record.
  @param[in] SystemTable  The firmware's system table.

  @return The status of InstallMultipleProtocolInterfaces for the record.
**/
extern "C" EFI_STATUS EFIAPI ThemeDriverEntry(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable);

/**
  Retires every installed record of this interface version and signature
  (its signature becomes THEME_PROVIDER_RETIRED), then installs ours on a
  new handle.

  @return The status of InstallMultipleProtocolInterfaces.
**/
EFI_STATUS RegisterThemeProvider(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable);
