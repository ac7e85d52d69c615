// The host's UI operations. Each logs its call; the ones whose result the
// plug-in relies on answer from the host's objects, images and hooks.
#include "tests/firmware/host/Console.h"
#include "tests/firmware/host/HostFirmware.h"
#include "tests/firmware/host/HostImages.h"
#include "tests/firmware/host/HostSlotList.h"
#include "tests/firmware/host/HostTables.h"
#include "tests/firmware/host/SlotTraps.h"

namespace {

constexpr UINT64 kObjectHandleBase = 0x0B1E00000000ULL;
constexpr UINT64 kDrawContextBase = 0xDC0000ULL;
constexpr UINT16 kFirstHookHandle = 0x31;

constexpr UINT64 kRequestText = 615;
constexpr UINT64 kRequestSelectedIndex = 1550;
constexpr UINT64 kRequestHasPicture = 852269;

constexpr UINTN kObjectCapacity = 128;
constinit HOST_OBJECT mObjects[kObjectCapacity] = {};
constinit UINTN mObjectCount = 0;
constinit HOST_STATE mState = {};
// The table the record points at: filled by the host's own slot numbers.
constinit VOID *mUiSlots[REFERENCE_HOST_UI_TABLE_SLOTS] = {};
constinit THEME_PROVIDER_PROTOCOL *mActiveRecord = nullptr;

// The font record GetObjectFont hands out; the plug-in reads the UINT32 at byte 8.
struct HOST_FONT {
  UINT64 Header;
  UINT32 FontValue;
  UINT32 Reserved;
};
constinit HOST_FONT mFont = {0x544E4F46ULL, 0x00180010u, 0};

UINT64 U(const VOID *Pointer) { return reinterpret_cast<UINT64>(Pointer); }

// The host's operations, one per listed slot and named as the slot. Each
// takes every argument of its slot, whether this host needs it or not.
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wunused-parameter"
namespace serve {

UINTN SetObjectAttribute(UINT64 Object, UINT64 Code, UINT64 First, UINT64 Second) {
  if (HOST_OBJECT *Found = FindHostObject(Object)) {
    Found->Attributes++;
  }
  return 0;
}

UINT64 ObjectRequest(UINT64 Object, UINT64 Code, UINT64 Index, UINT64 Value) {
  HOST_OBJECT *Found = FindHostObject(Object);
  if (Found == nullptr) {
    return 0;
  }
  Found->Requests++;
  switch (Code) {
    case kRequestText:
      return U(Found->Text);
    case kRequestSelectedIndex:
      return Found->SelectedIndex;
    case kRequestHasPicture:
      return Found->HasPicture;
    default:
      return 0;
  }
}

UINTN ApplyDecoration(DECORATION_DESC *) {
  mState.DecorationsApplied++;
  return 0;
}

UINTN SetObjectArea(UINT64 Object, UINT64, OBJECT_AREA *Area, UINT64) {
  HOST_OBJECT *Found = FindHostObject(Object);
  if (Found != nullptr && Area != nullptr) {
    Found->AreaHorizontal = Area->Horizontal;
    Found->AreaVertical = Area->Vertical;
    Found->AreaWrites++;
  }
  return 0;
}

UINT16 GetObjectTag(UINT64 Object) {
  const HOST_OBJECT *Found = FindHostObject(Object);
  return Found != nullptr ? Found->Tag : 0;
}

UINT64 GetObjectParent(UINT64 Object) {
  const HOST_OBJECT *Found = FindHostObject(Object);
  return Found != nullptr ? Found->Parent : 0;
}

UINTN GetObjectArea(UINT64 Object, VOID *Area) {
  const HOST_OBJECT *Found = FindHostObject(Object);
  if (Found != nullptr && Area != nullptr) {
    const INT32 Values[2] = {Found->AreaHorizontal, Found->AreaVertical};
    CopyBytes(Area, Values, sizeof(Values));
  }
  return 0;
}

UINTN GetObjectRect(UINT64 Object, HOST_RECT *Rect) {
  const HOST_OBJECT *Found = FindHostObject(Object);
  if (Found != nullptr && Rect != nullptr) {
    *Rect = Found->Rect;
  }
  return 0;
}

UINTN QueryObjectValue(UINT64 Object, UINT32 *Value) {
  const HOST_OBJECT *Found = FindHostObject(Object);
  if (Found != nullptr && Value != nullptr) {
    *Value = Found->Value;
  }
  return 0;
}

UINT64 BeginDraw(HOST_EVENT *Event) {
  mState.DrawContextsOpen++;
  mState.DrawContextsOpened++;
  return kDrawContextBase + mState.DrawContextsOpened;
}

UINTN EndDraw(UINT64 Context) {
  if (mState.DrawContextsOpen > 0) {
    mState.DrawContextsOpen--;
  }
  return 0;
}

UINT64 FindChild(UINT64 Object, UINT32 Identifier) {
  for (UINTN Index = 0; Index < mObjectCount; Index++) {
    if (mObjects[Index].Parent == Object && mObjects[Index].ObjectId == Identifier) {
      return mObjects[Index].Handle;
    }
  }
  return 0;
}

UINT64 CreateObject(UINT32 Kind, UINT64 Parent, INT32 X, INT32 Y, INT32 Width, INT32 Height) {
  const UINT64 Handle = CreateHostObject(0, 0, 0, Parent);
  if (HOST_OBJECT *Created = FindHostObject(Handle)) {
    Created->Kind = Kind;
    Created->Rect = HOST_RECT{X, Y, X + Width, Y + Height};
  }
  return Handle;
}

THEME_IMAGE *GetImage(UINT32 HostImageId) {
  return ResolveHostImage(HostImageId);
}

THEME_IMAGE *GetImageSlot(UINT32 HostImageId) {
  return HostImageSlot(HostImageId);
}

UINTN AllocImage(THEME_IMAGE *Image, UINT32 Width, UINT32 Height) {
  if (Image != nullptr) {
    AllocateImagePixels(Image, Width, Height);
  }
  return 0;
}

UINTN FreeImage(THEME_IMAGE *Image) {
  if (Image != nullptr) {
    ReleaseImage(Image);
  }
  return 0;
}

UINTN CopyImageInto(THEME_IMAGE *Destination, THEME_IMAGE *Source) {
  if (Destination != nullptr && Source != nullptr) {
    DuplicateImage(Destination, Source);
  }
  return 0;
}

UINTN CopyImage(THEME_IMAGE *Destination, THEME_IMAGE *Source) {
  if (Destination != nullptr && Source != nullptr) {
    DuplicateImage(Destination, Source);
  }
  return 0;
}

UINTN BlitImage(THEME_IMAGE *Destination, THEME_IMAGE *Source, INT32 DestX, INT32 DestY, INT32 SourceX,
                       INT32 SourceY, INT32 Width, INT32 Height, UINT32 Zero, VOID *Null) {
  (void)Zero;
  (void)Null;
  if (Destination != nullptr && Source != nullptr) {
    BlitImagePixels(Destination, Source, DestX, DestY, SourceX, SourceY, Width, Height);
  }
  return 0;
}

UINTN FillImage(THEME_IMAGE *Image, HOST_RECT *Rect, UINT32 Argb) {
  if (Image != nullptr) {
    FillImagePixels(Image, Rect, Argb);
  }
  return 0;
}

UINTN DrawImageAt(UINT64 Context, THEME_IMAGE *Image, INT32 X, INT32 Y, UINT32 Flag) {
  return 0;
}

UINTN SetTextStyle(UINT64 Context, UINT32 Zero, UINT32 Font, UINT32 Argb) {
  return 0;
}

UINTN DrawText(UINT64 Context, INT32 X, INT32 Y, CHAR16 *Text) {
  return 0;
}

// Text is measured at a fixed 8 pixels a character, 16 high.
UINTN MeasureText(UINT64 Context, CHAR16 *Text, VOID *Size) {
  UINT32 Length = 0;
  while (Text != nullptr && Text[Length] != 0 && Length < 4096) {
    Length++;
  }
  if (Size != nullptr) {
    const UINT32 Measured[2] = {Length * 8, 16};
    CopyBytes(Size, Measured, sizeof(Measured));
  }
  return 0;
}

UINTN DrawImage(UINT64 Context, THEME_IMAGE *Image, HOST_RECT *Rect, UINT32 Flag) {
  return 0;
}

UINTN CopyText(const CHAR16 *Source, CHAR16 *Destination, UINTN Capacity) {
  if (Source == nullptr || Destination == nullptr || Capacity == 0) {
    return 0;
  }
  UINTN Index = 0;
  for (; Index + 1 < Capacity && Source[Index] != 0; Index++) {
    Destination[Index] = Source[Index];
  }
  Destination[Index] = 0;
  return Index;
}

EFI_STATUS ThemeAttached(THEME_PROVIDER_PROTOCOL *Theme) {
  mState.Attached++;
  mState.LastAttached = Theme;
  return EFI_SUCCESS;
}

EFI_STATUS ThemeDetached(THEME_PROVIDER_PROTOCOL *Theme) {
  mState.Detached++;
  mState.LastDetached = Theme;
  return EFI_SUCCESS;
}

UINTN RemoveEventHook(UINT16 Handle) {
  mState.HooksRemoved++;
  if (mState.Hook.Registered && mState.Hook.Handle == Handle) {
    mState.Hook.Registered = FALSE;
  }
  return 0;
}

UINTN AddEventHook(HOST_EVENT_HOOK Hook, UINT32 Group, UINT32 Flags, UINT16 *Handle) {
  const UINT16 NewHandle = (UINT16)(kFirstHookHandle + mState.HooksAdded);
  mState.HooksAdded++;
  mState.Hook = HOST_HOOK_STATE{Hook, Group, Flags, NewHandle, TRUE};
  if (Handle != nullptr) {
    *Handle = NewHandle;
  }
  return NewHandle;
}

VOID *GetObjectFont(UINT64 Object, UINT32 Which) {
  return &mFont;
}

UINT64 CallDefaultHandler(UINT16 Handle, HOST_EVENT *Event) {
  return 0;
}

UINTN SetImageColor(UINT32 HostImageId, UINT32 Mask, UINT32 Argb) {
  mState.ImageTints++;
  return 0;
}

UINTN RefreshImages(VOID) {
  mState.ImagesRefreshed++;
  return 0;
}

UINT32 MakeBrush(THEME_IMAGE *Image, UINT32 Argb, UINT32 Modifier) {
  const UINT32 Brush = HostBrushId(mState.BrushesMade);
  mState.BrushesMade++;
  return Brush;
}

UINTN SetStateBrushes(UINT64 Object, UINT32, STATE_BRUSHES *) {
  if (HOST_OBJECT *Found = FindHostObject(Object)) {
    Found->StateBrushSets++;
  }
  return 0;
}

}  // namespace serve
#pragma clang diagnostic pop
}  // namespace

