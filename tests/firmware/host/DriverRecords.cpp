// What the host can learn about a driver that firmware, not the host,
// loaded: its records in the handle database and its loaded image.
#include "tests/firmware/host/Checks.h"
#include "tests/firmware/host/HostFirmware.h"
#include "tests/firmware/host/ShippingWays.h"

namespace {

const EFI_GUID mThemeProviderGuid = THEME_PROVIDER_PROTOCOL_GUID;
const EFI_GUID mLoadedImageGuid = HOST_LOADED_IMAGE_PROTOCOL_GUID;

}  // namespace

UINTN FindDriverRecords(THEME_PROVIDER_PROTOCOL **Record, EFI_HANDLE *Handle) {
  UINTN Count = 0;
  EFI_HANDLE *Handles = nullptr;
  if (EFI_ERROR(gHostBootServices->LocateHandleBuffer(ByProtocol, &mThemeProviderGuid, nullptr, &Count, &Handles))) {
    return 0;
  }
  UINTN Found = 0;
  for (UINTN Index = 0; Index < Count; Index++) {
    VOID *Interface = nullptr;
    if (EFI_ERROR(gHostBootServices->HandleProtocol(Handles[Index], &mThemeProviderGuid, &Interface)) ||
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
  VOID *Interface = nullptr;
  const EFI_STATUS Status = gHostBootServices->HandleProtocol(ImageHandle, &mLoadedImageGuid, &Interface);
  if (!Check(!EFI_ERROR(Status) && Interface != nullptr, "loaded-image interface on the driver's handle",
             "status 0x%llX", Status)) {
    return FALSE;
  }
  Run->Load.ImageHandle = ImageHandle;
  Run->Load.LoadedImage = static_cast<HOST_LOADED_IMAGE_PROTOCOL *>(Interface);
  Run->Load.LoadStatus = EFI_SUCCESS;
  Run->Load.StartStatus = EFI_SUCCESS;
  Run->Load.Started = TRUE;
  Info("driver image at 0x%llX, %llu bytes", reinterpret_cast<UINT64>(Run->Load.LoadedImage->ImageBase),
       Run->Load.LoadedImage->ImageSize);
  return CheckDec("driver loaded as a boot-service driver: code memory type", EfiBootServicesCode,
                  Run->Load.LoadedImage->ImageCodeType);
}

BOOLEAN InsideImageOf(EFI_HANDLE ImageHandle, const VOID *Address) {
  VOID *Interface = nullptr;
  if (EFI_ERROR(gHostBootServices->HandleProtocol(ImageHandle, &mLoadedImageGuid, &Interface)) || Interface == nullptr) {
    return FALSE;
  }
  const auto *Image = static_cast<const HOST_LOADED_IMAGE_PROTOCOL *>(Interface);
  const UINT64 Base = reinterpret_cast<UINT64>(Image->ImageBase);
  const UINT64 At = reinterpret_cast<UINT64>(Address);
  return At >= Base && At < Base + Image->ImageSize;
}
