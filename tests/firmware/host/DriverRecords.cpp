// What the host can learn about a driver that firmware, not the host,
// loaded: its records in the handle database and its loaded image.
#include "tests/firmware/host/Checks.h"
#include "tests/firmware/host/HostFirmware.h"
#include "tests/firmware/host/ShippingWays.h"

namespace {

const EFI_GUID kThemeProviderGuid = THEME_PROVIDER_PROTOCOL_GUID;

}  // namespace

UINTN FindDriverRecords(THEME_PROVIDER_PROTOCOL **Record, EFI_HANDLE *Handle) {
  UINTN Count = 0;
  EFI_HANDLE *Handles = nullptr;
  if (EFI_ERROR(gHostBootServices->LocateHandleBuffer(ByProtocol, &kThemeProviderGuid, nullptr, &Count, &Handles))) {
    return 0;
  }
  UINTN Found = 0;
  for (UINTN Index = 0; Index < Count; Index++) {
    VOID *Interface = nullptr;
    if (EFI_ERROR(gHostBootServices->HandleProtocol(Handles[Index], &kThemeProviderGuid, &Interface)) ||
        Interface == nullptr || static_cast<THEME_PROVIDER_PROTOCOL *>(Interface)->ImageHandle == nullptr) {
      continue;
    }
    Found++;
    *Record = static_cast<THEME_PROVIDER_PROTOCOL *>(Interface);
    *Handle = Handles[Index];
  }
  gHostBootServices->FreePool(Handles);
  return Found;
}

BOOLEAN AdoptLoadedDriver(HOST_RUN *Run, EFI_HANDLE ImageHandle) {
  EFI_STATUS Status;
  HOST_LOADED_IMAGE_PROTOCOL *Image = LoadedImageOf(ImageHandle, &Status);
  if (!Check(Image != nullptr, "loaded-image interface on the driver's handle", "status 0x%llX", Status)) {
    return FALSE;
  }
  Run->Load.ImageHandle = ImageHandle;
  Run->Load.LoadedImage = Image;
  Run->Load.LoadStatus = EFI_SUCCESS;
  Run->Load.StartStatus = EFI_SUCCESS;
  Run->Load.Started = TRUE;
  return ReportDriverImage(Image);
}

BOOLEAN InsideImageOf(EFI_HANDLE ImageHandle, const VOID *Address) {
  return InsideLoadedImage(LoadedImageOf(ImageHandle), Address);
}
