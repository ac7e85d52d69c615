// The two items the theme draws itself, each after the host's own handling
// of the event: a painted item (strip, picture, centred text) and an icon
// child added to a newly created object. Host operations only, no state.
#include "data/ThemeQueries.h"
#include "host/HostAccess.h"
#include "platform/WrappingMath.h"
#include "screen/Screen.h"

namespace {

constexpr UINT32 kStripThemeImage = 44;  // drawn at the origin; the rest lies right of it
constexpr UINT32 kPictureImage = 1330;
constexpr UINT32 kDrawFlag = 1;

constexpr UINT32 kFontOfObject = 21;
constexpr INT32 kTextColor = 47;
constexpr INT32 kTextTop = 28;  // design units from the top of the screen

// The host copies at most this many CHAR16 of an object's text, its
// terminator included. The buffer holds one more element that stays zero,
// so the text ends inside the buffer whatever the copy leaves behind.
constexpr UINTN kTextCapacity = 80;

constexpr UINT32 kIconImage = 1291;
constexpr UINT32 kIconChildKind = 0x1900000;
constexpr INT32 kIconRightGap = 32;  // design units between the icon and the reported extent
constexpr INT32 kIconTop = 24;       // design units

typedef struct {
  UINT16 Code;
  UINT16 Index;
  UINT16 Value;
} OBJECT_REQUEST;

// Sent to the new icon child, in this order; 1291 and 1292 are host image ids.
constexpr OBJECT_REQUEST kIconChildRequests[] = {
    { 613, 2,    0},
    {1539, 6, 1291},
    {1539, 2, 1292},
    {1549, 1,    0},
};

// The object's text centred across Area, at a fixed height. Without a
// font record from the host the text is left out.
void DrawObjectText(UINT64 Context, UINT64 Object, const CHAR16 *Text, HOST_RECT *Area) {
  const auto *Font = static_cast<const HOST_FONT_RECORD *>(HostUi()->GetObjectFont(Object, kFontOfObject));
  if (Font == nullptr) {
    return;
  }
  const UINT32 Color = ThemeColor(kTextColor);
  HostUi()->SetTextStyle(Context, 0, Font->Font, Color);
  CHAR16 Buffer[kTextCapacity + 1] = {};
  HostUi()->CopyText(Text, Buffer, kTextCapacity);
  HOST_TEXT_SIZE Size = {};
  HostUi()->MeasureText(Context, Buffer, &Size);
  const UINT32 AreaWidth = HostServices()->RectWidth(Area);
  const INT32 Offset = HostServices()->CenterOffset(AreaWidth, Size.Width);
  const INT32 Top = HostServices()->ScaleY(kTextTop);
  HostUi()->DrawText(Context, WrappingAdd(Area->Left, Offset), Top, Buffer);
}

}  // namespace

void PaintCustomItem(HOST_EVENT *Event) {
  const UINT64 Context = HostUi()->BeginDraw(Event);
  if (Context == 0) {
    return;
  }
  const UINT64 Object = Event->Target;
  HOST_RECT Area = {};
  HostUi()->GetObjectRect(Object, &Area);
  THEME_IMAGE *Strip = ThemeImageEntry(kStripThemeImage);
  HostUi()->DrawImageAt(Context, Strip, 0, 0, kDrawFlag);
  Area.Left = WrappingAdd(Area.Left, (INT32)Strip->Width);
  if (THEME_IMAGE *Picture = HostUi()->GetImage(kPictureImage)) {
    HostUi()->DrawImage(Context, Picture, &Area, kDrawFlag);
  }
  const UINT64 Text = HostUi()->ObjectRequest(Object, HOST_REQUEST_OBJECT_TEXT, 0, 0);
  if (Text != 0) {
    DrawObjectText(Context, Object, reinterpret_cast<const CHAR16 *>(Text), &Area);
  }
  HostUi()->EndDraw(Context);
}

void AddIconChild(UINT64 Target) {
  const THEME_IMAGE *Icon = HostUi()->GetImage(kIconImage);
  if (Icon == nullptr) {
    return;
  }
  UINT32 Extent = 0;
  HostUi()->QueryObjectValue(Target, &Extent);
  const INT32 RightGap = HostServices()->ScaleX((INT32)(Icon->Width + kIconRightGap));
  const INT32 Height = HostServices()->ScaleY((INT32)Icon->Height);
  const INT32 Width = HostServices()->ScaleX((INT32)Icon->Width);
  const INT32 Top = HostServices()->ScaleY(kIconTop);
  const INT32 Left = WrappingSub((INT32)Extent, RightGap);
  const UINT64 Child = HostUi()->CreateObject(kIconChildKind, Target, Left, Top, Width, Height);
  if (Child == 0) {
    return;
  }
  for (const OBJECT_REQUEST &Request : kIconChildRequests) {
    HostUi()->ObjectRequest(Child, Request.Code, Request.Index, Request.Value);
  }
}
