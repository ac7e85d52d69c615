// EFI_SYSTEM_TABLE and EFI_BOOT_SERVICES as the UEFI specification lays
// them out. Layout only; no behaviour.
#pragma once

#include "platform/uefi/UefiBase.h"

typedef enum : UINT32 {
  AllHandles = 0,
  ByRegisterNotify = 1,
  ByProtocol = 2,
} EFI_LOCATE_SEARCH_TYPE;

typedef enum : UINT32 {
  EFI_NATIVE_INTERFACE = 0,
} EFI_INTERFACE_TYPE;

typedef enum : UINT32 {
  EfiReservedMemoryType = 0,
  EfiLoaderCode = 1,
  EfiLoaderData = 2,
  EfiBootServicesCode = 3,
  EfiBootServicesData = 4,
  EfiRuntimeServicesCode = 5,
  EfiRuntimeServicesData = 6,
} EFI_MEMORY_TYPE;

typedef VOID EFI_DEVICE_PATH_PROTOCOL;

// Allocates Size bytes of PoolType; *Buffer receives the memory.
typedef EFI_STATUS(EFIAPI *EFI_ALLOCATE_POOL)(EFI_MEMORY_TYPE PoolType, UINTN Size, VOID **Buffer);
// Returns pool memory obtained from AllocatePool or from a boot service.
typedef EFI_STATUS(EFIAPI *EFI_FREE_POOL)(VOID *Buffer);
// Installs Interface under Protocol on *Handle; a null *Handle makes a new handle.
typedef EFI_STATUS(EFIAPI *EFI_INSTALL_PROTOCOL_INTERFACE)(EFI_HANDLE *Handle, const EFI_GUID *Protocol,
                                                           EFI_INTERFACE_TYPE InterfaceType, VOID *Interface);
// Replaces OldInterface with NewInterface under Protocol on Handle.
typedef EFI_STATUS(EFIAPI *EFI_REINSTALL_PROTOCOL_INTERFACE)(EFI_HANDLE Handle, const EFI_GUID *Protocol,
                                                             VOID *OldInterface, VOID *NewInterface);
// Removes Interface under Protocol from Handle.
typedef EFI_STATUS(EFIAPI *EFI_UNINSTALL_PROTOCOL_INTERFACE)(EFI_HANDLE Handle, const EFI_GUID *Protocol,
                                                             VOID *Interface);
// Finds the interface of Protocol on Handle.
typedef EFI_STATUS(EFIAPI *EFI_HANDLE_PROTOCOL)(EFI_HANDLE Handle, const EFI_GUID *Protocol, VOID **Interface);
// Adds, replaces or (with a null Table) removes a configuration-table entry.
typedef EFI_STATUS(EFIAPI *EFI_INSTALL_CONFIGURATION_TABLE)(const EFI_GUID *Guid, VOID *Table);
// Loads an image from memory or a device path; *ImageHandle receives its handle.
typedef EFI_STATUS(EFIAPI *EFI_IMAGE_LOAD)(BOOLEAN BootPolicy, EFI_HANDLE ParentImageHandle,
                                           EFI_DEVICE_PATH_PROTOCOL *DevicePath, VOID *SourceBuffer,
                                           UINTN SourceSize, EFI_HANDLE *ImageHandle);
// Calls a loaded image's entry point and returns its status.
typedef EFI_STATUS(EFIAPI *EFI_IMAGE_START)(EFI_HANDLE ImageHandle, UINTN *ExitDataSize, CHAR16 **ExitData);
// Stalls for the given number of microseconds.
typedef EFI_STATUS(EFIAPI *EFI_STALL)(UINTN Microseconds);
// Arms (or with 0 disarms) the watchdog timer.
typedef EFI_STATUS(EFIAPI *EFI_SET_WATCHDOG_TIMER)(UINTN Timeout, UINT64 WatchdogCode, UINTN DataSize,
                                                   CHAR16 *WatchdogData);
// Returns a pool buffer of the handles that match; the caller frees *Buffer.
typedef EFI_STATUS(EFIAPI *EFI_LOCATE_HANDLE_BUFFER)(EFI_LOCATE_SEARCH_TYPE SearchType, const EFI_GUID *Protocol,
                                                     VOID *SearchKey, UINTN *NoHandles, EFI_HANDLE **Buffer);
// Returns the first interface of Protocol in the handle database.
typedef EFI_STATUS(EFIAPI *EFI_LOCATE_PROTOCOL)(const EFI_GUID *Protocol, VOID *Registration, VOID **Interface);
// Installs GUID/interface pairs, ended by a null GUID, on *Handle.
typedef EFI_STATUS(EFIAPI *EFI_INSTALL_MULTIPLE_PROTOCOL_INTERFACES)(EFI_HANDLE *Handle, ...);