void SetActiveRecord(THEME_PROVIDER_PROTOCOL *Record) { mActiveRecord = Record; }
THEME_PROVIDER_PROTOCOL *ActiveRecord() { return mActiveRecord; }
const HOST_STATE *HostState() { return &mState; }

UINT64 CreateHostObject(UINT16 Class, UINT16 PartCode, UINT32 ObjectId, UINT64 Parent) {
  if (mObjectCount == kObjectCapacity) {
    return 0;
  }
  HOST_OBJECT &Object = mObjects[mObjectCount++];
  Object = HOST_OBJECT{};
  Object.Handle = kObjectHandleBase + mObjectCount * 0x10;
  Object.Class = Class;
  Object.PartCode = PartCode;
  Object.ObjectId = ObjectId;
  Object.Parent = Parent;
  Object.Rect = HOST_RECT{0, 0, ScaleDesignX(400), ScaleDesignY(60)};
  Object.AreaHorizontal = ScaleDesignX(400);
  Object.AreaVertical = ScaleDesignY(60);
  Object.SelectedIndex = 0xFFFFFFFFu;
  return Object.Handle;
}

HOST_OBJECT *FindHostObject(UINT64 Handle) {
  for (UINTN Index = 0; Index < mObjectCount; Index++) {
    if (mObjects[Index].Handle == Handle) {
      return &mObjects[Index];
    }
  }
  return nullptr;
}

