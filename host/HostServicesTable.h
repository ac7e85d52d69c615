// The host's table of utility services: buffers, rectangles and scaling from
// the 1920 x 1080 design space to screen pixels. Slot n at byte 8 * n; the
// plug-in reads the pointer afresh at every call. Layout only.
#pragma once

#include "host/HostSlotTable.h"
#include "host/HostTypes.h"

// Slot 3. Zeroes Length bytes of the plug-in's Buffer. The plug-in relies on
// the zeroing, not on the result.
typedef UINTN(EFIAPI *HOST_ZERO_BUFFER)(VOID *Buffer, UINTN Length);
// Slot 4. Copies Length bytes from Source to Destination. The plug-in relies
// on the copy, not on the result.
typedef UINTN(EFIAPI *HOST_COPY_BUFFER)(VOID *Destination, const VOID *Source, UINTN Length);
// Slot 39. Writes the four edges into the plug-in's Rect. Result ignored.
typedef UINTN(EFIAPI *HOST_SET_RECT)(HOST_RECT *Rect, INT32 Left, INT32 Top, INT32 Right, INT32 Bottom);
// Slot 40. The host's own adjustment of what Target designates; the plug-in
// passes the caller's pointer unread, 0 as Flags and 12 as Length. Result
// ignored.
typedef UINTN(EFIAPI *HOST_ADJUST_RECT)(VOID *Target, UINTN Flags, UINTN Length);
// Slot 41. Moves each edge of the plug-in's Rect outward by Dx or Dy; a
// negative value moves it inward. Result ignored.
typedef UINTN(EFIAPI *HOST_INFLATE_RECT)(HOST_RECT *Rect, INT32 Dx, INT32 Dy);
// Slot 46. Returns the width of Rect in pixels; the plug-in uses it.
typedef UINT32(EFIAPI *HOST_RECT_WIDTH)(HOST_RECT *Rect);
// Slot 48. Returns the offset that centres an Inner extent within an Outer
// one; the plug-in uses it.
typedef INT32(EFIAPI *HOST_CENTER_OFFSET)(UINT32 Outer, UINT32 Inner);
// Slot 58. Writes the design rectangle Design, scaled to screen pixels, into
// the caller's Destination. The plug-in relies on the write, not the result.
typedef UINTN(EFIAPI *HOST_SCALE_RECT)(VOID *Destination, const THEME_RECT *Design);
// Slot 59. Returns DesignUnits as horizontal pixels; the plug-in uses it.
typedef INT32(EFIAPI *HOST_SCALE_X)(INT32 DesignUnits);
// Slot 60. Returns DesignUnits as vertical pixels; the plug-in uses it.
typedef INT32(EFIAPI *HOST_SCALE_Y)(INT32 DesignUnits);

#define HOST_SERVICES_TABLE_SLOT_COUNT 61

typedef struct HOST_SERVICES_TABLE {
  union {
    VOID *Slot[HOST_SERVICES_TABLE_SLOT_COUNT];
#define HOST_SERVICES_SLOT HOST_SLOT_MEMBER
#include "host/HostServicesSlots.def"
#undef HOST_SERVICES_SLOT
  };
} HOST_SERVICES_TABLE;
static_assert(sizeof(HOST_SERVICES_TABLE) == 8 * HOST_SERVICES_TABLE_SLOT_COUNT);
#define HOST_SERVICES_SLOT(Number, Name, Type) static_assert(offsetof(HOST_SERVICES_TABLE, Name) == 8 * (Number));
#include "host/HostServicesSlots.def"
#undef HOST_SERVICES_SLOT
static_assert(HostSlotsRise(
    {
#define HOST_SERVICES_SLOT(Number, Name, Type) Number,
#include "host/HostServicesSlots.def"
#undef HOST_SERVICES_SLOT
    },
    HOST_SERVICES_TABLE_SLOT_COUNT));
