// The host's utility services: buffers, rectangles, and the scaling from
// the 1920 x 1080 design space to the screen mode the host runs in.
#include "tests/firmware/host/CallLog.h"
#include "tests/firmware/host/HostFirmware.h"
#include "tests/firmware/host/HostTables.h"
#include "tests/firmware/host/SlotTraps.h"

namespace {

constexpr INT32 DesignWidth = 1920;
constexpr INT32 DesignHeight = 1080;

constinit UINT32 mScreenWidth = DesignWidth;
constinit UINT32 mScreenHeight = DesignHeight;
constinit HOST_SERVICES_TABLE mServicesTable = {};

// Rounds to the nearest pixel, halves away from zero.
INT32 Scale(INT32 Units, UINT32 Screen, INT32 Design) {
  const INT64 Product = (INT64)Units * Screen;
  return (INT32)((Product >= 0 ? Product + Design / 2 : Product - Design / 2) / Design);
}

UINT64 U(const VOID *Pointer) { return reinterpret_cast<UINT64>(Pointer); }
UINT64 Pair(INT32 Low, INT32 High) { return (UINT32)Low | ((UINT64)(UINT32)High << 32); }

UINTN EFIAPI ZeroBuffer(VOID *Buffer, UINTN Length) {
  LogCall(HostTableServices, 3, U(Buffer), Length);
  if (Buffer != nullptr) {
    ZeroBytes(Buffer, Length);
  }
  return 0;
}

UINTN EFIAPI CopyBuffer(VOID *Destination, const VOID *Source, UINTN Length) {
  LogCall(HostTableServices, 4, U(Destination), U(Source), Length);
  if (Destination != nullptr && Source != nullptr) {
    CopyBytes(Destination, Source, Length);
  }
  return 0;
}

UINTN EFIAPI SetRect(HOST_RECT *Rect, INT32 Left, INT32 Top, INT32 Right, INT32 Bottom) {
  LogCall(HostTableServices, 39, U(Rect), Pair(Left, Top), Pair(Right, Bottom));
  if (Rect != nullptr) {
    *Rect = HOST_RECT{Left, Top, Right, Bottom};
  }
  return 0;
}

// What the pointer designates is the host's business; this host only notes
// the call and leaves the memory alone.
UINTN EFIAPI AdjustRect(VOID *Pointer, UINTN Zero, UINTN Twelve) {
  LogCall(HostTableServices, 40, U(Pointer), Zero, Twelve);
  return 0;
}

UINTN EFIAPI InflateRect(HOST_RECT *Rect, INT32 Dx, INT32 Dy) {
  LogCall(HostTableServices, 41, U(Rect), (UINT32)Dx, (UINT32)Dy);
  if (Rect != nullptr) {
    Rect->Left -= Dx;
    Rect->Top -= Dy;
    Rect->Right += Dx;
    Rect->Bottom += Dy;
  }
  return 0;
}

UINT32 EFIAPI RectWidth(HOST_RECT *Rect) {
  LogCall(HostTableServices, 46, U(Rect));
  return Rect != nullptr ? (UINT32)(Rect->Right - Rect->Left) : 0;
}

INT32 EFIAPI CenterOffset(UINT32 Outer, UINT32 Inner) {
  LogCall(HostTableServices, 48, Outer, Inner);
  return ((INT32)Outer - (INT32)Inner) / 2;
}

UINTN EFIAPI ScaleRect(VOID *Destination, const THEME_RECT *Design) {
  if (Design == nullptr) {
    LogCall(HostTableServices, 58, U(Destination), 0);
    return 0;
  }
  LogCall(HostTableServices, 58, U(Destination), U(Design), Pair(Design->X, Design->Y),
          Pair(Design->Width, Design->Height));
  if (Destination != nullptr) {
    const HOST_RECT Scaled = {ScaleDesignX(Design->X), ScaleDesignY(Design->Y),
                              ScaleDesignX(Design->X + Design->Width), ScaleDesignY(Design->Y + Design->Height)};
    CopyBytes(Destination, &Scaled, sizeof(Scaled));
  }
  return 0;
}

INT32 EFIAPI ScaleX(INT32 DesignUnits) {
  LogCall(HostTableServices, 59, (UINT32)DesignUnits);
  return ScaleDesignX(DesignUnits);
}

INT32 EFIAPI ScaleY(INT32 DesignUnits) {
  LogCall(HostTableServices, 60, (UINT32)DesignUnits);
  return ScaleDesignY(DesignUnits);
}

}  // namespace

void SetScreenMode(UINT32 Width, UINT32 Height) {
  mScreenWidth = Width;
  mScreenHeight = Height;
}
UINT32 ScreenWidth() { return mScreenWidth; }
UINT32 ScreenHeight() { return mScreenHeight; }
INT32 ScaleDesignX(INT32 DesignUnits) { return Scale(DesignUnits, mScreenWidth, DesignWidth); }
INT32 ScaleDesignY(INT32 DesignUnits) { return Scale(DesignUnits, mScreenHeight, DesignHeight); }

HOST_SERVICES_TABLE *HostServicesTable() {
  if (mServicesTable.ScaleRect == nullptr) {
    FillWithSlotTraps<HostTableServices, HOST_SERVICES_TABLE_SLOT_COUNT>(reinterpret_cast<VOID **>(&mServicesTable));
    mServicesTable.ZeroBuffer = ZeroBuffer;
    mServicesTable.CopyBuffer = CopyBuffer;
    mServicesTable.SetRect = SetRect;
    mServicesTable.AdjustRect = AdjustRect;
    mServicesTable.InflateRect = InflateRect;
    mServicesTable.RectWidth = RectWidth;
    mServicesTable.CenterOffset = CenterOffset;
    mServicesTable.ScaleRect = ScaleRect;
    mServicesTable.ScaleX = ScaleX;
    mServicesTable.ScaleY = ScaleY;
  }
  return &mServicesTable;
}
