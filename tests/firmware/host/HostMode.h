// Which way the reference host brings the driver in: named by a mode file
// that the runner puts on the boot volume; without one the host loads the
// driver file itself.
#pragma once

#include "tests/firmware/host/Run.h"

typedef enum {
  HostModeDriverFile,      // LoadImage of \EFI\BOOT\ThemeDriver.efi
  HostModeFirmwareVolume,  // the DXE core dispatches it from \EFI\BOOT\ThemeDriver.fv
  HostModeLoadOption,      // the boot manager loads it through Driver0001
  HostModeSecureBoot,      // as the driver file, after unsigned and badly signed copies are refused
  HostModeFatalCode,       // as the driver file with the heap-record list refused: the fatal-code display
  HostModeFlash,           // the firmware holds the driver in its flash and dispatched it before the host ran
  HostModeUnknown,
} HOST_MODE;

// Reads \EFI\BOOT\HostMode.txt of the boot volume.
HOST_MODE ReadHostMode();
const char *HostModeName(HOST_MODE Mode);

// Loads and starts the driver the way Mode says, filling Run->Load as a
// load by the host would; false when the driver is not running.
BOOLEAN BringInDriver(HOST_RUN *Run, HOST_MODE Mode);

// Reads a whole file of the boot volume into pool memory; false when it
// cannot (the reason is printed).
BOOLEAN ReadBootFile(const CHAR16 *Path, VOID **Data, UINTN *Size);
