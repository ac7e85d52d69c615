// The host's utility services: buffers, rectangles, and the scaling from
// the 1920 x 1080 design space to the screen mode the host runs in.
#include "tests/firmware/host/HostFirmware.h"
#include "tests/firmware/host/HostSlotList.h"
#include "tests/firmware/host/HostTables.h"
#include "tests/firmware/host/SlotTraps.h"

namespace {

constexpr INT32 kDesignWidth = 1920;
constexpr INT32 kDesignHeight = 1080;

constinit UINT32 mScreenWidth = kDesignWidth;
constinit UINT32 mScreenHeight = kDesignHeight;
// The table the record points at: filled by the host's own slot numbers.
constinit VOID *mServicesSlots[REFERENCE_HOST_SERVICES_TABLE_SLOTS] = {};

// Rounds to the nearest pixel, halves away from zero.
INT32 Scale(INT32 Units, UINT32 Screen, INT32 Design) {
  const INT64 Product = (INT64)Units * Screen;
  return (INT32)((Product >= 0 ? Product + Design / 2 : Product - Design / 2) / Design);
}

// The host's operations, one per listed slot and named as the slot.
namespace serve {

UINTN ZeroBuffer(VOID *Buffer, UINTN Length) {
  if (Buffer != nullptr) {
    ZeroBytes(Buffer, Length);
  }
  return 0;
}

UINTN CopyBuffer(VOID *Destination, const VOID *Source, UINTN Length) {
  if (Destination != nullptr && Source != nullptr) {
    CopyBytes(Destination, Source, Length);
  }
  return 0;
}

UINTN SetRect(HOST_RECT *Rect, INT32 Left, INT32 Top, INT32 Right, INT32 Bottom) {
  if (Rect != nullptr) {
    *Rect = HOST_RECT{Left, Top, Right, Bottom};
  }
  return 0;
}

// What the pointer designates is the host's business; this host leaves the
// memory alone.
UINTN AdjustRect(VOID *, UINTN, UINTN) { return 0; }

UINTN InflateRect(HOST_RECT *Rect, INT32 Dx, INT32 Dy) {
  if (Rect != nullptr) {
    Rect->Left -= Dx;
    Rect->Top -= Dy;
    Rect->Right += Dx;
    Rect->Bottom += Dy;
  }
  return 0;
}

UINT32 RectWidth(HOST_RECT *Rect) { return Rect != nullptr ? (UINT32)(Rect->Right - Rect->Left) : 0; }

INT32 CenterOffset(UINT32 Outer, UINT32 Inner) { return ((INT32)Outer - (INT32)Inner) / 2; }

UINTN ScaleRect(VOID *Destination, const THEME_RECT *Design) {
  if (Destination != nullptr && Design != nullptr) {
    const HOST_RECT Scaled = {ScaleDesignX(Design->X), ScaleDesignY(Design->Y),
                              ScaleDesignX(Design->X + Design->Width), ScaleDesignY(Design->Y + Design->Height)};
    CopyBytes(Destination, &Scaled, sizeof(Scaled));
  }
  return 0;
}

INT32 ScaleX(INT32 DesignUnits) { return ScaleDesignX(DesignUnits); }

INT32 ScaleY(INT32 DesignUnits) { return ScaleDesignY(DesignUnits); }

}  // namespace serve
}  // namespace

void SetScreenMode(UINT32 Width, UINT32 Height) {
  mScreenWidth = Width;
  mScreenHeight = Height;
}
UINT32 ScreenWidth() { return mScreenWidth; }
UINT32 ScreenHeight() { return mScreenHeight; }
INT32 ScaleDesignX(INT32 DesignUnits) { return Scale(DesignUnits, mScreenWidth, kDesignWidth); }
INT32 ScaleDesignY(INT32 DesignUnits) { return Scale(DesignUnits, mScreenHeight, kDesignHeight); }

HOST_SERVICES_TABLE *HostServicesTable() {
  static_assert(sizeof(mServicesSlots) == sizeof(HOST_SERVICES_TABLE), "the host's table and the record's type agree in size");
  if (mServicesSlots[0] == nullptr) {
    FillWithSlotTraps<LogUnlistedSlotCall, kHostTableServices, REFERENCE_HOST_SERVICES_TABLE_SLOTS>(mServicesSlots);
#define SERVE_SLOT(Number, Name, Type) \
  mServicesSlots[Number] = reinterpret_cast<VOID *>(&LoggedSlot<kHostTableServices, Number, Type>::template Call<&serve::Name>);
    REFERENCE_HOST_SERVICES_SLOTS(SERVE_SLOT)
#undef SERVE_SLOT
  }
  return reinterpret_cast<HOST_SERVICES_TABLE *>(mServicesSlots);
}
