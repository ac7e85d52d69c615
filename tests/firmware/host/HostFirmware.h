// The firmware tables as the reference host received them, and pool memory.
#pragma once

#include "tests/firmware/host/FirmwareProtocols.h"

extern EFI_SYSTEM_TABLE *gHostSystemTable;
extern EFI_BOOT_SERVICES *gHostBootServices;
extern EFI_HANDLE gHostImageHandle;

// The configuration table's entry for Guid; null when it has none.
VOID *FindConfigurationTable(const EFI_GUID *Guid);

// Boot-services pool, zeroed; null when the firmware has none left.
VOID *AllocateHostPool(UINTN Size);
void FreeHostPool(VOID *Buffer);

void CopyBytes(VOID *Destination, const VOID *Source, UINTN Length);
void ZeroBytes(VOID *Destination, UINTN Length);
BOOLEAN SameBytes(const VOID *A, const VOID *B, UINTN Length);
