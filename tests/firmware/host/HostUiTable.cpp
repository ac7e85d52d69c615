// The host's UI operations. Each logs its call; the ones whose result the
// plug-in relies on answer from the host's objects, images and hooks.
#include "tests/firmware/host/CallLog.h"
#include "tests/firmware/host/HostFirmware.h"
#include "tests/firmware/host/HostImages.h"
#include "tests/firmware/host/HostTables.h"
#include "tests/firmware/host/SlotTraps.h"

namespace {

constexpr UINT64 ObjectHandleBase = 0x0B1E00000000ULL;
constexpr UINT64 DrawContextBase = 0xDC0000ULL;
constexpr UINT16 FirstHookHandle = 0x31;
// MakeBrush sets high bits, so that a plug-in keeping more than the low 16
// bits of a BRUSH_ID shows up in what it passes back.
constexpr UINT32 BrushHighBits = 0x7E000000u;
constexpr UINT32 FirstBrushId = 0x100;

constexpr UINT64 RequestText = 615;
constexpr UINT64 RequestSelectedIndex = 1550;
constexpr UINT64 RequestHasPicture = 852269;

constexpr UINTN ObjectCapacity = 128;
constinit HOST_OBJECT mObjects[ObjectCapacity] = {};
constinit UINTN mObjectCount = 0;
constinit HOST_STATE mState = {};
constinit HOST_UI_TABLE mUiTable = {};
constinit THEME_PROVIDER_PROTOCOL *mActiveRecord = nullptr;

// The font record GetObjectFont hands out; the plug-in reads the UINT32 at byte 8.
struct HOST_FONT {
  UINT64 Header;
  UINT32 FontValue;
  UINT32 Reserved;
};
constinit HOST_FONT mFont = {0x544E4F46ULL, 0x00180010u, 0};

UINT64 U(const VOID *Pointer) { return reinterpret_cast<UINT64>(Pointer); }

UINTN EFIAPI SetObjectAttribute(UINT64 Object, UINT64 Code, UINT64 First, UINT64 Second) {
  LogCall(HostTableUi, 7, Object, Code, First, Second);
  if (HOST_OBJECT *Found = FindHostObject(Object)) {
    Found->Attributes++;
  }
  return 0;
}

UINT64 EFIAPI ObjectRequest(UINT64 Object, UINT64 Code, UINT64 Index, UINT64 Value) {
  LogCall(HostTableUi, 8, Object, Code, Index, Value);
  HOST_OBJECT *Found = FindHostObject(Object);
  if (Found == nullptr) {
    return 0;
  }
  Found->Requests++;
  switch (Code) {
    case RequestText:
      return U(Found->Text);
    case RequestSelectedIndex:
      return Found->SelectedIndex;
    case RequestHasPicture:
      return Found->HasPicture;
    default:
      return 0;
  }
}

UINTN EFIAPI ApplyDecoration(DECORATION_DESC *Descriptor) {
  UINT64 Fields[2] = {0, 0};
  if (Descriptor != nullptr) {
    CopyBytes(Fields, Descriptor, sizeof(Fields));
  }
  LogCall(HostTableUi, 11, U(Descriptor), Fields[0], Fields[1]);
  mState.DecorationsApplied++;
  return 0;
}

UINTN EFIAPI SetObjectArea(UINT64 Object, UINT64 Zero, OBJECT_AREA *Area, UINT64 Zero2) {
  INT32 Values[2] = {0, 0};
  if (Area != nullptr) {
    CopyBytes(Values, Area, sizeof(Values));
  }
  LogCall(HostTableUi, 29, Object, Zero, (UINT32)Values[0] | ((UINT64)(UINT32)Values[1] << 32), Zero2);
  if (HOST_OBJECT *Found = FindHostObject(Object)) {
    Found->AreaHorizontal = Values[0];
    Found->AreaVertical = Values[1];
    Found->AreaWrites++;
  }
  return 0;
}

UINT16 EFIAPI GetObjectTag(UINT64 Object) {
  LogCall(HostTableUi, 32, Object);
  const HOST_OBJECT *Found = FindHostObject(Object);
  return Found != nullptr ? Found->Tag : 0;
}

UINT64 EFIAPI GetObjectParent(UINT64 Object) {
  LogCall(HostTableUi, 34, Object);
  const HOST_OBJECT *Found = FindHostObject(Object);
  return Found != nullptr ? Found->Parent : 0;
}

UINTN EFIAPI GetObjectArea(UINT64 Object, VOID *Area) {
  LogCall(HostTableUi, 45, Object, U(Area));
  const HOST_OBJECT *Found = FindHostObject(Object);
  if (Found != nullptr && Area != nullptr) {
    const INT32 Values[2] = {Found->AreaHorizontal, Found->AreaVertical};
    CopyBytes(Area, Values, sizeof(Values));
  }
  return 0;
}

UINTN EFIAPI GetObjectRect(UINT64 Object, HOST_RECT *Rect) {
  LogCall(HostTableUi, 46, Object, U(Rect));
  const HOST_OBJECT *Found = FindHostObject(Object);
  if (Found != nullptr && Rect != nullptr) {
    *Rect = Found->Rect;
  }
  return 0;
}

UINTN EFIAPI QueryObjectValue(UINT64 Object, UINT32 *Value) {
  LogCall(HostTableUi, 47, Object, U(Value));
  const HOST_OBJECT *Found = FindHostObject(Object);
  if (Found != nullptr && Value != nullptr) {
    *Value = Found->Value;
  }
  return 0;
}

UINT64 EFIAPI BeginDraw(HOST_EVENT *Event) {
  LogCall(HostTableUi, 48, U(Event));
  mState.DrawContextsOpen++;
  mState.DrawContextsOpened++;
  return DrawContextBase + mState.DrawContextsOpened;
}

UINTN EFIAPI EndDraw(UINT64 Context) {
  LogCall(HostTableUi, 49, Context);
  if (mState.DrawContextsOpen > 0) {
    mState.DrawContextsOpen--;
  }
  return 0;
}

UINT64 EFIAPI FindChild(UINT64 Object, UINT32 Identifier) {
  LogCall(HostTableUi, 68, Object, Identifier);
  for (UINTN Index = 0; Index < mObjectCount; Index++) {
    if (mObjects[Index].Parent == Object && mObjects[Index].ObjectId == Identifier) {
      return mObjects[Index].Handle;
    }
  }
  return 0;
}

UINT64 EFIAPI CreateObject(UINT32 Kind, UINT64 Parent, INT32 X, INT32 Y, INT32 Width, INT32 Height) {
  LogCall(HostTableUi, 76, Kind, Parent, (UINT32)X | ((UINT64)(UINT32)Y << 32),
          (UINT32)Width | ((UINT64)(UINT32)Height << 32));
  const UINT64 Handle = CreateHostObject(0, 0, 0, Parent);
  if (HOST_OBJECT *Created = FindHostObject(Handle)) {
    Created->Kind = Kind;
    Created->Rect = HOST_RECT{X, Y, X + Width, Y + Height};
  }
  return Handle;
}

THEME_IMAGE *EFIAPI GetImage(UINT32 HostImageId) {
  LogCall(HostTableUi, 95, HostImageId);
  return ResolveHostImage(HostImageId);
}

THEME_IMAGE *EFIAPI GetImageSlot(UINT32 HostImageId) {
  LogCall(HostTableUi, 97, HostImageId);
  return HostImageSlot(HostImageId);
}

UINTN EFIAPI AllocImage(THEME_IMAGE *Image, UINT32 Width, UINT32 Height) {
  LogCall(HostTableUi, 100, U(Image), Width, Height);
  if (Image != nullptr) {
    AllocateImagePixels(Image, Width, Height);
  }
  return 0;
}

UINTN EFIAPI FreeImage(THEME_IMAGE *Image) {
  LogCall(HostTableUi, 101, U(Image));
  if (Image != nullptr) {
    ReleaseImage(Image);
  }
  return 0;
}

UINTN EFIAPI CopyImageInto(THEME_IMAGE *Destination, THEME_IMAGE *Source) {
  LogCall(HostTableUi, 104, U(Destination), U(Source));
  if (Destination != nullptr && Source != nullptr) {
    DuplicateImage(Destination, Source);
  }
  return 0;
}

UINTN EFIAPI CopyImage(THEME_IMAGE *Destination, THEME_IMAGE *Source) {
  LogCall(HostTableUi, 106, U(Destination), U(Source));
  if (Destination != nullptr && Source != nullptr) {
    DuplicateImage(Destination, Source);
  }
  return 0;
}

UINTN EFIAPI BlitImage(THEME_IMAGE *Destination, THEME_IMAGE *Source, INT32 DestX, INT32 DestY, INT32 SourceX,
                       INT32 SourceY, INT32 Width, INT32 Height, UINT32 Zero, VOID *Null) {
  LogCall(HostTableUi, 109, U(Destination), U(Source), (UINT32)SourceX | ((UINT64)(UINT32)SourceY << 32),
          (UINT32)Width | ((UINT64)(UINT32)Height << 32));
  (void)Zero;
  (void)Null;
  if (Destination != nullptr && Source != nullptr) {
    BlitImagePixels(Destination, Source, DestX, DestY, SourceX, SourceY, Width, Height);
  }
  return 0;
}

UINTN EFIAPI FillImage(THEME_IMAGE *Image, HOST_RECT *Rect, UINT32 Argb) {
  LogCall(HostTableUi, 111, U(Image), U(Rect), Argb);
  if (Image != nullptr) {
    FillImagePixels(Image, Rect, Argb);
  }
  return 0;
}

UINTN EFIAPI DrawImageAt(UINT64 Context, THEME_IMAGE *Image, INT32 X, INT32 Y, UINT32 Flag) {
  LogCall(HostTableUi, 123, Context, U(Image), (UINT32)X | ((UINT64)(UINT32)Y << 32), Flag);
  return 0;
}

UINTN EFIAPI SetTextStyle(UINT64 Context, UINT32 Zero, UINT32 Font, UINT32 Argb) {
  LogCall(HostTableUi, 131, Context, Zero, Font, Argb);
  return 0;
}

UINTN EFIAPI DrawText(UINT64 Context, INT32 X, INT32 Y, CHAR16 *Text) {
  LogCall(HostTableUi, 134, Context, (UINT32)X, (UINT32)Y, U(Text));
  return 0;
}

// Text is measured at a fixed 8 pixels a character, 16 high.
UINTN EFIAPI MeasureText(UINT64 Context, CHAR16 *Text, VOID *Size) {
  LogCall(HostTableUi, 137, Context, U(Text), U(Size));
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

UINTN EFIAPI DrawImage(UINT64 Context, THEME_IMAGE *Image, HOST_RECT *Rect, UINT32 Flag) {
  LogCall(HostTableUi, 141, Context, U(Image), U(Rect), Flag);
  return 0;
}

UINTN EFIAPI CopyText(const CHAR16 *Source, CHAR16 *Destination, UINTN Capacity) {
  LogCall(HostTableUi, 147, U(Source), U(Destination), Capacity);
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

EFI_STATUS EFIAPI ThemeAttached(THEME_PROVIDER_PROTOCOL *Theme) {
  LogCall(HostTableUi, 150, U(Theme));
  mState.Attached++;
  mState.LastAttached = Theme;
  return EFI_SUCCESS;
}

EFI_STATUS EFIAPI ThemeDetached(THEME_PROVIDER_PROTOCOL *Theme) {
  LogCall(HostTableUi, 151, U(Theme));
  mState.Detached++;
  mState.LastDetached = Theme;
  return EFI_SUCCESS;
}

UINTN EFIAPI RemoveEventHook(UINT16 Handle) {
  LogCall(HostTableUi, 153, Handle);
  mState.HooksRemoved++;
  if (mState.Hook.Registered && mState.Hook.Handle == Handle) {
    mState.Hook.Registered = FALSE;
  }
  return 0;
}

UINTN EFIAPI AddEventHook(HOST_EVENT_HOOK Hook, UINT32 Group, UINT32 Flags, UINT16 *Handle) {
  LogCall(HostTableUi, 155, U(reinterpret_cast<VOID *>(Hook)), Group, Flags, U(Handle));
  const UINT16 NewHandle = (UINT16)(FirstHookHandle + mState.HooksAdded);
  mState.HooksAdded++;
  mState.Hook = HOST_HOOK_STATE{Hook, Group, Flags, NewHandle, TRUE};
  if (Handle != nullptr) {
    *Handle = NewHandle;
  }
  return NewHandle;
}

VOID *EFIAPI GetObjectFont(UINT64 Object, UINT32 Which) {
  LogCall(HostTableUi, 161, Object, Which);
  return &mFont;
}

UINT64 EFIAPI CallDefaultHandler(UINT16 Handle, HOST_EVENT *Event) {
  LogCall(HostTableUi, 163, Handle, U(Event), Event != nullptr ? Event->Code : 0);
  return 0;
}

UINTN EFIAPI SetImageColor(UINT32 HostImageId, UINT32 Mask, UINT32 Argb) {
  LogCall(HostTableUi, 169, HostImageId, Mask, Argb);
  mState.ImageTints++;
  return 0;
}

UINTN EFIAPI RefreshImages(VOID) {
  LogCall(HostTableUi, 173);
  mState.ImagesRefreshed++;
  return 0;
}

UINT32 EFIAPI MakeBrush(THEME_IMAGE *Image, UINT32 Argb, UINT32 Modifier) {
  LogCall(HostTableUi, 180, U(Image), Argb, Modifier);
  const UINT32 Brush = BrushHighBits | ((FirstBrushId + (UINT32)mState.BrushesMade) & 0xFFFF);
  mState.BrushesMade++;
  return Brush;
}

UINTN EFIAPI SetStateBrushes(UINT64 Object, UINT32 State, STATE_BRUSHES *Brushes) {
  UINT64 Packed = 0;
  if (Brushes != nullptr) {
    CopyBytes(&Packed, Brushes, sizeof(Packed));
  }
  LogCall(HostTableUi, 182, Object, State, Packed);
  if (HOST_OBJECT *Found = FindHostObject(Object)) {
    Found->StateBrushSets++;
  }
  return 0;
}

}  // namespace

void SetActiveRecord(THEME_PROVIDER_PROTOCOL *Record) { mActiveRecord = Record; }
THEME_PROVIDER_PROTOCOL *ActiveRecord() { return mActiveRecord; }
const HOST_STATE *HostState() { return &mState; }

UINT64 CreateHostObject(UINT16 Class, UINT16 PartCode, UINT32 ObjectId, UINT64 Parent) {
  if (mObjectCount == ObjectCapacity) {
    return 0;
  }
  HOST_OBJECT &Object = mObjects[mObjectCount++];
  Object = HOST_OBJECT{};
  Object.Handle = ObjectHandleBase + mObjectCount * 0x10;
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

HOST_UI_TABLE *HostUiTable() {
  if (mUiTable.GetImage == nullptr) {
    FillWithSlotTraps<HostTableUi, HOST_UI_TABLE_SLOT_COUNT>(reinterpret_cast<VOID **>(&mUiTable));
    mUiTable.SetObjectAttribute = SetObjectAttribute;
    mUiTable.ObjectRequest = ObjectRequest;
    mUiTable.ApplyDecoration = ApplyDecoration;
    mUiTable.SetObjectArea = SetObjectArea;
    mUiTable.GetObjectTag = GetObjectTag;
    mUiTable.GetObjectParent = GetObjectParent;
    mUiTable.GetObjectArea = GetObjectArea;
    mUiTable.GetObjectRect = GetObjectRect;
    mUiTable.QueryObjectValue = QueryObjectValue;
    mUiTable.BeginDraw = BeginDraw;
    mUiTable.EndDraw = EndDraw;
    mUiTable.FindChild = FindChild;
    mUiTable.CreateObject = CreateObject;
    mUiTable.GetImage = GetImage;
    mUiTable.GetImageSlot = GetImageSlot;
    mUiTable.AllocImage = AllocImage;
    mUiTable.FreeImage = FreeImage;
    mUiTable.CopyImageInto = CopyImageInto;
    mUiTable.CopyImage = CopyImage;
    mUiTable.BlitImage = BlitImage;
    mUiTable.FillImage = FillImage;
    mUiTable.DrawImageAt = DrawImageAt;
    mUiTable.SetTextStyle = SetTextStyle;
    mUiTable.DrawText = DrawText;
    mUiTable.MeasureText = MeasureText;
    mUiTable.DrawImage = DrawImage;
    mUiTable.CopyText = CopyText;
    mUiTable.ThemeAttached = ThemeAttached;
    mUiTable.ThemeDetached = ThemeDetached;
    mUiTable.RemoveEventHook = RemoveEventHook;
    mUiTable.AddEventHook = AddEventHook;
    mUiTable.GetObjectFont = GetObjectFont;
    mUiTable.CallDefaultHandler = CallDefaultHandler;
    mUiTable.SetImageColor = SetImageColor;
    mUiTable.RefreshImages = RefreshImages;
    mUiTable.MakeBrush = MakeBrush;
    mUiTable.SetStateBrushes = SetStateBrushes;
  }
  return &mUiTable;
}
