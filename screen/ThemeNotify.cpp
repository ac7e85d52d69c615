// Lifecycle notifications from the host. The screen customisation that
// attaches to them is not built yet: known types are accepted and do nothing.
#include "screen/Screen.h"

EFI_STATUS EFIAPI ThemeNotify(UINT32 Type) {
  return Type <= 3 ? EFI_SUCCESS : EFI_INVALID_PARAMETER;
}
