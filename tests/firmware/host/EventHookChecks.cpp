#include "tests/firmware/host/EventHookChecks.h"

#include "tests/firmware/host/CallLog.h"
#include "tests/firmware/host/Checks.h"
#include "tests/firmware/host/Console.h"
#include "tests/firmware/host/ExpectedLines.h"
#include "tests/firmware/host/HostImages.h"
#include "tests/firmware/host/HostTables.h"

namespace {

constexpr UINT64 kHookNotHandled = 0x7FFFFFFFFFFFFFE0ULL;
constexpr UINT64 kUntouched = 0x5A5A5A5A5A5A5A5AULL;
constexpr UINT64 kPaint = 512, kLayout = 635, kCreate = 2327;
constexpr UINT32 kTextArgb = 0xFFECEDEE;    // palette colour 47
constexpr UINT32 kHostFontValue = 0x180010;  // what this host's font record holds at byte 8
constexpr UINT32 kMeasuredPerCharacter = 8;  // this host's text measure
constexpr const CHAR16 kItemText[] = u"Boot Options";
constexpr UINT32 kItemTextLength = sizeof(kItemText) / sizeof(kItemText[0]) - 1;
constexpr UINT32 kIconExtent = 1000;

constinit EXPECTED_LINES mExpected = {};

UINT64 Dispatch(UINT64 Code, UINT64 Target, VOID *Data, UINT64 *RecordResult) {
  HOST_EVENT Event = {};
  Event.Target = Target;
  Event.Code = Code;
  Event.Data = Data;
  Event.Result = kUntouched;
  const UINT64 Result = HostState()->Hook.Hook(&Event);
  *RecordResult = Event.Result;
  return Result;
}

void CheckRegistration(const HOST_RUN *Run) {
  const HOST_HOOK_STATE &Hook = HostState()->Hook;
  Check(Hook.Registered && Hook.Group == 21 && Hook.Flags == 0 && InsideDriverImage(Run, (const VOID *)Hook.Hook),
        "event hook registered with (hook, 21, 0)", "registered %u, group %u, flags %u, hook %s the driver image",
        Hook.Registered, Hook.Group, Hook.Flags, InsideDriverImage(Run, (const VOID *)Hook.Hook) ? "inside" : "outside");
}

void CheckUnhandled() {
  const UINT64 Codes[] = {513, 0x100000200ULL};
  for (UINT64 Code : Codes) {
    HOST_RECT Area = {1, 2, 3, 4};
    UINT64 RecordResult = 0;
    const UINTN Mark = CallMark();
    const UINT64 Result = Dispatch(Code, CreateHostObject(2, 0, 0, 0), &Area, &RecordResult);
    char Name[48];
    FormatTextTo(Name, sizeof(Name), "event 0x%llX passed back unhandled", Code);
    Check(Result == kHookNotHandled && RecordResult == kUntouched && CallsSince(Mark) == 0 && Area.Left == 1 &&
              Area.Bottom == 4,
          Name, "result 0x%llX, record result 0x%llX, %llu host call(s)", Result, RecordResult, (UINT64)CallsSince(Mark));
  }
}

void CheckLayout() {
  const INT32 Width = (INT32)ScreenWidth(), Height = (INT32)ScreenHeight();
  HOST_RECT Area = {0, 0, Width, Height};
  const HOST_RECT Narrowed = {ScaleDesignX(56), ScaleDesignY(64), Width - ScaleDesignX(40), Height - ScaleDesignY(64)};
  ClearLines(&mExpected);
  AddLine(&mExpected, "ScaleX(56) -> %d", ScaleDesignX(56));
  AddLine(&mExpected, "ScaleX(40) -> %d", ScaleDesignX(40));
  AddLine(&mExpected, "ScaleY(64) -> %d", ScaleDesignY(64));
  AddLine(&mExpected, "ScaleY(64) -> %d", ScaleDesignY(64));
  UINT64 RecordResult = kUntouched;
  const UINTN Mark = CallMark();
  const UINT64 Result = Dispatch(kLayout, CreateHostObject(2, 0, 0, 0), &Area, &RecordResult);
  CheckCalls("event 635: scaled insets, no default handling", Mark, mExpected.Text);
  Check(Result == 0 && RecordResult == 0 && Area.Left == Narrowed.Left && Area.Top == Narrowed.Top &&
            Area.Right == Narrowed.Right && Area.Bottom == Narrowed.Bottom,
        "event 635 narrows the screen's area", "result %llu, record %llu, {%d, %d, %d, %d} (expected {%d, %d, %d, %d})",
        Result, RecordResult, Area.Left, Area.Top, Area.Right, Area.Bottom, Narrowed.Left, Narrowed.Top,
        Narrowed.Right, Narrowed.Bottom);
}

// A paint event on an object of the host's default size, with text or without.
void CheckPaint(BOOLEAN WithText) {
  const UINT64 Object = CreateHostObject(2, 0, 0, 0);
  const UINTN ObjectNumber = HostObjectCount();
  HOST_OBJECT *Found = FindHostObject(Object);
  Found->Text = WithText ? kItemText : nullptr;
  const HOST_RECT Rect = Found->Rect;
  const UINT64 Context = HostState()->DrawContextsOpened + 1;
  const UINT32 Strip = ImageTable()[44].Width;
  char Picture[32];
  ResolvedImageName(1330, Picture, sizeof(Picture));

  ClearLines(&mExpected);
  AddLine(&mExpected, "CallDefaultHandler(%u, ptr) -> 0", HostState()->Hook.Handle);
  AddLine(&mExpected, "BeginDraw(ptr) -> ctx%llu", Context);
  AddLine(&mExpected, "GetObjectRect(obj%llu, ptr) -> 0", (UINT64)ObjectNumber);
  AddLine(&mExpected, "DrawImageAt(ctx%llu, ThemeImage(44), 0, 0, 1) -> 0", Context);
  AddLine(&mExpected, "GetImage(1330) -> %s", Picture);
  AddLine(&mExpected, "DrawImage(ctx%llu, %s, {%d, %d, %d, %d}, 1) -> 0", Context, Picture, Rect.Left + (INT32)Strip,
          Rect.Top, Rect.Right, Rect.Bottom);
  if (WithText) {
    const UINT32 AreaWidth = (UINT32)(Rect.Right - Rect.Left - (INT32)Strip);
    const UINT32 TextWidth = kItemTextLength * kMeasuredPerCharacter;
    const INT32 Offset = ((INT32)AreaWidth - (INT32)TextWidth) / 2;
    AddLine(&mExpected, "ObjectRequest(obj%llu, 615, 0, 0) -> text%llu", (UINT64)ObjectNumber, (UINT64)ObjectNumber);
    AddLine(&mExpected, "GetObjectFont(obj%llu, 21) -> ptr", (UINT64)ObjectNumber);
    AddLine(&mExpected, "SetTextStyle(ctx%llu, 0, 0x%X, 0x%X) -> 0", Context, kHostFontValue, kTextArgb);
    AddLine(&mExpected, "CopyText(\"Boot Options\", ptr, 80) -> %u", kItemTextLength);
    AddLine(&mExpected, "MeasureText(ctx%llu, \"Boot Options\", ptr) -> 0", Context);
    AddLine(&mExpected, "RectWidth({%d, %d, %d, %d}) -> %u", Rect.Left + (INT32)Strip, Rect.Top, Rect.Right,
            Rect.Bottom, AreaWidth);
    AddLine(&mExpected, "CenterOffset(%u, %u) -> %d", AreaWidth, TextWidth, Offset);
    AddLine(&mExpected, "ScaleY(28) -> %d", ScaleDesignY(28));
    AddLine(&mExpected, "DrawText(ctx%llu, %d, %d, \"Boot Options\") -> 0", Context, Rect.Left + (INT32)Strip + Offset,
            ScaleDesignY(28));
  } else {
    AddLine(&mExpected, "ObjectRequest(obj%llu, 615, 0, 0) -> 0", (UINT64)ObjectNumber);
  }
  AddLine(&mExpected, "EndDraw(ctx%llu) -> 0", Context);

  UINT64 RecordResult = kUntouched;
  const UINTN Mark = CallMark();
  const UINT64 Result = Dispatch(kPaint, Object, nullptr, &RecordResult);
  CheckCalls(WithText ? "event 512: default handling, then strip, picture and centred text"
                      : "event 512 on an object without text: strip and picture only",
             Mark, mExpected.Text);
  Check(Result == 0 && RecordResult == 0 && HostState()->DrawContextsOpen == 0, "event 512 handled, draw closed",
        "result %llu, record %llu, %llu draw context(s) open", Result, RecordResult,
        (UINT64)HostState()->DrawContextsOpen);
}

void CheckCreate() {
  const UINT64 Target = CreateHostObject(2, 0, 0, 0);
  const UINTN TargetNumber = HostObjectCount();
  FindHostObject(Target)->Value = kIconExtent;
  const THEME_IMAGE *Icon = ResolveHostImage(1291);
  char IconName[32];
  ResolvedImageName(1291, IconName, sizeof(IconName));
  const INT32 IconWidth = Icon != nullptr ? (INT32)Icon->Width : 0, IconHeight = Icon != nullptr ? (INT32)Icon->Height : 0;
  const HOST_RECT Child = {(INT32)kIconExtent - ScaleDesignX(IconWidth + 32), ScaleDesignY(24),
                           (INT32)kIconExtent - ScaleDesignX(IconWidth + 32) + ScaleDesignX(IconWidth),
                           ScaleDesignY(24) + ScaleDesignY(IconHeight)};
  const UINTN ChildNumber = TargetNumber + 1;

  ClearLines(&mExpected);
  AddLine(&mExpected, "CallDefaultHandler(%u, ptr) -> 0", HostState()->Hook.Handle);
  AddLine(&mExpected, "GetImage(1291) -> %s", IconName);
  AddLine(&mExpected, "QueryObjectValue(obj%llu, ptr) -> 0", (UINT64)TargetNumber);
  AddLine(&mExpected, "ScaleX(%d) -> %d", IconWidth + 32, ScaleDesignX(IconWidth + 32));
  AddLine(&mExpected, "ScaleY(%d) -> %d", IconHeight, ScaleDesignY(IconHeight));
  AddLine(&mExpected, "ScaleX(%d) -> %d", IconWidth, ScaleDesignX(IconWidth));
  AddLine(&mExpected, "ScaleY(24) -> %d", ScaleDesignY(24));
  AddLine(&mExpected, "CreateObject(0x1900000, obj%llu, %d, %d, %d, %d) -> obj%llu", (UINT64)TargetNumber, Child.Left,
          Child.Top, ScaleDesignX(IconWidth), ScaleDesignY(IconHeight), (UINT64)ChildNumber);
  AddLine(&mExpected, "ObjectRequest(obj%llu, 613, 2, 0) -> 0", (UINT64)ChildNumber);
  AddLine(&mExpected, "ObjectRequest(obj%llu, 1539, 6, 1291) -> 0", (UINT64)ChildNumber);
  AddLine(&mExpected, "ObjectRequest(obj%llu, 1539, 2, 1292) -> 0", (UINT64)ChildNumber);
  AddLine(&mExpected, "ObjectRequest(obj%llu, 1549, 1, 0) -> 0", (UINT64)ChildNumber);

  UINT64 RecordResult = kUntouched;
  const UINTN Mark = CallMark();
  const UINT64 Result = Dispatch(kCreate, Target, nullptr, &RecordResult);
  CheckCalls("event 2327: default handling, then the icon child and its four requests", Mark, mExpected.Text);
  const HOST_CALL *Creation = CallAt(Mark, 7);
  const HOST_OBJECT *Created =
      Creation != nullptr && Creation->Slot == (UINT8)HostUiSlot::CreateObject ? FindHostObject(Creation->Result) : nullptr;
  Check(Result == 0 && RecordResult == 0 && Created != nullptr && Created->Parent == Target &&
            Created->Kind == 0x1900000 && Created->Rect.Left == Child.Left && Created->Rect.Top == Child.Top &&
            Created->Rect.Right == Child.Right && Created->Rect.Bottom == Child.Bottom,
        "event 2327 adds the icon child left of the reported extent", "result %llu, record %llu, child %s", Result,
        RecordResult, Created != nullptr ? "made" : "missing");
}

}  // namespace

void CheckEventHook(const HOST_RUN *Run) {
  if (!HostState()->Hook.Registered) {
    Check(FALSE, "event hook registered with (hook, 21, 0)", "none registered after notify 0");
    return;
  }
  CheckRegistration(Run);
  CheckUnhandled();
  CheckLayout();
  CheckPaint(TRUE);
  CheckPaint(FALSE);
  CheckCreate();
}
