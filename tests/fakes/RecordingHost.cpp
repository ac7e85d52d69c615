#include "fakes/RecordingHost.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "fakes/TraceFormat.h"

namespace {

RecordingHost *gActiveHost = nullptr;

template <typename R>
R FromScript(UINT64 Value) {
  if constexpr (std::is_pointer_v<R>) {
    return reinterpret_cast<R>(static_cast<uintptr_t>(Value));
  } else {
    return static_cast<R>(Value);
  }
}

// Records the call, then answers from the script or from the default.
template <typename R, typename Default>
R Answer(const char *Operation, std::string Line, Default &&MakeDefault) {
  RecordingHost &Host = RecordingHost::Active();
  UINT64 Scripted = 0;
  R Result = Host.TakeScripted(Operation, &Scripted) ? FromScript<R>(Scripted) : MakeDefault();
  Host.Record(Line + " -> " + FormatArgument(Result));
  return Result;
}

RecordingHost &Host() { return RecordingHost::Active(); }

// The host's operations: each records its call and answers from the script
// or with a deterministic default that behaves like a simple host.

UINTN EFIAPI FakeSetObjectAttribute(UINT64 Object, UINT64 Code, UINT64 First, UINT64 Second) {
  return Answer<UINTN>("SetObjectAttribute", FormatCall("SetObjectAttribute", Object, Code, First, Second), [&]() -> UINTN { return 0; });
}
UINT64 EFIAPI FakeObjectRequest(UINT64 Object, UINT64 Code, UINT64 Index, UINT64 Value) {
  return Answer<UINT64>("ObjectRequest", FormatCall("ObjectRequest", Object, Code, Index, Value), [&]() -> UINT64 { return 0; });
}
UINTN EFIAPI FakeApplyDecoration(DECORATION_DESC *Descriptor) {
  return Answer<UINTN>("ApplyDecoration", FormatCall("ApplyDecoration", Descriptor), [&]() -> UINTN { return 0; });
}
UINTN EFIAPI FakeSetObjectArea(UINT64 Object, UINT64 Zero, OBJECT_AREA *Area, UINT64 Zero2) {
  return Answer<UINTN>("SetObjectArea", FormatCall("SetObjectArea", Object, Zero, Area, Zero2), [&]() -> UINTN { return 0; });
}
UINT16 EFIAPI FakeGetObjectTag(UINT64 Object) {
  return Answer<UINT16>("GetObjectTag", FormatCall("GetObjectTag", Object), [&]() -> UINT16 { return 0; });
}
UINT64 EFIAPI FakeGetObjectParent(UINT64 Object) {
  return Answer<UINT64>("GetObjectParent", FormatCall("GetObjectParent", Object), [&]() -> UINT64 { return 0; });
}
UINTN EFIAPI FakeGetObjectArea(UINT64 Object, VOID *Area) {
  return Answer<UINTN>("GetObjectArea", FormatCall("GetObjectArea", Object, Area), [&]() -> UINTN { memset(Area, 0, 8); return 0; });
}
UINTN EFIAPI FakeGetObjectRect(UINT64 Object, HOST_RECT *Rect) {
  return Answer<UINTN>("GetObjectRect", FormatCall("GetObjectRect", Object, Rect), [&]() -> UINTN { *Rect = HOST_RECT{0, 0, 0, 0}; return 0; });
}
UINTN EFIAPI FakeQueryObjectValue(UINT64 Object, UINT32 *Value) {
  return Answer<UINTN>("QueryObjectValue", FormatCall("QueryObjectValue", Object, Value), [&]() -> UINTN { *Value = 0; return 0; });
}
UINT64 EFIAPI FakeBeginDraw(HOST_EVENT *Event) {
  return Answer<UINT64>("BeginDraw", FormatCall("BeginDraw", Event), [&]() -> UINT64 { return 0; });
}
UINTN EFIAPI FakeEndDraw(UINT64 Context) {
  return Answer<UINTN>("EndDraw", FormatCall("EndDraw", Context), [&]() -> UINTN { return 0; });
}
UINT64 EFIAPI FakeFindChild(UINT64 Object, UINT32 Identifier) {
  return Answer<UINT64>("FindChild", FormatCall("FindChild", Object, Identifier), [&]() -> UINT64 { return 0; });
}
UINT64 EFIAPI FakeCreateObject(UINT32 Kind, UINT64 Parent, INT32 X, INT32 Y, INT32 Width, INT32 Height) {
  return Answer<UINT64>("CreateObject", FormatCall("CreateObject", Kind, Parent, X, Y, Width, Height), [&]() -> UINT64 { return 0; });
}
THEME_IMAGE * EFIAPI FakeGetImage(UINT32 HostImageId) {
  return Answer<THEME_IMAGE *>("GetImage", FormatCall("GetImage", HostImageId), [&]() -> THEME_IMAGE * { return Host().FindImage(HostImageId); });
}
THEME_IMAGE * EFIAPI FakeGetImageSlot(UINT32 HostImageId) {
  return Answer<THEME_IMAGE *>("GetImageSlot", FormatCall("GetImageSlot", HostImageId), [&]() -> THEME_IMAGE * { return &Host().Image(HostImageId); });
}
UINTN EFIAPI FakeAllocImage(THEME_IMAGE *Image, UINT32 Width, UINT32 Height) {
  return Answer<UINTN>("AllocImage", FormatCall("AllocImage", Image, Width, Height), [&]() -> UINTN { Image->Width = Width; Image->Height = Height; return 0; });
}
UINTN EFIAPI FakeFreeImage(THEME_IMAGE *Image) {
  return Answer<UINTN>("FreeImage", FormatCall("FreeImage", Image), [&]() -> UINTN { return 0; });
}
UINTN EFIAPI FakeCopyImageInto(THEME_IMAGE *Destination, THEME_IMAGE *Source) {
  return Answer<UINTN>("CopyImageInto", FormatCall("CopyImageInto", Destination, Source), [&]() -> UINTN { return 0; });
}
UINTN EFIAPI FakeCopyImage(THEME_IMAGE *Destination, THEME_IMAGE *Source) {
  return Answer<UINTN>("CopyImage", FormatCall("CopyImage", Destination, Source), [&]() -> UINTN { return 0; });
}
UINTN EFIAPI FakeBlitImage(THEME_IMAGE *Destination, THEME_IMAGE *Source, INT32 DestX, INT32 DestY, INT32 SourceX, INT32 SourceY, INT32 Width, INT32 Height, UINT32 Zero, VOID *Null) {
  return Answer<UINTN>("BlitImage", FormatCall("BlitImage", Destination, Source, DestX, DestY, SourceX, SourceY, Width, Height, Zero, Null), [&]() -> UINTN { return 0; });
}
UINTN EFIAPI FakeFillImage(THEME_IMAGE *Image, HOST_RECT *Rect, UINT32 Argb) {
  return Answer<UINTN>("FillImage", FormatCall("FillImage", Image, Rect, Argb), [&]() -> UINTN { return 0; });
}
UINTN EFIAPI FakeDrawImageAt(UINT64 Context, THEME_IMAGE *Image, INT32 X, INT32 Y, UINT32 Flag) {
  return Answer<UINTN>("DrawImageAt", FormatCall("DrawImageAt", Context, Image, X, Y, Flag), [&]() -> UINTN { return 0; });
}
UINTN EFIAPI FakeSetTextStyle(UINT64 Context, UINT32 Zero, UINT32 Font, UINT32 Argb) {
  return Answer<UINTN>("SetTextStyle", FormatCall("SetTextStyle", Context, Zero, Font, Argb), [&]() -> UINTN { return 0; });
}
UINTN EFIAPI FakeDrawText(UINT64 Context, INT32 X, INT32 Y, CHAR16 *Text) {
  return Answer<UINTN>("DrawText", FormatCall("DrawText", Context, X, Y, Text), [&]() -> UINTN { return 0; });
}
UINTN EFIAPI FakeMeasureText(UINT64 Context, CHAR16 *Text, VOID *Size) {
  return Answer<UINTN>("MeasureText", FormatCall("MeasureText", Context, Text, Size), [&]() -> UINTN { memset(Size, 0, 8); return 0; });
}
UINTN EFIAPI FakeDrawImage(UINT64 Context, THEME_IMAGE *Image, HOST_RECT *Rect, UINT32 Flag) {
  return Answer<UINTN>("DrawImage", FormatCall("DrawImage", Context, Image, Rect, Flag), [&]() -> UINTN { return 0; });
}
UINTN EFIAPI FakeCopyText(const CHAR16 *Source, CHAR16 *Destination, UINTN Capacity) {
  return Answer<UINTN>("CopyText", FormatCall("CopyText", Source, Destination, Capacity), [&]() -> UINTN { return 0; });
}
EFI_STATUS EFIAPI FakeThemeAttached(THEME_PROVIDER_PROTOCOL *Theme) {
  return Answer<EFI_STATUS>("ThemeAttached", FormatCall("ThemeAttached", Theme), [&]() -> EFI_STATUS { return EFI_SUCCESS; });
}
EFI_STATUS EFIAPI FakeThemeDetached(THEME_PROVIDER_PROTOCOL *Theme) {
  return Answer<EFI_STATUS>("ThemeDetached", FormatCall("ThemeDetached", Theme), [&]() -> EFI_STATUS { return EFI_SUCCESS; });
}
UINTN EFIAPI FakeRemoveEventHook(UINT16 Handle) {
  return Answer<UINTN>("RemoveEventHook", FormatCall("RemoveEventHook", Handle), [&]() -> UINTN { return 0; });
}
UINTN EFIAPI FakeAddEventHook(HOST_EVENT_HOOK Hook, UINT32 Group, UINT32 Flags, UINT16 *Handle) {
  return Answer<UINTN>("AddEventHook", FormatCall("AddEventHook", Hook, Group, Flags, Handle), [&]() -> UINTN { return 0; });
}
VOID * EFIAPI FakeGetObjectFont(UINT64 Object, UINT32 Which) {
  return Answer<VOID *>("GetObjectFont", FormatCall("GetObjectFont", Object, Which), [&]() -> VOID * { return nullptr; });
}
UINT64 EFIAPI FakeCallDefaultHandler(UINT16 Handle, HOST_EVENT *Event) {
  return Answer<UINT64>("CallDefaultHandler", FormatCall("CallDefaultHandler", Handle, Event), [&]() -> UINT64 { return 0; });
}
UINTN EFIAPI FakeSetImageColor(UINT32 HostImageId, UINT32 Mask, UINT32 Argb) {
  return Answer<UINTN>("SetImageColor", FormatCall("SetImageColor", HostImageId, Mask, Argb), [&]() -> UINTN { return 0; });
}
UINTN EFIAPI FakeRefreshImages(VOID) {
  return Answer<UINTN>("RefreshImages", FormatCall("RefreshImages"), [&]() -> UINTN { return 0; });
}
UINT32 EFIAPI FakeMakeBrush(THEME_IMAGE *Image, UINT32 Argb, UINT32 Modifier) {
  return Answer<UINT32>("MakeBrush", FormatCall("MakeBrush", Image, Argb, Modifier), [&]() -> UINT32 { return 0; });
}
UINTN EFIAPI FakeSetStateBrushes(UINT64 Object, UINT32 State, STATE_BRUSHES *Brushes) {
  return Answer<UINTN>("SetStateBrushes", FormatCall("SetStateBrushes", Object, State, Brushes), [&]() -> UINTN { return 0; });
}
UINTN EFIAPI FakeZeroBuffer(VOID *Buffer, UINTN Length) {
  return Answer<UINTN>("ZeroBuffer", FormatCall("ZeroBuffer", Buffer, Length), [&]() -> UINTN { memset(Buffer, 0, Length); return 0; });
}
UINTN EFIAPI FakeCopyBuffer(VOID *Destination, const VOID *Source, UINTN Length) {
  return Answer<UINTN>("CopyBuffer", FormatCall("CopyBuffer", Destination, Source, Length), [&]() -> UINTN { memcpy(Destination, Source, Length); return 0; });
}
UINTN EFIAPI FakeSetRect(HOST_RECT *Rect, INT32 Left, INT32 Top, INT32 Right, INT32 Bottom) {
  return Answer<UINTN>("SetRect", FormatCall("SetRect", Rect, Left, Top, Right, Bottom), [&]() -> UINTN { *Rect = HOST_RECT{Left, Top, Right, Bottom}; return 0; });
}
UINTN EFIAPI FakeAdjustRect(VOID *Pointer, UINTN Zero, UINTN Twelve) {
  return Answer<UINTN>("AdjustRect", FormatCall("AdjustRect", Pointer, Zero, Twelve), [&]() -> UINTN { return 0; });
}
UINTN EFIAPI FakeInflateRect(HOST_RECT *Rect, INT32 Dx, INT32 Dy) {
  return Answer<UINTN>("InflateRect", FormatCall("InflateRect", Rect, Dx, Dy), [&]() -> UINTN { *Rect = HOST_RECT{Rect->Left - Dx, Rect->Top - Dy, Rect->Right + Dx, Rect->Bottom + Dy}; return 0; });
}
UINT32 EFIAPI FakeRectWidth(HOST_RECT *Rect) {
  return Answer<UINT32>("RectWidth", FormatCall("RectWidth", Rect), [&]() -> UINT32 { return static_cast<UINT32>(Rect->Right - Rect->Left); });
}
INT32 EFIAPI FakeCenterOffset(UINT32 Outer, UINT32 Inner) {
  return Answer<INT32>("CenterOffset", FormatCall("CenterOffset", Outer, Inner), [&]() -> INT32 { return (static_cast<INT32>(Outer) - static_cast<INT32>(Inner)) / 2; });
}
UINTN EFIAPI FakeScaleRect(VOID *Destination, const THEME_RECT *Design) {
  return Answer<UINTN>("ScaleRect", FormatCall("ScaleRect", Destination, Design), [&]() -> UINTN { *static_cast<HOST_RECT *>(Destination) = HOST_RECT{Design->X, Design->Y, Design->X + Design->Width, Design->Y + Design->Height}; return 0; });
}
INT32 EFIAPI FakeScaleX(INT32 DesignUnits) {
  return Answer<INT32>("ScaleX", FormatCall("ScaleX", DesignUnits), [&]() -> INT32 { return DesignUnits; });
}
INT32 EFIAPI FakeScaleY(INT32 DesignUnits) {
  return Answer<INT32>("ScaleY", FormatCall("ScaleY", DesignUnits), [&]() -> INT32 { return DesignUnits; });
}
template <UINTN Slot>
UINTN EFIAPI UnexpectedSlot() {
  ADD_FAILURE() << "the plug-in called unlisted host slot " << Slot;
  return 0;
}

template <UINTN... Slots>
void FillWithTraps(VOID **Table, std::index_sequence<Slots...>) {
  ((Table[Slots] = reinterpret_cast<VOID *>(&UnexpectedSlot<Slots>)), ...);
}

}  // namespace

