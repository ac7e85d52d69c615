// The host's table of UI operations: 64-bit function pointers, slot n at byte
// 8 * n. The host owns the table and writes its address into the theme record;
// the plug-in reads the pointer afresh at every call. Layout only.
#pragma once

#include "host/HostTypes.h"

struct THEME_PROVIDER_PROTOCOL;
typedef struct THEME_PROVIDER_PROTOCOL THEME_PROVIDER_PROTOCOL;

// The plug-in's event handler as the host calls it; returns the event's result.
typedef UINT64(EFIAPI *HOST_EVENT_HOOK)(HOST_EVENT *Event);

// Slot 7. Sets attribute Code of Object from two values.
typedef UINTN(EFIAPI *HOST_SET_OBJECT_ATTRIBUTE)(UINT64 Object, UINT64 Code, UINT64 First, UINT64 Second);
// Slot 8. Sends request Code to Object; the result matters for codes 615, 1550 and 852269 only.
typedef UINT64(EFIAPI *HOST_OBJECT_REQUEST)(UINT64 Object, UINT64 Code, UINT64 Index, UINT64 Value);
// Slot 11. Applies the decoration that Descriptor (caller-owned) describes.
typedef UINTN(EFIAPI *HOST_APPLY_DECORATION)(DECORATION_DESC *Descriptor);
// Slot 29. Writes Object's area record from Area (caller-owned).
typedef UINTN(EFIAPI *HOST_SET_OBJECT_AREA)(UINT64 Object, UINT64 Zero, OBJECT_AREA *Area, UINT64 Zero2);
// Slot 32. Returns the 16-bit tag of Object.
typedef UINT16(EFIAPI *HOST_GET_OBJECT_TAG)(UINT64 Object);
// Slot 34. Returns the parent object of Object.
typedef UINT64(EFIAPI *HOST_GET_OBJECT_PARENT)(UINT64 Object);
// Slot 45. Writes at least two INT32 (horizontal, vertical) at Area.
typedef UINTN(EFIAPI *HOST_GET_OBJECT_AREA)(UINT64 Object, VOID *Area);
// Slot 46. Fills Rect with Object's rectangle in pixels.
typedef UINTN(EFIAPI *HOST_GET_OBJECT_RECT)(UINT64 Object, HOST_RECT *Rect);
// Slot 47. Writes one UINT32 of Object at Value.
typedef UINTN(EFIAPI *HOST_QUERY_OBJECT_VALUE)(UINT64 Object, UINT32 *Value);
// Slot 48. Opens a draw context for the event; 0 means none.
typedef UINT64(EFIAPI *HOST_BEGIN_DRAW)(HOST_EVENT *Event);
// Slot 49. Closes a context that BeginDraw opened.
typedef UINTN(EFIAPI *HOST_END_DRAW)(UINT64 Context);
// Slot 68. Returns the child of Object with Identifier.
typedef UINT64(EFIAPI *HOST_FIND_CHILD)(UINT64 Object, UINT32 Identifier);
// Slot 76. Creates a host object of Kind under Parent; returns it.
typedef UINT64(EFIAPI *HOST_CREATE_OBJECT)(UINT32 Kind, UINT64 Parent, INT32 X, INT32 Y, INT32 Width, INT32 Height);
// Slot 95. Returns the image in effect for the id (host-owned), or null.
typedef THEME_IMAGE *(EFIAPI *HOST_GET_IMAGE)(UINT32 HostImageId);
// Slot 97. Returns the host's writable record kept under the id.
typedef THEME_IMAGE *(EFIAPI *HOST_GET_IMAGE_SLOT)(UINT32 HostImageId);
// Slot 100. Gives Image new pixel storage of Width x Height and sets its size.
typedef UINTN(EFIAPI *HOST_ALLOC_IMAGE)(THEME_IMAGE *Image, UINT32 Width, UINT32 Height);
// Slot 101. Releases Image's pixel storage.
typedef UINTN(EFIAPI *HOST_FREE_IMAGE)(THEME_IMAGE *Image);
// Slot 104. Makes Destination a copy of Source.
typedef UINTN(EFIAPI *HOST_COPY_IMAGE_INTO)(THEME_IMAGE *Destination, THEME_IMAGE *Source);
// Slot 106. Makes Destination a copy of Source.
typedef UINTN(EFIAPI *HOST_COPY_IMAGE)(THEME_IMAGE *Destination, THEME_IMAGE *Source);
// Slot 109. Copies a block of Source into Destination.
typedef UINTN(EFIAPI *HOST_BLIT_IMAGE)(THEME_IMAGE *Destination, THEME_IMAGE *Source, INT32 DestX, INT32 DestY, INT32 SourceX, INT32 SourceY, INT32 Width, INT32 Height, UINT32 Zero, VOID *Null);
// Slot 111. Fills Rect of Image, or all of it when Rect is null, with Argb.
typedef UINTN(EFIAPI *HOST_FILL_IMAGE)(THEME_IMAGE *Image, HOST_RECT *Rect, UINT32 Argb);
// Slot 123. Draws Image at (X, Y) in Context.
typedef UINTN(EFIAPI *HOST_DRAW_IMAGE_AT)(UINT64 Context, THEME_IMAGE *Image, INT32 X, INT32 Y, UINT32 Flag);
// Slot 131. Selects font value and colour for later text in Context.
typedef UINTN(EFIAPI *HOST_SET_TEXT_STYLE)(UINT64 Context, UINT32 Zero, UINT32 Font, UINT32 Argb);
// Slot 134. Draws Text at (X, Y) in Context.
typedef UINTN(EFIAPI *HOST_DRAW_TEXT)(UINT64 Context, INT32 X, INT32 Y, CHAR16 *Text);
// Slot 137. Writes 8 bytes at Size, the UINT32 width in pixels first.
typedef UINTN(EFIAPI *HOST_MEASURE_TEXT)(UINT64 Context, CHAR16 *Text, VOID *Size);
// Slot 141. Draws Image into Rect in Context.
typedef UINTN(EFIAPI *HOST_DRAW_IMAGE)(UINT64 Context, THEME_IMAGE *Image, HOST_RECT *Rect, UINT32 Flag);
// Slot 147. Copies at most Capacity CHAR16 of Source into Destination.
typedef UINTN(EFIAPI *HOST_COPY_TEXT)(const CHAR16 *Source, CHAR16 *Destination, UINTN Capacity);
// Slot 150. Announces an attached theme record; returns the host's status.
typedef EFI_STATUS(EFIAPI *HOST_THEME_ATTACHED)(THEME_PROVIDER_PROTOCOL *Theme);
// Slot 151. Announces a detached theme record; returns the host's status.
typedef EFI_STATUS(EFIAPI *HOST_THEME_DETACHED)(THEME_PROVIDER_PROTOCOL *Theme);
// Slot 153. Removes the hook registered under Handle.
typedef UINTN(EFIAPI *HOST_REMOVE_EVENT_HOOK)(UINT16 Handle);
// Slot 155. Registers Hook; writes its handle at Handle.
typedef UINTN(EFIAPI *HOST_ADD_EVENT_HOOK)(HOST_EVENT_HOOK Hook, UINT32 Group, UINT32 Flags, UINT16 *Handle);
// Slot 161. Returns the host's font record; a UINT32 font value lies at byte 8.
typedef VOID *(EFIAPI *HOST_GET_OBJECT_FONT)(UINT64 Object, UINT32 Which);
// Slot 163. Runs the host's default handling of Event.
typedef UINT64(EFIAPI *HOST_CALL_DEFAULT_HANDLER)(UINT16 Handle, HOST_EVENT *Event);
// Slot 169. Tints the host image with Argb.
typedef UINTN(EFIAPI *HOST_SET_IMAGE_COLOR)(UINT32 HostImageId, UINT32 Mask, UINT32 Argb);
// Slot 173. Lets the host take up changed images.
typedef UINTN(EFIAPI *HOST_REFRESH_IMAGES)(VOID);
// Slot 180. Makes a brush of an image or a colour; the low 16 bits are its BRUSH_ID.
typedef UINT32(EFIAPI *HOST_MAKE_BRUSH)(THEME_IMAGE *Image, UINT32 Argb, UINT32 Modifier);
// Slot 182. Applies four brushes to one visual state (0..6) of Object.
typedef UINTN(EFIAPI *HOST_SET_STATE_BRUSHES)(UINT64 Object, UINT32 State, STATE_BRUSHES *Brushes);