typedef struct {
  EFI_TABLE_HEADER Hdr;
  VOID *RaiseTPL;
  VOID *RestoreTPL;
  VOID *AllocatePages;
  VOID *FreePages;
  VOID *GetMemoryMap;
  EFI_ALLOCATE_POOL AllocatePool;
  EFI_FREE_POOL FreePool;
  VOID *CreateEvent;
  VOID *SetTimer;
  VOID *WaitForEvent;
  VOID *SignalEvent;
  VOID *CloseEvent;
  VOID *CheckEvent;
  EFI_INSTALL_PROTOCOL_INTERFACE InstallProtocolInterface;
  EFI_REINSTALL_PROTOCOL_INTERFACE ReinstallProtocolInterface;
  EFI_UNINSTALL_PROTOCOL_INTERFACE UninstallProtocolInterface;
  EFI_HANDLE_PROTOCOL HandleProtocol;
  VOID *Reserved;
  VOID *RegisterProtocolNotify;
  VOID *LocateHandle;
  VOID *LocateDevicePath;
  EFI_INSTALL_CONFIGURATION_TABLE InstallConfigurationTable;
  EFI_IMAGE_LOAD LoadImage;
  EFI_IMAGE_START StartImage;
  VOID *Exit;
  VOID *UnloadImage;
  VOID *ExitBootServices;
  VOID *GetNextMonotonicCount;
  EFI_STALL Stall;
  EFI_SET_WATCHDOG_TIMER SetWatchdogTimer;
  VOID *ConnectController;
  VOID *DisconnectController;
  VOID *OpenProtocol;
  VOID *CloseProtocol;
  VOID *OpenProtocolInformation;
  VOID *ProtocolsPerHandle;
  EFI_LOCATE_HANDLE_BUFFER LocateHandleBuffer;
  EFI_LOCATE_PROTOCOL LocateProtocol;
  EFI_INSTALL_MULTIPLE_PROTOCOL_INTERFACES InstallMultipleProtocolInterfaces;
  VOID *UninstallMultipleProtocolInterfaces;
  VOID *CalculateCrc32;
  VOID *CopyMem;
  VOID *SetMem;
  VOID *CreateEventEx;
} EFI_BOOT_SERVICES;
static_assert(sizeof(EFI_BOOT_SERVICES) == 376);
static_assert(offsetof(EFI_BOOT_SERVICES, AllocatePool) == 64);
static_assert(offsetof(EFI_BOOT_SERVICES, FreePool) == 72);
static_assert(offsetof(EFI_BOOT_SERVICES, InstallProtocolInterface) == 128);
static_assert(offsetof(EFI_BOOT_SERVICES, ReinstallProtocolInterface) == 136);
static_assert(offsetof(EFI_BOOT_SERVICES, UninstallProtocolInterface) == 144);
static_assert(offsetof(EFI_BOOT_SERVICES, HandleProtocol) == 152);
static_assert(offsetof(EFI_BOOT_SERVICES, InstallConfigurationTable) == 192);
static_assert(offsetof(EFI_BOOT_SERVICES, LoadImage) == 200);
static_assert(offsetof(EFI_BOOT_SERVICES, StartImage) == 208);
static_assert(offsetof(EFI_BOOT_SERVICES, Stall) == 248);
static_assert(offsetof(EFI_BOOT_SERVICES, SetWatchdogTimer) == 256);
static_assert(offsetof(EFI_BOOT_SERVICES, LocateHandleBuffer) == 312);
static_assert(offsetof(EFI_BOOT_SERVICES, LocateProtocol) == 320);
static_assert(offsetof(EFI_BOOT_SERVICES, InstallMultipleProtocolInterfaces) == 328);
static_assert(offsetof(EFI_BOOT_SERVICES, CreateEventEx) == 368);

typedef struct {
  EFI_GUID VendorGuid;
  VOID *VendorTable;
} EFI_CONFIGURATION_TABLE;
static_assert(sizeof(EFI_CONFIGURATION_TABLE) == 24);
static_assert(offsetof(EFI_CONFIGURATION_TABLE, VendorGuid) == 0);
static_assert(offsetof(EFI_CONFIGURATION_TABLE, VendorTable) == 16);

typedef struct {
  EFI_TABLE_HEADER Hdr;
} EFI_RUNTIME_SERVICES;

struct EFI_SIMPLE_TEXT_OUTPUT_PROTOCOL;

typedef struct {
  EFI_TABLE_HEADER Hdr;
  CHAR16 *FirmwareVendor;
  UINT32 FirmwareRevision;
  EFI_HANDLE ConsoleInHandle;
  VOID *ConIn;
  EFI_HANDLE ConsoleOutHandle;
  EFI_SIMPLE_TEXT_OUTPUT_PROTOCOL *ConOut;
  EFI_HANDLE StandardErrorHandle;
  EFI_SIMPLE_TEXT_OUTPUT_PROTOCOL *StdErr;
  EFI_RUNTIME_SERVICES *RuntimeServices;
  EFI_BOOT_SERVICES *BootServices;
  UINTN NumberOfTableEntries;
  EFI_CONFIGURATION_TABLE *ConfigurationTable;
} EFI_SYSTEM_TABLE;
static_assert(sizeof(EFI_SYSTEM_TABLE) == 120);
static_assert(offsetof(EFI_SYSTEM_TABLE, Hdr) == 0);
static_assert(offsetof(EFI_SYSTEM_TABLE, FirmwareVendor) == 24);
static_assert(offsetof(EFI_SYSTEM_TABLE, FirmwareRevision) == 32);
static_assert(offsetof(EFI_SYSTEM_TABLE, ConsoleInHandle) == 40);
static_assert(offsetof(EFI_SYSTEM_TABLE, ConIn) == 48);
static_assert(offsetof(EFI_SYSTEM_TABLE, ConsoleOutHandle) == 56);
static_assert(offsetof(EFI_SYSTEM_TABLE, ConOut) == 64);
static_assert(offsetof(EFI_SYSTEM_TABLE, StandardErrorHandle) == 72);
static_assert(offsetof(EFI_SYSTEM_TABLE, StdErr) == 80);
static_assert(offsetof(EFI_SYSTEM_TABLE, RuntimeServices) == 88);
static_assert(offsetof(EFI_SYSTEM_TABLE, BootServices) == 96);
static_assert(offsetof(EFI_SYSTEM_TABLE, NumberOfTableEntries) == 104);
static_assert(offsetof(EFI_SYSTEM_TABLE, ConfigurationTable) == 112);