RecordingHost::RecordingHost() : Ui{}, Services{}, ImageTable{} {
  EXPECT_EQ(gActiveHost, nullptr) << "one recording host at a time";
  gActiveHost = this;
  FillWithTraps(reinterpret_cast<VOID **>(&Ui), std::make_index_sequence<HOST_UI_TABLE_SLOT_COUNT>());
  FillWithTraps(reinterpret_cast<VOID **>(&Services), std::make_index_sequence<HOST_SERVICES_TABLE_SLOT_COUNT>());
  Ui.SetObjectAttribute = FakeSetObjectAttribute;
  Ui.ObjectRequest = FakeObjectRequest;
  Ui.ApplyDecoration = FakeApplyDecoration;
  Ui.SetObjectArea = FakeSetObjectArea;
  Ui.GetObjectTag = FakeGetObjectTag;
  Ui.GetObjectParent = FakeGetObjectParent;
  Ui.GetObjectArea = FakeGetObjectArea;
  Ui.GetObjectRect = FakeGetObjectRect;
  Ui.QueryObjectValue = FakeQueryObjectValue;
  Ui.BeginDraw = FakeBeginDraw;
  Ui.EndDraw = FakeEndDraw;
  Ui.FindChild = FakeFindChild;
  Ui.CreateObject = FakeCreateObject;
  Ui.GetImage = FakeGetImage;
  Ui.GetImageSlot = FakeGetImageSlot;
  Ui.AllocImage = FakeAllocImage;
  Ui.FreeImage = FakeFreeImage;
  Ui.CopyImageInto = FakeCopyImageInto;
  Ui.CopyImage = FakeCopyImage;
  Ui.BlitImage = FakeBlitImage;
  Ui.FillImage = FakeFillImage;
  Ui.DrawImageAt = FakeDrawImageAt;
  Ui.SetTextStyle = FakeSetTextStyle;
  Ui.DrawText = FakeDrawText;
  Ui.MeasureText = FakeMeasureText;
  Ui.DrawImage = FakeDrawImage;
  Ui.CopyText = FakeCopyText;
  Ui.ThemeAttached = FakeThemeAttached;
  Ui.ThemeDetached = FakeThemeDetached;
  Ui.RemoveEventHook = FakeRemoveEventHook;
  Ui.AddEventHook = FakeAddEventHook;
  Ui.GetObjectFont = FakeGetObjectFont;
  Ui.CallDefaultHandler = FakeCallDefaultHandler;
  Ui.SetImageColor = FakeSetImageColor;
  Ui.RefreshImages = FakeRefreshImages;
  Ui.MakeBrush = FakeMakeBrush;
  Ui.SetStateBrushes = FakeSetStateBrushes;
  Services.ZeroBuffer = FakeZeroBuffer;
  Services.CopyBuffer = FakeCopyBuffer;
  Services.SetRect = FakeSetRect;
  Services.AdjustRect = FakeAdjustRect;
  Services.InflateRect = FakeInflateRect;
  Services.RectWidth = FakeRectWidth;
  Services.CenterOffset = FakeCenterOffset;
  Services.ScaleRect = FakeScaleRect;
  Services.ScaleX = FakeScaleX;
  Services.ScaleY = FakeScaleY;
}