UINTN HostObjectCount() { return mObjectCount; }

// High bits are set, so that a plug-in keeping more than the low 16 bits of
// a BRUSH_ID shows up in what it passes back.
UINT32 HostBrushId(UINTN Ordinal) { return 0x7E000000u | ((0x100u + (UINT32)Ordinal) & 0xFFFF); }

BOOLEAN NameHostValue(UINT64 Value, char *Name, UINTN Capacity) {
  for (UINTN Index = 0; Index < mObjectCount; Index++) {
    if (mObjects[Index].Handle == Value) {
      FormatTextTo(Name, Capacity, "obj%llu", (UINT64)Index + 1);
      return TRUE;
    }
    if (mObjects[Index].Text != nullptr && Value == U(mObjects[Index].Text)) {
      FormatTextTo(Name, Capacity, "text%llu", (UINT64)Index + 1);
      return TRUE;
    }
  }
  if (Value > kDrawContextBase && Value <= kDrawContextBase + mState.DrawContextsOpened) {
    FormatTextTo(Name, Capacity, "ctx%llu", Value - kDrawContextBase);
    return TRUE;
  }
  if (Value == U(mActiveRecord)) {
    FormatTextTo(Name, Capacity, "record");
    return TRUE;
  }
  return NameImage(reinterpret_cast<const VOID *>(Value), Name, Capacity);
}

HOST_UI_TABLE *HostUiTable() {
  static_assert(sizeof(mUiSlots) == sizeof(HOST_UI_TABLE), "the host's table and the record's type agree in size");
  if (mUiSlots[0] == nullptr) {
    FillWithSlotTraps<LogUnlistedSlotCall, kHostTableUi, REFERENCE_HOST_UI_TABLE_SLOTS>(mUiSlots);
#define SERVE_SLOT(Number, Name, Type) \
  mUiSlots[Number] = reinterpret_cast<VOID *>(&LoggedSlot<kHostTableUi, Number, Type>::template Call<&serve::Name>);
    REFERENCE_HOST_UI_SLOTS(SERVE_SLOT)
#undef SERVE_SLOT
  }
  return reinterpret_cast<HOST_UI_TABLE *>(mUiSlots);
}
