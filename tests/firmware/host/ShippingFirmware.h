// The firmware interfaces that bring a driver in the ways platforms ship
// it: the DXE services (process a firmware volume, dispatch its drivers),
// page allocation, image unloading, variables and reset. Layout only.
#pragma once

#include "platform/uefi/SystemTable.h"

#define HOST_VOLUME_CORRUPTED ((EFI_STATUS)(EFI_ERROR_BIT | 10))
#define HOST_ACCESS_DENIED ((EFI_STATUS)(EFI_ERROR_BIT | 15))
#define HOST_SECURITY_VIOLATION ((EFI_STATUS)(EFI_ERROR_BIT | 26))

// {05AD34BA-6F02-4214-952E-4DA0398E2BB9}
#define HOST_DXE_SERVICES_TABLE_GUID \
  {0x05AD34BA, 0x6F02, 0x4214, {0x95, 0x2E, 0x4D, 0xA0, 0x39, 0x8E, 0x2B, 0xB9}}
#define HOST_DXE_SERVICES_SIGNATURE 0x565245535F455844ULL  // "DXE_SERV"

typedef EFI_STATUS(EFIAPI *HOST_DISPATCH)(VOID);
typedef EFI_STATUS(EFIAPI *HOST_PROCESS_FIRMWARE_VOLUME)(const VOID *FirmwareVolumeHeader, UINTN Size,
                                                         EFI_HANDLE *FirmwareVolumeHandle);

typedef struct {
  EFI_TABLE_HEADER Hdr;
  VOID *MemoryAndIoSpaceServices[13];  // GCD memory (7) and I/O (6) space services
  HOST_DISPATCH Dispatch;
  VOID *Schedule;
  VOID *Trust;
  HOST_PROCESS_FIRMWARE_VOLUME ProcessFirmwareVolume;
  VOID *SetMemorySpaceCapabilities;
} HOST_DXE_SERVICES;
static_assert(offsetof(HOST_DXE_SERVICES, Dispatch) == 128);
static_assert(offsetof(HOST_DXE_SERVICES, ProcessFirmwareVolume) == 152);
static_assert(sizeof(HOST_DXE_SERVICES) == 168);

typedef EFI_STATUS(EFIAPI *HOST_ALLOCATE_PAGES)(UINT32 Type, EFI_MEMORY_TYPE MemoryType, UINTN Pages,
                                                EFI_PHYSICAL_ADDRESS *Memory);
typedef EFI_STATUS(EFIAPI *HOST_FREE_PAGES)(EFI_PHYSICAL_ADDRESS Memory, UINTN Pages);
typedef EFI_STATUS(EFIAPI *HOST_UNLOAD_IMAGE)(EFI_HANDLE ImageHandle);
#define HOST_ALLOCATE_ANY_PAGES 0
#define HOST_PAGE_SIZE 4096u

typedef EFI_STATUS(EFIAPI *HOST_GET_VARIABLE)(const CHAR16 *Name, const EFI_GUID *Vendor, UINT32 *Attributes,
                                              UINTN *DataSize, VOID *Data);
typedef EFI_STATUS(EFIAPI *HOST_SET_VARIABLE)(const CHAR16 *Name, const EFI_GUID *Vendor, UINT32 Attributes,
                                              UINTN DataSize, const VOID *Data);
typedef VOID(EFIAPI *HOST_RESET_SYSTEM)(UINT32 ResetType, EFI_STATUS ResetStatus, UINTN DataSize, VOID *ResetData);

typedef struct {
  EFI_TABLE_HEADER Hdr;
  VOID *TimeAndVirtualMemoryServices[6];
  HOST_GET_VARIABLE GetVariable;
  VOID *GetNextVariableName;
  HOST_SET_VARIABLE SetVariable;
  VOID *GetNextHighMonotonicCount;
  HOST_RESET_SYSTEM ResetSystem;
} HOST_RUNTIME_SERVICES;
static_assert(offsetof(HOST_RUNTIME_SERVICES, GetVariable) == 72);
static_assert(offsetof(HOST_RUNTIME_SERVICES, SetVariable) == 88);
static_assert(offsetof(HOST_RUNTIME_SERVICES, ResetSystem) == 104);

#define HOST_RESET_COLD 0
#define HOST_VARIABLE_NON_VOLATILE 0x00000001u
#define HOST_VARIABLE_BOOTSERVICE_ACCESS 0x00000002u
#define HOST_VARIABLE_RUNTIME_ACCESS 0x00000004u
// {8BE4DF61-93CA-11D2-AA0D-00E098032B8C}
#define HOST_GLOBAL_VARIABLE_GUID \
  {0x8BE4DF61, 0x93CA, 0x11D2, {0xAA, 0x0D, 0x00, 0xE0, 0x98, 0x03, 0x2B, 0x8C}}
#define HOST_LOAD_OPTION_ACTIVE 0x00000001u

// A firmware-volume file's node in an image's file path.
#define HOST_DEVICE_PATH_MEDIA_PIWG_FW_FILE 0x06
typedef struct {
  UINT8 Type;
  UINT8 SubType;
  UINT8 Length[2];
  EFI_GUID FileName;
} HOST_FW_FILE_NODE;
static_assert(sizeof(HOST_FW_FILE_NODE) == 20);

inline HOST_ALLOCATE_PAGES AllocatePagesService(const EFI_BOOT_SERVICES *Services) {
  return reinterpret_cast<HOST_ALLOCATE_PAGES>(Services->AllocatePages);
}
inline HOST_FREE_PAGES FreePagesService(const EFI_BOOT_SERVICES *Services) {
  return reinterpret_cast<HOST_FREE_PAGES>(Services->FreePages);
}
inline HOST_UNLOAD_IMAGE UnloadImageService(const EFI_BOOT_SERVICES *Services) {
  return reinterpret_cast<HOST_UNLOAD_IMAGE>(Services->UnloadImage);
}
inline HOST_RUNTIME_SERVICES *RuntimeServices(const EFI_SYSTEM_TABLE *System) {
  return reinterpret_cast<HOST_RUNTIME_SERVICES *>(System->RuntimeServices);
}