RecordingHost::~RecordingHost() { gActiveHost = nullptr; }

RecordingHost &RecordingHost::Active() {
  if (gActiveHost == nullptr) {
    ADD_FAILURE() << "a host table was called with no recording host";
    abort();
  }
  return *gActiveHost;
}

void RecordingHost::AttachTo(THEME_PROVIDER_PROTOCOL *Record) {
  Record->ImageTable = ImageTable;
  Record->UiTable = &Ui;
  Record->ServiceTable = &Services;
}

void RecordingHost::Script(const std::string &Operation, std::initializer_list<UINT64> Results) {
  auto &Queue = Scripted_[Operation];
  Queue.insert(Queue.end(), Results.begin(), Results.end());
}

bool RecordingHost::TakeScripted(const char *Operation, UINT64 *Result) {
  auto Found = Scripted_.find(Operation);
  if (Found == Scripted_.end() || Found->second.empty()) {
    return false;
  }
  *Result = Found->second.front();
  Found->second.pop_front();
  return true;
}

THEME_IMAGE &RecordingHost::Image(UINT32 HostImageId) { return Images_[HostImageId]; }

THEME_IMAGE *RecordingHost::FindImage(UINT32 HostImageId) {
  auto Found = Images_.find(HostImageId);
  return Found == Images_.end() ? nullptr : &Found->second;
}
