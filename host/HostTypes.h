// Records that the setup-screen host and the plug-in hand each other by
// address. Their layout is fixed by the host; the plug-in touches only the
// named fields. Layout only; no behaviour.
#pragma once

#include "platform/uefi/UefiBase.h"

// The host's 32-byte image record. Width and height are pixels; Mode's
// meaning lies with the host. The other bytes belong to the host.
typedef struct THEME_IMAGE {
  UINT32 Width;
  UINT32 Height;
  UINT8 HostOwned1[16];
  UINT8 Mode;
  UINT8 HostOwned2[7];
} THEME_IMAGE;
static_assert(sizeof(THEME_IMAGE) == 32);
static_assert(offsetof(THEME_IMAGE, Width) == 0);
static_assert(offsetof(THEME_IMAGE, Height) == 4);
static_assert(offsetof(THEME_IMAGE, HostOwned1) == 8);
static_assert(offsetof(THEME_IMAGE, Mode) == 24);
static_assert(offsetof(THEME_IMAGE, HostOwned2) == 25);

// The design space: lengths the theme writes are units of a screen this
// size, which the host's scaling services turn into pixels.
#define THEME_DESIGN_WIDTH 1920
#define THEME_DESIGN_HEIGHT 1080

// A rectangle in design units of the design space.
typedef struct THEME_RECT {
  INT32 X;
  INT32 Y;
  INT32 Width;
  INT32 Height;
} THEME_RECT;
static_assert(sizeof(THEME_RECT) == 16);
static_assert(offsetof(THEME_RECT, X) == 0);
static_assert(offsetof(THEME_RECT, Y) == 4);
static_assert(offsetof(THEME_RECT, Width) == 8);
static_assert(offsetof(THEME_RECT, Height) == 12);

// A rectangle by its edges, in screen pixels.
typedef struct HOST_RECT {
  INT32 Left;
  INT32 Top;
  INT32 Right;
  INT32 Bottom;
} HOST_RECT;
static_assert(sizeof(HOST_RECT) == 16);
static_assert(offsetof(HOST_RECT, Left) == 0);
static_assert(offsetof(HOST_RECT, Top) == 4);
static_assert(offsetof(HOST_RECT, Right) == 8);
static_assert(offsetof(HOST_RECT, Bottom) == 12);

// The host's event record as the event hook receives it. Bytes 24..55 are
// the host's; the plug-in passes the record on whole and never reads them.
typedef struct HOST_EVENT {
  UINT64 Target;
  UINT64 Code;
  VOID *Data;
  UINT8 HostOwned[32];
  UINT64 Result;
} HOST_EVENT;
static_assert(sizeof(HOST_EVENT) == 64);
static_assert(offsetof(HOST_EVENT, Target) == 0);
static_assert(offsetof(HOST_EVENT, Code) == 8);
static_assert(offsetof(HOST_EVENT, Data) == 16);
static_assert(offsetof(HOST_EVENT, HostOwned) == 24);
static_assert(offsetof(HOST_EVENT, Result) == 56);

// A brush handle as a state brush set holds it: the low 16 bits of what
// MakeBrush returned. Descriptors, requests and attributes carry the whole
// 32-bit MakeBrush result instead.
typedef UINT16 BRUSH_ID;
#define BRUSH_KEEP ((BRUSH_ID)0xFFFF)  // the host leaves this position unchanged
#define BRUSH_NONE ((BRUSH_ID)0)       // an explicit "no brush", distinct from keep

// The four brushes of one visual state (0..6) of an object, passed by address
// to SetStateBrushes. What each position stands for lies with the host.
typedef struct STATE_BRUSHES {
  BRUSH_ID Brush[4];
} STATE_BRUSHES;
static_assert(sizeof(STATE_BRUSHES) == 8);
static_assert(offsetof(STATE_BRUSHES, Brush) == 0);

#define DECORATION_VALUE_COUNT 6

// A decoration for ApplyDecoration: the object, the kind, and six values
// whose meaning depends on the kind (brushes zero-extended, or raw ARGB).
typedef struct DECORATION_DESC {
  UINT64 Object;
  UINT64 Kind;
  UINT64 Value[DECORATION_VALUE_COUNT];
} DECORATION_DESC;
static_assert(sizeof(DECORATION_DESC) == 64);
static_assert(offsetof(DECORATION_DESC, Object) == 0);
static_assert(offsetof(DECORATION_DESC, Kind) == 8);
static_assert(offsetof(DECORATION_DESC, Value) == 16);

// An object's area in pixels, as GetObjectArea reports its first eight bytes
// and SetObjectArea takes it.
typedef struct OBJECT_AREA {
  INT32 Horizontal;
  INT32 Vertical;
} OBJECT_AREA;
static_assert(sizeof(OBJECT_AREA) == 8);
static_assert(offsetof(OBJECT_AREA, Horizontal) == 0);
static_assert(offsetof(OBJECT_AREA, Vertical) == 4);

// The host's font record as GetObjectFont hands it out. The plug-in reads
// only Font, the value that SetTextStyle takes; the rest belongs to the host.
typedef struct HOST_FONT_RECORD {
  UINT64 HostOwned1;
  UINT32 Font;
  UINT32 HostOwned2;
} HOST_FONT_RECORD;
static_assert(sizeof(HOST_FONT_RECORD) == 16);
static_assert(offsetof(HOST_FONT_RECORD, HostOwned1) == 0);
static_assert(offsetof(HOST_FONT_RECORD, Font) == 8);
static_assert(offsetof(HOST_FONT_RECORD, HostOwned2) == 12);

// What MeasureText writes at the plug-in's buffer: the text's extent in
// pixels. The plug-in reads Width.
typedef struct HOST_TEXT_SIZE {
  UINT32 Width;
  UINT32 Height;
} HOST_TEXT_SIZE;
static_assert(sizeof(HOST_TEXT_SIZE) == 8);
static_assert(offsetof(HOST_TEXT_SIZE, Width) == 0);
static_assert(offsetof(HOST_TEXT_SIZE, Height) == 4);

// The event codes the theme's hook handles, compared at full 64-bit width.
#define HOST_EVENT_PAINT 512ULL
#define HOST_EVENT_LAYOUT 635ULL  // Data points at the HOST_RECT to narrow
#define HOST_EVENT_CREATE 2327ULL

// What the hook answers for an event it leaves to the host (2^63 - 32).
#define HOOK_NOT_HANDLED 0x7FFFFFFFFFFFFFE0ULL
