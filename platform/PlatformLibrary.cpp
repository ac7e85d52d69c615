// Set-up of the platform diagnostic library, run once at load before the
// theme registers: firmware tables, debug settings, HOB list, heap-record
// list, output channels, then the driver-wide firmware pointers.
#include "platform/DebugSettings.h"
#include "platform/DiagChannels.h"
#include "platform/DriverState.h"
#include "platform/FirmwareTables.h"
#include "platform/HeapRecords.h"
#include "platform/PlatformLibrary.h"

DRIVER_STATE constinit EFI_SYSTEM_TABLE *gSystemTable = nullptr;
DRIVER_STATE constinit EFI_BOOT_SERVICES *gBootServices = nullptr;
DRIVER_STATE constinit EFI_RUNTIME_SERVICES *gRuntimeServices = nullptr;

DRIVER_STATE constinit EFI_SYSTEM_TABLE *gLibSystemTable = nullptr;
DRIVER_STATE constinit EFI_BOOT_SERVICES *gLibBootServices = nullptr;

void KeepLibraryFirmwareTables(EFI_SYSTEM_TABLE *SystemTable) {
  gLibSystemTable = SystemTable;
  gLibBootServices = SystemTable->BootServices;
}

void SetDriverWideFirmwareTables(EFI_SYSTEM_TABLE *SystemTable) {
  if (gSystemTable == nullptr) {
    gSystemTable = SystemTable;
    gBootServices = SystemTable->BootServices;
    gRuntimeServices = SystemTable->RuntimeServices;
  }
}

void InitializePlatformLibrary(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable) {
  (void)ImageHandle;
  KeepLibraryFirmwareTables(SystemTable);
  ReadDebugSettings();
  if (gHobList == nullptr) {
    LocateHobList();
  }
  JoinOrPublishHeapRecordList();
  InitializePresentChannels(gDiagChannels);
  SetDriverWideFirmwareTables(SystemTable);
}