typedef struct HOST_UI_TABLE {
  VOID *Slots0To6[7];
  HOST_SET_OBJECT_ATTRIBUTE SetObjectAttribute;
  HOST_OBJECT_REQUEST ObjectRequest;
  VOID *Slots9To10[2];
  HOST_APPLY_DECORATION ApplyDecoration;
  VOID *Slots12To28[17];
  HOST_SET_OBJECT_AREA SetObjectArea;
  VOID *Slots30To31[2];
  HOST_GET_OBJECT_TAG GetObjectTag;
  VOID *Slot33;
  HOST_GET_OBJECT_PARENT GetObjectParent;
  VOID *Slots35To44[10];
  HOST_GET_OBJECT_AREA GetObjectArea;
  HOST_GET_OBJECT_RECT GetObjectRect;
  HOST_QUERY_OBJECT_VALUE QueryObjectValue;
  HOST_BEGIN_DRAW BeginDraw;
  HOST_END_DRAW EndDraw;
  VOID *Slots50To67[18];
  HOST_FIND_CHILD FindChild;
  VOID *Slots69To75[7];
  HOST_CREATE_OBJECT CreateObject;
  VOID *Slots77To94[18];
  HOST_GET_IMAGE GetImage;
  VOID *Slot96;
  HOST_GET_IMAGE_SLOT GetImageSlot;
  VOID *Slots98To99[2];
  HOST_ALLOC_IMAGE AllocImage;
  HOST_FREE_IMAGE FreeImage;
  VOID *Slots102To103[2];
  HOST_COPY_IMAGE_INTO CopyImageInto;
  VOID *Slot105;
  HOST_COPY_IMAGE CopyImage;
  VOID *Slots107To108[2];
  HOST_BLIT_IMAGE BlitImage;
  VOID *Slot110;
  HOST_FILL_IMAGE FillImage;
  VOID *Slots112To122[11];
  HOST_DRAW_IMAGE_AT DrawImageAt;
  VOID *Slots124To130[7];
  HOST_SET_TEXT_STYLE SetTextStyle;
  VOID *Slots132To133[2];
  HOST_DRAW_TEXT DrawText;
  VOID *Slots135To136[2];
  HOST_MEASURE_TEXT MeasureText;
  VOID *Slots138To140[3];
  HOST_DRAW_IMAGE DrawImage;
  VOID *Slots142To146[5];
  HOST_COPY_TEXT CopyText;
  VOID *Slots148To149[2];
  HOST_THEME_ATTACHED ThemeAttached;
  HOST_THEME_DETACHED ThemeDetached;
  VOID *Slot152;
  HOST_REMOVE_EVENT_HOOK RemoveEventHook;
  VOID *Slot154;
  HOST_ADD_EVENT_HOOK AddEventHook;
  VOID *Slots156To160[5];
  HOST_GET_OBJECT_FONT GetObjectFont;
  VOID *Slot162;
  HOST_CALL_DEFAULT_HANDLER CallDefaultHandler;
  VOID *Slots164To168[5];
  HOST_SET_IMAGE_COLOR SetImageColor;
  VOID *Slots170To172[3];
  HOST_REFRESH_IMAGES RefreshImages;
  VOID *Slots174To179[6];
  HOST_MAKE_BRUSH MakeBrush;
  VOID *Slot181;
  HOST_SET_STATE_BRUSHES SetStateBrushes;
} HOST_UI_TABLE;
#define HOST_UI_TABLE_SLOT_COUNT 183
static_assert(sizeof(HOST_UI_TABLE) == 8 * HOST_UI_TABLE_SLOT_COUNT);
static_assert(offsetof(HOST_UI_TABLE, SetObjectAttribute) == 8 * 7);
static_assert(offsetof(HOST_UI_TABLE, ObjectRequest) == 8 * 8);
static_assert(offsetof(HOST_UI_TABLE, ApplyDecoration) == 8 * 11);
static_assert(offsetof(HOST_UI_TABLE, SetObjectArea) == 8 * 29);
static_assert(offsetof(HOST_UI_TABLE, GetObjectTag) == 8 * 32);
static_assert(offsetof(HOST_UI_TABLE, GetObjectParent) == 8 * 34);
static_assert(offsetof(HOST_UI_TABLE, GetObjectArea) == 8 * 45);
static_assert(offsetof(HOST_UI_TABLE, GetObjectRect) == 8 * 46);
static_assert(offsetof(HOST_UI_TABLE, QueryObjectValue) == 8 * 47);
static_assert(offsetof(HOST_UI_TABLE, BeginDraw) == 8 * 48);
static_assert(offsetof(HOST_UI_TABLE, EndDraw) == 8 * 49);
static_assert(offsetof(HOST_UI_TABLE, FindChild) == 8 * 68);
static_assert(offsetof(HOST_UI_TABLE, CreateObject) == 8 * 76);
static_assert(offsetof(HOST_UI_TABLE, GetImage) == 8 * 95);
static_assert(offsetof(HOST_UI_TABLE, GetImageSlot) == 8 * 97);
static_assert(offsetof(HOST_UI_TABLE, AllocImage) == 8 * 100);
static_assert(offsetof(HOST_UI_TABLE, FreeImage) == 8 * 101);
static_assert(offsetof(HOST_UI_TABLE, CopyImageInto) == 8 * 104);
static_assert(offsetof(HOST_UI_TABLE, CopyImage) == 8 * 106);
static_assert(offsetof(HOST_UI_TABLE, BlitImage) == 8 * 109);
static_assert(offsetof(HOST_UI_TABLE, FillImage) == 8 * 111);
static_assert(offsetof(HOST_UI_TABLE, DrawImageAt) == 8 * 123);
static_assert(offsetof(HOST_UI_TABLE, SetTextStyle) == 8 * 131);
static_assert(offsetof(HOST_UI_TABLE, DrawText) == 8 * 134);
static_assert(offsetof(HOST_UI_TABLE, MeasureText) == 8 * 137);
static_assert(offsetof(HOST_UI_TABLE, DrawImage) == 8 * 141);
static_assert(offsetof(HOST_UI_TABLE, CopyText) == 8 * 147);
static_assert(offsetof(HOST_UI_TABLE, ThemeAttached) == 8 * 150);
static_assert(offsetof(HOST_UI_TABLE, ThemeDetached) == 8 * 151);
static_assert(offsetof(HOST_UI_TABLE, RemoveEventHook) == 8 * 153);
static_assert(offsetof(HOST_UI_TABLE, AddEventHook) == 8 * 155);
static_assert(offsetof(HOST_UI_TABLE, GetObjectFont) == 8 * 161);
static_assert(offsetof(HOST_UI_TABLE, CallDefaultHandler) == 8 * 163);
static_assert(offsetof(HOST_UI_TABLE, SetImageColor) == 8 * 169);
static_assert(offsetof(HOST_UI_TABLE, RefreshImages) == 8 * 173);
static_assert(offsetof(HOST_UI_TABLE, MakeBrush) == 8 * 180);
static_assert(offsetof(HOST_UI_TABLE, SetStateBrushes) == 8 * 182);
