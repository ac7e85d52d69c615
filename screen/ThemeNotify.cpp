// Lifecycle notifications from the host: record slot 0. Attaching registers
// the event hook and announces the theme; detaching undoes both. The host's
// announcement status is the notification's result.
#include "host/HostAccess.h"
#include "screen/Screen.h"

namespace {

enum : UINT32 {
  NotifyAttach = 0,
  NotifyMainScreen = 1,
  NotifyNothing = 2,
  NotifyDetach = 3,
};

// What AddEventHook takes besides the hook; the values are the host's.
constexpr UINT32 kHookGroup = 21;
constexpr UINT32 kHookFlags = 0;

}  // namespace

EFI_STATUS EFIAPI ThemeNotify(UINT32 Type) {
  switch (Type) {
    case NotifyAttach:
      HostUi()->AddEventHook(ThemeEventHook, kHookGroup, kHookFlags, &mEventHookHandle);
      return HostUi()->ThemeAttached(&mThemeProvider);
    case NotifyMainScreen:
      BuildMainScreen();
      return EFI_SUCCESS;
    case NotifyNothing:
      return EFI_SUCCESS;
    case NotifyDetach:
      HostUi()->RemoveEventHook(mEventHookHandle);
      return HostUi()->ThemeDetached(&mThemeProvider);
    default:
      return EFI_INVALID_PARAMETER;
  }
}
