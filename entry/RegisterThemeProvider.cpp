// Registration: among plug-ins of one interface version the one registered
// last is the only active one, so every record installed before ours that
// carries our version and live signature is retired, whatever its name.
#include "entry/Registration.h"
#include "entry/ThemeProvider.h"
#include "platform/FirmwareTables.h"

namespace {

// Registration normally follows library set-up; should it ever run first,
// it records the firmware tables itself.
EFI_BOOT_SERVICES *RegistrationBootServices(EFI_SYSTEM_TABLE *SystemTable) {
  if (gLibSystemTable == nullptr) {
    KeepLibraryFirmwareTables(SystemTable);
  }
  SetDriverWideFirmwareTables(SystemTable);
  return gLibBootServices;
}

// Only the signature changes; the retired record stays installed.
void RetireIfSameInterface(THEME_PROVIDER_PROTOCOL *Other) {
  if (Other->Signature != mThemeProvider.Signature) {
    return;
  }
  if (Other->Version != mThemeProvider.Version) {
    return;
  }
  Other->Signature = THEME_PROVIDER_RETIRED;
}

void RetireInstalledProviders(EFI_BOOT_SERVICES *BootServices) {
  UINTN HandleCount = 0;
  EFI_HANDLE *HandleBuffer = nullptr;
  EFI_STATUS Status = BootServices->LocateHandleBuffer(ByProtocol, &gThemeProviderProtocolGuid, nullptr,
                                                        &HandleCount, &HandleBuffer);
  if (EFI_ERROR(Status)) {
    return;
  }
  for (UINTN Index = 0; Index < HandleCount; Index++) {
    VOID *Interface = nullptr;
    Status = BootServices->HandleProtocol(HandleBuffer[Index], &gThemeProviderProtocolGuid, &Interface);
    // The GUID may be installed with no interface behind it: nothing to retire.
    if (EFI_ERROR(Status) || Interface == nullptr) {
      continue;
    }
    RetireIfSameInterface(static_cast<THEME_PROVIDER_PROTOCOL *>(Interface));
  }
  // A firmware that answers success with no handles may still hand over a buffer.
  if (HandleBuffer != nullptr) {
    BootServices->FreePool(HandleBuffer);
  }
}

}  // namespace

EFI_STATUS RegisterThemeProvider(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable) {
  mThemeProvider.ImageHandle = ImageHandle;
  EFI_BOOT_SERVICES *BootServices = RegistrationBootServices(SystemTable);
  RetireInstalledProviders(BootServices);

  EFI_HANDLE NewHandle = nullptr;
  return BootServices->InstallMultipleProtocolInterfaces(&NewHandle, &gThemeProviderProtocolGuid, &mThemeProvider,
                                                         nullptr);
}
