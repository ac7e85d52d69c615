// The image's entry point: library set-up first, then registration.
#include "entry/Registration.h"
#include "platform/PlatformLibrary.h"

extern "C" EFI_STATUS EFIAPI ThemeDriverEntry(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable) {
  InitializePlatformLibrary(ImageHandle, SystemTable);
  return RegisterThemeProvider(ImageHandle, SystemTable);
}
