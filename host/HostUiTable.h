// The host's table of UI operations: 64-bit function pointers, slot n at byte
// 8 * n. The host owns the table and writes its address into the theme record;
// the plug-in reads the pointer afresh at every call. Layout only.
#pragma once

#include "host/HostSlotTable.h"
#include "host/HostTypes.h"

struct THEME_PROVIDER_PROTOCOL;
typedef struct THEME_PROVIDER_PROTOCOL THEME_PROVIDER_PROTOCOL;

// The plug-in's event handler as the host calls it; returns the event's result.
typedef UINT64(EFIAPI *HOST_EVENT_HOOK)(HOST_EVENT *Event);

// Slot 7. The host sets attribute Code of Object from First and Second
// (a brush is passed zero-extended). The plug-in ignores the result.
typedef UINTN(EFIAPI *HOST_SET_OBJECT_ATTRIBUTE)(UINT64 Object, UINT64 Code, UINT64 First, UINT64 Second);
// Slot 8. The host carries out request Code on Object with Index and Value.
// The plug-in uses the result for these codes only:
#define HOST_REQUEST_OBJECT_TEXT 615ULL    // the object's text (CHAR16 *), or 0
#define HOST_REQUEST_IMAGE_OFFSET 1550ULL  // an offset into runs of host images, or 0xFFFFFFFF
#define HOST_REQUEST_FLAG 852269ULL        // non-zero when the object's flag is set
typedef UINT64(EFIAPI *HOST_OBJECT_REQUEST)(UINT64 Object, UINT64 Code, UINT64 Index, UINT64 Value);
// Slot 11. The host applies the decoration that Descriptor describes; the
// descriptor is the plug-in's and is read during the call only. Result ignored.
typedef UINTN(EFIAPI *HOST_APPLY_DECORATION)(DECORATION_DESC *Descriptor);
// Slot 29. The host writes Object's area record from Area, the plug-in's own
// copy; the plug-in passes 0 as Which and Flags. Result ignored.
typedef UINTN(EFIAPI *HOST_SET_OBJECT_AREA)(UINT64 Object, UINT64 Which, OBJECT_AREA *Area, UINT64 Flags);
// Slot 32. Returns the host's 16-bit tag of Object, which the plug-in uses.
typedef UINT16(EFIAPI *HOST_GET_OBJECT_TAG)(UINT64 Object);
// Slot 34. Returns the parent object of Object, which the plug-in uses.
typedef UINT64(EFIAPI *HOST_GET_OBJECT_PARENT)(UINT64 Object);
// Slot 45. The host writes at least two INT32 (horizontal, vertical) into the
// plug-in's buffer at Area; the plug-in reads them, not the result.
typedef UINTN(EFIAPI *HOST_GET_OBJECT_AREA)(UINT64 Object, VOID *Area);
// Slot 46. The host fills the plug-in's Rect with Object's rectangle in
// pixels; the plug-in reads the rectangle, not the result.
typedef UINTN(EFIAPI *HOST_GET_OBJECT_RECT)(UINT64 Object, HOST_RECT *Rect);
// Slot 47. The host writes one UINT32 of Object at the plug-in's Value; the
// plug-in reads it, not the result.
typedef UINTN(EFIAPI *HOST_QUERY_OBJECT_VALUE)(UINT64 Object, UINT32 *Value);
// Slot 48. Opens a draw context for the host's Event, passed on whole.
// The plug-in uses the result: the context, 0 when none was opened.
typedef UINT64(EFIAPI *HOST_BEGIN_DRAW)(HOST_EVENT *Event);
// Slot 49. Closes a Context that BeginDraw opened. Result ignored.
typedef UINTN(EFIAPI *HOST_END_DRAW)(UINT64 Context);
// Slot 68. Returns the child of Object with Identifier (the plug-in passes
// the result on unchecked).
typedef UINT64(EFIAPI *HOST_FIND_CHILD)(UINT64 Object, UINT32 Identifier);
// Slot 76. Creates a host object of Kind under Parent at the given pixel
// rectangle; returns it, and the plug-in uses it.
typedef UINT64(EFIAPI *HOST_CREATE_OBJECT)(UINT32 Kind, UINT64 Parent, INT32 X, INT32 Y, INT32 Width, INT32 Height);
// Slot 95. Returns the host-owned image in effect for HostImageId, or null;
// the plug-in uses it as it comes.
typedef THEME_IMAGE *(EFIAPI *HOST_GET_IMAGE)(UINT32 HostImageId);
// Slot 97. Returns the host's writable record kept under HostImageId, which
// the plug-in may overwrite; all 32 bytes.
typedef THEME_IMAGE *(EFIAPI *HOST_GET_IMAGE_SLOT)(UINT32 HostImageId);
// Slot 100. Gives the host-owned Image new pixel storage of Width x Height
// and sets its size. Result ignored.
typedef UINTN(EFIAPI *HOST_ALLOC_IMAGE)(THEME_IMAGE *Image, UINT32 Width, UINT32 Height);
// Slot 101. Releases Image's pixel storage. Result ignored.
typedef UINTN(EFIAPI *HOST_FREE_IMAGE)(THEME_IMAGE *Image);
// Slot 104. Makes Destination a copy of Source, into Destination's existing
// storage. Result ignored.
typedef UINTN(EFIAPI *HOST_COPY_IMAGE_INTO)(THEME_IMAGE *Destination, THEME_IMAGE *Source);
// Slot 106. Makes Destination a copy of Source, storage included. Result
// ignored.
typedef UINTN(EFIAPI *HOST_COPY_IMAGE)(THEME_IMAGE *Destination, THEME_IMAGE *Source);
// Slot 109. Copies the Width x Height block at (SourceX, SourceY) of Source
// to (DestX, DestY) of Destination; the plug-in passes 0 as Flags and null
// as Reserved. Result ignored.
typedef UINTN(EFIAPI *HOST_BLIT_IMAGE)(THEME_IMAGE *Destination, THEME_IMAGE *Source, INT32 DestX, INT32 DestY, INT32 SourceX, INT32 SourceY, INT32 Width, INT32 Height, UINT32 Flags, VOID *Reserved);
// Slot 111. Fills the plug-in's Rect of Image, or all of Image when Rect is
// null, with Argb. Result ignored.
typedef UINTN(EFIAPI *HOST_FILL_IMAGE)(THEME_IMAGE *Image, HOST_RECT *Rect, UINT32 Argb);
// Slot 123. Draws Image at (X, Y) in Context; the plug-in passes 1 as Flags.
// Result ignored.
typedef UINTN(EFIAPI *HOST_DRAW_IMAGE_AT)(UINT64 Context, THEME_IMAGE *Image, INT32 X, INT32 Y, UINT32 Flags);
// Slot 131. Selects Font and Argb for later text in Context; the plug-in
// passes 0 as Flags. Result ignored.
typedef UINTN(EFIAPI *HOST_SET_TEXT_STYLE)(UINT64 Context, UINT32 Flags, UINT32 Font, UINT32 Argb);
// Slot 134. Draws the plug-in's zero-terminated Text at (X, Y) in Context.
// Result ignored.
typedef UINTN(EFIAPI *HOST_DRAW_TEXT)(UINT64 Context, INT32 X, INT32 Y, CHAR16 *Text);
// Slot 137. Measures Text in Context and writes a HOST_TEXT_SIZE (8 bytes)
// at the plug-in's Size; the plug-in reads the width.
typedef UINTN(EFIAPI *HOST_MEASURE_TEXT)(UINT64 Context, CHAR16 *Text, VOID *Size);
// Slot 141. Draws Image scaled into the plug-in's Rect in Context; the
// plug-in passes 1 as Flags. Result ignored.
typedef UINTN(EFIAPI *HOST_DRAW_IMAGE)(UINT64 Context, THEME_IMAGE *Image, HOST_RECT *Rect, UINT32 Flags);
// Slot 147. Copies at most Capacity CHAR16 of Source into the plug-in's
// Destination; the plug-in uses the copied text.
typedef UINTN(EFIAPI *HOST_COPY_TEXT)(const CHAR16 *Source, CHAR16 *Destination, UINTN Capacity);
// Slot 150. The plug-in announces its attached Theme record; it returns the
// host's status as its own.
typedef EFI_STATUS(EFIAPI *HOST_THEME_ATTACHED)(THEME_PROVIDER_PROTOCOL *Theme);
// Slot 151. The plug-in announces its detached Theme record; it returns the
// host's status as its own.
typedef EFI_STATUS(EFIAPI *HOST_THEME_DETACHED)(THEME_PROVIDER_PROTOCOL *Theme);
// Slot 153. Removes the hook registered under Handle. Result ignored.
typedef UINTN(EFIAPI *HOST_REMOVE_EVENT_HOOK)(UINT16 Handle);
// Slot 155. Registers Hook for Group with Flags and writes its handle at the
// plug-in's Handle, which the plug-in keeps; the result is ignored.
typedef UINTN(EFIAPI *HOST_ADD_EVENT_HOOK)(HOST_EVENT_HOOK Hook, UINT32 Group, UINT32 Flags, UINT16 *Handle);
// Slot 161. Returns the host's HOST_FONT_RECORD for Which of Object, or
// null; the plug-in reads its Font.
typedef VOID *(EFIAPI *HOST_GET_OBJECT_FONT)(UINT64 Object, UINT32 Which);
// Slot 163. Runs the host's default handling of Event for the hook under
// Handle; the event is passed on whole. Result ignored.
typedef UINT64(EFIAPI *HOST_CALL_DEFAULT_HANDLER)(UINT16 Handle, HOST_EVENT *Event);
// Slot 169. Tints the host's image HostImageId with Argb where Mask allows.
// Result ignored.
typedef UINTN(EFIAPI *HOST_SET_IMAGE_COLOR)(UINT32 HostImageId, UINT32 Mask, UINT32 Argb);
// Slot 173. Lets the host take up the images the plug-in changed. Result
// ignored.
typedef UINTN(EFIAPI *HOST_REFRESH_IMAGES)(VOID);
// Slot 180. Makes a brush of Image (host-owned or a theme image entry) or,
// when Image is null, of Argb, with Modifier passed through. The plug-in uses
// the 32-bit result; its low 16 bits are the BRUSH_ID.
typedef UINT32(EFIAPI *HOST_MAKE_BRUSH)(THEME_IMAGE *Image, UINT32 Argb, UINT32 Modifier);
// Slot 182. Applies the plug-in's four Brushes to visual State (0..6) of
// Object; BRUSH_KEEP leaves a position unchanged. Result ignored.
typedef UINTN(EFIAPI *HOST_SET_STATE_BRUSHES)(UINT64 Object, UINT32 State, STATE_BRUSHES *Brushes);

#define HOST_UI_TABLE_SLOT_COUNT 183

typedef struct HOST_UI_TABLE {
  union {
    VOID *Slot[HOST_UI_TABLE_SLOT_COUNT];
#define HOST_UI_SLOT HOST_SLOT_MEMBER
#include "host/HostUiSlots.def"
#undef HOST_UI_SLOT
  };
} HOST_UI_TABLE;
static_assert(sizeof(HOST_UI_TABLE) == 8 * HOST_UI_TABLE_SLOT_COUNT);
#define HOST_UI_SLOT(Number, Name, Type) static_assert(offsetof(HOST_UI_TABLE, Name) == 8 * (Number));
#include "host/HostUiSlots.def"
#undef HOST_UI_SLOT
static_assert(HostSlotsRise(
    {
#define HOST_UI_SLOT(Number, Name, Type) Number,
#include "host/HostUiSlots.def"
#undef HOST_UI_SLOT
    },
    HOST_UI_TABLE_SLOT_COUNT));
