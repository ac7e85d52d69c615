// The firmware tables that every part of the driver calls through.
#pragma once

#include "platform/uefi/SystemTable.h"

// Driver-wide pointers: set at the end of library set-up, or by registration
// if they are still null there.
extern EFI_SYSTEM_TABLE *gSystemTable;
extern EFI_BOOT_SERVICES *gBootServices;
extern EFI_RUNTIME_SERVICES *gRuntimeServices;

// The diagnostic library's own copies, taken first thing at set-up.
extern EFI_SYSTEM_TABLE *gLibSystemTable;
extern EFI_BOOT_SERVICES *gLibBootServices;

// Takes the library's own copies of the firmware tables.
void KeepLibraryFirmwareTables(EFI_SYSTEM_TABLE *SystemTable);

// Sets the driver-wide pointers, unless they are set already.
void SetDriverWideFirmwareTables(EFI_SYSTEM_TABLE *SystemTable);

