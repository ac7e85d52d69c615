#include "tests/firmware/host/HostFirmware.h"

constinit EFI_SYSTEM_TABLE *gHostSystemTable = nullptr;
constinit EFI_BOOT_SERVICES *gHostBootServices = nullptr;
constinit EFI_HANDLE gHostImageHandle = nullptr;

VOID *FindConfigurationTable(const EFI_GUID *Guid) {
  for (UINTN Index = 0; Index < gHostSystemTable->NumberOfTableEntries; Index++) {
    if (SameBytes(&gHostSystemTable->ConfigurationTable[Index].VendorGuid, Guid, sizeof(EFI_GUID))) {
      return gHostSystemTable->ConfigurationTable[Index].VendorTable;
    }
  }
  return nullptr;
}

VOID *AllocateHostPool(UINTN Size) {
  VOID *Buffer = nullptr;
  if (gHostBootServices == nullptr || EFI_ERROR(gHostBootServices->AllocatePool(EfiBootServicesData, Size, &Buffer))) {
    return nullptr;
  }
  ZeroBytes(Buffer, Size);
  return Buffer;
}

void FreeHostPool(VOID *Buffer) {
  if (Buffer != nullptr) {
    gHostBootServices->FreePool(Buffer);
  }
}

void CopyBytes(VOID *Destination, const VOID *Source, UINTN Length) {
  UINT8 *To = static_cast<UINT8 *>(Destination);
  const UINT8 *From = static_cast<const UINT8 *>(Source);
  for (UINTN Index = 0; Index < Length; Index++) {
    To[Index] = From[Index];
  }
}

void ZeroBytes(VOID *Destination, UINTN Length) {
  UINT8 *To = static_cast<UINT8 *>(Destination);
  for (UINTN Index = 0; Index < Length; Index++) {
    To[Index] = 0;
  }
}

BOOLEAN SameBytes(const VOID *A, const VOID *B, UINTN Length) {
  const UINT8 *Left = static_cast<const UINT8 *>(A);
  const UINT8 *Right = static_cast<const UINT8 *>(B);
  for (UINTN Index = 0; Index < Length; Index++) {
    if (Left[Index] != Right[Index]) {
      return FALSE;
    }
  }
  return TRUE;
}
