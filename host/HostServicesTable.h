// The host's table of utility services: buffers, rectangles and scaling from
// the 1920 x 1080 design space to screen pixels. Slot n at byte 8 * n; the
// plug-in reads the pointer afresh at every call. Layout only.
#pragma once

#include "host/HostTypes.h"

// Slot 3. Zeroes Length bytes at Buffer.
typedef UINTN(EFIAPI *HOST_ZERO_BUFFER)(VOID *Buffer, UINTN Length);
// Slot 4. Copies Length bytes.
typedef UINTN(EFIAPI *HOST_COPY_BUFFER)(VOID *Destination, const VOID *Source, UINTN Length);
// Slot 39. Sets the four edges of Rect.
typedef UINTN(EFIAPI *HOST_SET_RECT)(HOST_RECT *Rect, INT32 Left, INT32 Top, INT32 Right, INT32 Bottom);
// Slot 40. The host's own adjustment of what Pointer designates.
typedef UINTN(EFIAPI *HOST_ADJUST_RECT)(VOID *Pointer, UINTN Zero, UINTN Twelve);
// Slot 41. Moves each edge outward by Dx or Dy; negative moves inward.
typedef UINTN(EFIAPI *HOST_INFLATE_RECT)(HOST_RECT *Rect, INT32 Dx, INT32 Dy);
// Slot 46. Returns the width of Rect.
typedef UINT32(EFIAPI *HOST_RECT_WIDTH)(HOST_RECT *Rect);
// Slot 48. Returns the offset that centres Inner within Outer.
typedef INT32(EFIAPI *HOST_CENTER_OFFSET)(UINT32 Outer, UINT32 Inner);
// Slot 58. Writes Design scaled to the screen into Destination.
typedef UINTN(EFIAPI *HOST_SCALE_RECT)(VOID *Destination, const THEME_RECT *Design);
// Slot 59. Returns DesignUnits as horizontal pixels.
typedef INT32(EFIAPI *HOST_SCALE_X)(INT32 DesignUnits);
// Slot 60. Returns DesignUnits as vertical pixels.
typedef INT32(EFIAPI *HOST_SCALE_Y)(INT32 DesignUnits);

typedef struct HOST_SERVICES_TABLE {
  VOID *Slots0To2[3];
  HOST_ZERO_BUFFER ZeroBuffer;
  HOST_COPY_BUFFER CopyBuffer;
  VOID *Slots5To38[34];
  HOST_SET_RECT SetRect;
  HOST_ADJUST_RECT AdjustRect;
  HOST_INFLATE_RECT InflateRect;
  VOID *Slots42To45[4];
  HOST_RECT_WIDTH RectWidth;
  VOID *Slot47;
  HOST_CENTER_OFFSET CenterOffset;
  VOID *Slots49To57[9];
  HOST_SCALE_RECT ScaleRect;
  HOST_SCALE_X ScaleX;
  HOST_SCALE_Y ScaleY;
} HOST_SERVICES_TABLE;
#define HOST_SERVICES_TABLE_SLOT_COUNT 61
static_assert(sizeof(HOST_SERVICES_TABLE) == 8 * HOST_SERVICES_TABLE_SLOT_COUNT);
static_assert(offsetof(HOST_SERVICES_TABLE, ZeroBuffer) == 8 * 3);
static_assert(offsetof(HOST_SERVICES_TABLE, CopyBuffer) == 8 * 4);
static_assert(offsetof(HOST_SERVICES_TABLE, SetRect) == 8 * 39);
static_assert(offsetof(HOST_SERVICES_TABLE, AdjustRect) == 8 * 40);
static_assert(offsetof(HOST_SERVICES_TABLE, InflateRect) == 8 * 41);
static_assert(offsetof(HOST_SERVICES_TABLE, RectWidth) == 8 * 46);
static_assert(offsetof(HOST_SERVICES_TABLE, CenterOffset) == 8 * 48);
static_assert(offsetof(HOST_SERVICES_TABLE, ScaleRect) == 8 * 58);
static_assert(offsetof(HOST_SERVICES_TABLE, ScaleX) == 8 * 59);
static_assert(offsetof(HOST_SERVICES_TABLE, ScaleY) == 8 * 60);
