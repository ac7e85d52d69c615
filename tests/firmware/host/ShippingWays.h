// The ways platforms ship a boot-service driver, each as the reference host
// proves it. Each fills Run->Load as a load by the host would.
#pragma once

#include "tests/firmware/host/Run.h"

// The DXE core dispatches the driver from a firmware volume that the host
// hands to ProcessFirmwareVolume; a damaged copy must be refused first.
BOOLEAN DispatchFromFirmwareVolume(HOST_RUN *Run);

// The firmware dispatched the driver from its own flash before the host ran:
// the driver's only record, its image from a firmware-volume file. Nothing
// is read from the boot volume.
BOOLEAN FindDriverInFlash(HOST_RUN *Run);

// First boot: writes Driver0001 and DriverOrder and resets. Second boot:
// the boot manager's record is checked, then the host loads the driver once
// more, which must retire it.
BOOLEAN LoadThroughLoadOption(HOST_RUN *Run);

// Under Secure Boot: unsigned, altered and foreign-signed copies refused,
// then the signed driver loaded.
BOOLEAN LoadUnderSecureBoot(HOST_RUN *Run);

// The theme-provider records that a loaded driver installed (those that
// name an image handle; the host's pre-installed records name none): how
// many, and the last one found with its handle.
UINTN FindDriverRecords(THEME_PROVIDER_PROTOCOL **Record, EFI_HANDLE *Handle);

// True when Address lies inside the image loaded on ImageHandle.
BOOLEAN InsideImageOf(EFI_HANDLE ImageHandle, const VOID *Address);

// Fills Run->Load for a driver that firmware loaded and started itself.
BOOLEAN AdoptLoadedDriver(HOST_RUN *Run, EFI_HANDLE ImageHandle);
