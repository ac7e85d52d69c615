// The theme's event hook: the host hands it each event while the theme is
// attached. Three events get the theme's own work; every other one goes back
// to the host untouched.
#include "host/HostAccess.h"
#include "platform/DriverState.h"
#include "platform/WrappingMath.h"
#include "screen/Screen.h"

DRIVER_STATE constinit UINT16 mEventHookHandle = 0;

namespace {

// Design units by which a layout area is narrowed on each side.
constexpr INT32 kLayoutInsetLeft = 56;
constexpr INT32 kLayoutInsetRight = 40;
constexpr INT32 kLayoutInsetTop = 64;
constexpr INT32 kLayoutInsetBottom = 64;

// The host's scaling is called for left, right, top, bottom, in that order.
void NarrowLayoutArea(HOST_RECT *Area) {
  Area->Left = WrappingAdd(Area->Left, HostServices()->ScaleX(kLayoutInsetLeft));
  Area->Right = WrappingSub(Area->Right, HostServices()->ScaleX(kLayoutInsetRight));
  Area->Top = WrappingAdd(Area->Top, HostServices()->ScaleY(kLayoutInsetTop));
  Area->Bottom = WrappingSub(Area->Bottom, HostServices()->ScaleY(kLayoutInsetBottom));
}

}  // namespace

UINT64 EFIAPI ThemeEventHook(HOST_EVENT *Event) {
  switch (Event->Code) {
    case HOST_EVENT_PAINT:
      HostUi()->CallDefaultHandler(mEventHookHandle, Event);
      PaintCustomItem(Event);
      break;
    case HOST_EVENT_LAYOUT:
      // A layout event without an area has nothing to narrow: the host keeps it.
      if (Event->Data == nullptr) {
        return HOOK_NOT_HANDLED;
      }
      NarrowLayoutArea(static_cast<HOST_RECT *>(Event->Data));
      break;
    case HOST_EVENT_CREATE:
      HostUi()->CallDefaultHandler(mEventHookHandle, Event);
      AddIconChild(Event->Target);
      break;
    default:
      return HOOK_NOT_HANDLED;
  }
  // Every event the theme handles answers 0.
  Event->Result = 0;
  return 0;
}
