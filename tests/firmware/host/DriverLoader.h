// Brings the driver in the way firmware would: its file read from the
// volume the host itself was loaded from, then LoadImage and StartImage.
#pragma once

#include "tests/firmware/host/FirmwareProtocols.h"

typedef struct {
  const CHAR16 *Path;           // on the boot volume
  EFI_STATUS ReadStatus;
  const char *ReadFailure;      // which step of reading failed, null when none
  VOID *File;
  UINTN FileSize;
  BOOLEAN HasDevicePath;        // the load named the file by device path too
  EFI_STATUS LoadStatus;
  EFI_HANDLE ImageHandle;
  BOOLEAN RefusedHandleUnloaded;  // the load failed yet gave a handle, now unloaded
  HOST_LOADED_IMAGE_PROTOCOL *LoadedImage;
  EFI_STATUS StartStatus;
  BOOLEAN Started;
} DRIVER_LOAD;

// The loaded-image interface on Handle; null when it has none (the status of
// the lookup in *Status when asked for).
HOST_LOADED_IMAGE_PROTOCOL *LoadedImageOf(EFI_HANDLE Handle, EFI_STATUS *Status = nullptr);
// True when Address lies inside Image (false without an image).
BOOLEAN InsideLoadedImage(const HOST_LOADED_IMAGE_PROTOCOL *Image, const VOID *Address);
// Prints where the driver's image lies and checks it is a boot-service
// driver's code; the check's result.
BOOLEAN ReportDriverImage(const HOST_LOADED_IMAGE_PROTOCOL *Image);

// The boot volume's device path followed by a file-path node for Path, in
// pool memory, its size in *Size; null when the volume has no device path.
EFI_DEVICE_PATH_PROTOCOL *BootFileDevicePath(const CHAR16 *Path, UINTN *Size);
// Reads Load->Path into pool memory.
BOOLEAN ReadDriverFile(DRIVER_LOAD *Load);
// LoadImage from the buffer (with the file's device path, where the volume
// has one), then the loaded-image interface of the new handle.
BOOLEAN LoadDriverImage(DRIVER_LOAD *Load);
BOOLEAN StartDriverImage(DRIVER_LOAD *Load);
