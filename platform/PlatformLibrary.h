// The platform diagnostic library's set-up, which the entry point runs once
// before anything else.
#pragma once

#include "platform/uefi/SystemTable.h"

/**
  Sets up the diagnostic library: keeps its copies of the firmware tables,
  reads the debug settings (from PCD, when both PCD protocols are present
  and the driver was built with token numbers), finds the HOB list, joins
  or builds and publishes the heap-record list, initialises every output
  channel that reports itself present, and sets the driver-wide firmware
  pointers unless they are set already. A failure is never returned: under
  HaltOnError 1 it goes to FatalCodeHalt, otherwise it is passed over.

  @param[in] ImageHandle  Not used.
  @param[in] SystemTable  The firmware's system table.
**/
void InitializePlatformLibrary(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable);
