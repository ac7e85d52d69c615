#include "tools/preview/DrawingHost.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "host/HostSlotTraps.h"
#include "tools/preview/Font.h"
#include "tools/preview/Notation.h"

namespace preview {

namespace {

DrawingHost *gActiveHost = nullptr;

constexpr UINT32 kLargestImage = 8192;

// The text the custom-drawn item shows, as the host would hold it.
const CHAR16 kCustomItemText[] = u"Custom item";

// The host's font record: the plug-in reads the UINT32 at byte 8.
struct HostFont {
  UINT64 HostOwned;
  UINT32 PixelSize;
  UINT32 Padding;
};

HostFont gCustomItemFont{};

}  // namespace

// ---- pixel work -------------------------------------------------------------

void FillImagePixels(Pixmap &Image, const HOST_RECT *Rect, uint32_t Argb) {
  const HOST_RECT Whole{0, 0, Image.Width, Image.Height};
  const HOST_RECT Area = Rect == nullptr ? Whole : *Rect;
  Canvas(Image).Fill(Area.Left, Area.Top, Area.Right - Area.Left, Area.Bottom - Area.Top, Argb);
}

void BlitPixels(Pixmap &Destination, const Pixmap &Source, int32_t DestX, int32_t DestY, int32_t SourceX,
                int32_t SourceY, int32_t Width, int32_t Height) {
  for (int32_t Row = 0; Row < Height; Row++) {
    for (int32_t Column = 0; Column < Width; Column++) {
      const int32_t FromX = SourceX + Column;
      const int32_t FromY = SourceY + Row;
      const int32_t ToX = DestX + Column;
      const int32_t ToY = DestY + Row;
      if (Source.Contains(FromX, FromY) && Destination.Contains(ToX, ToY)) {
        Destination.Argb[static_cast<size_t>(ToY) * Destination.Width + ToX] = Source.At(FromX, FromY);
      }
    }
  }
}

void RecolourPixels(Pixmap &Image, uint32_t Mask, uint32_t Argb) {
  for (uint32_t &Pixel : Image.Argb) {
    if ((Pixel >> 24) != 0) {
      Pixel = (Pixel & ~Mask) | (Argb & Mask);
    }
  }
}

int32_t ScaleDesign(int32_t DesignUnits, int32_t ScreenExtent, int32_t DesignExtent) {
  const int64_t Scaled = int64_t{DesignUnits} * ScreenExtent;
  const int64_t Half = DesignExtent / 2;
  return static_cast<int32_t>(Scaled >= 0 ? (Scaled + Half) / DesignExtent : -((-Scaled + Half) / DesignExtent));
}

// ---- the host ---------------------------------------------------------------

DrawingHost &DrawingHost::Active() {
  if (gActiveHost == nullptr) {
    fprintf(stderr, "theme-preview: a host table was called with no host active\n");
    abort();
  }
  return *gActiveHost;
}

uint32_t DrawingHost::Store(Pixmap Pixels) {
  Pixels_.push_back(std::move(Pixels));
  return static_cast<uint32_t>(Pixels_.size());
}

THEME_IMAGE DrawingHost::NewImage(const Pixmap &Pixels) {
  THEME_IMAGE Image{};
  Image.Width = static_cast<UINT32>(Pixels.Width);
  Image.Height = static_cast<UINT32>(Pixels.Height);
  const uint32_t Handle = Store(Pixels);
  memcpy(Image.HostOwned1, &Handle, sizeof(Handle));
  return Image;
}

const Pixmap *DrawingHost::PixelsOf(const THEME_IMAGE *Image) const {
  if (Image == nullptr) {
    return nullptr;
  }
  uint32_t Handle = 0;
  memcpy(&Handle, Image->HostOwned1, sizeof(Handle));
  return Handle == 0 || Handle > Pixels_.size() ? nullptr : &Pixels_[Handle - 1];
}

Pixmap *DrawingHost::PixelsOf(const THEME_IMAGE *Image) {
  return const_cast<Pixmap *>(static_cast<const DrawingHost *>(this)->PixelsOf(Image));
}

void DrawingHost::LoadThemeImages(const std::vector<Pixmap> &Images) {
  for (size_t Index = 0; Index < Images.size() && Index + 1 < std::size(ImageTable); Index++) {
    ImageTable[Index + 1] = NewImage(Images[Index]);
  }
}

// A host image the theme does not replace: the host's own artwork, which
// the preview does not have, shown as a hatched stand-in.
THEME_IMAGE *DrawingHost::ImageInEffect(uint32_t HostImageId) {
  const UINTN ThemeId = Record_ != nullptr ? Record_->MapImage(HostImageId) : 0;
  if (ThemeId != 0 && ThemeId < std::size(ImageTable)) {
    return &ImageTable[ThemeId];
  }
  if (auto Found = Slots_.find(HostImageId); Found != Slots_.end()) {
    return &Found->second;
  }
  auto Own = OwnImages_.find(HostImageId);
  if (Own == OwnImages_.end()) {
    Pixmap StandIn(26, 26, 0xFF8A8A8A);
    for (int32_t Y = 0; Y < 26; Y++) {
      for (int32_t X = 0; X < 26; X++) {
        if ((X + Y) % 6 < 2) {
          StandIn.Argb[static_cast<size_t>(Y) * 26 + X] = 0xFFD0D0D0;
        }
      }
    }
    Own = OwnImages_.emplace(HostImageId, NewImage(StandIn)).first;
  }
  return &Own->second;
}

std::vector<uint32_t> DrawingHost::SlotIds() const {
  std::vector<uint32_t> Ids = SlotRequests_;
  std::sort(Ids.begin(), Ids.end());
  Ids.erase(std::unique(Ids.begin(), Ids.end()), Ids.end());
  return Ids;
}

int32_t DrawingHost::ScaleX(int32_t DesignUnits) const { return ScaleDesign(DesignUnits, ScreenWidth_, THEME_DESIGN_WIDTH); }
int32_t DrawingHost::ScaleY(int32_t DesignUnits) const { return ScaleDesign(DesignUnits, ScreenHeight_, THEME_DESIGN_HEIGHT); }

void DrawingHost::BeginStyling(const ObjectAnswers &Answers) {
  Styled_ = StyledObject{};
  LastBrushSet_.clear();
  Brushes_.clear();
  Answers_ = Answers;
  Styling_ = true;
}

const BrushInfo *DrawingHost::FindBrush(uint32_t BrushId) const {
  auto Found = Brushes_.find(BrushId);
  return Found == Brushes_.end() ? nullptr : &Found->second;
}

void DrawingHost::Note(std::string Line) {
  if (Styling_) {
    Styled_.Calls.push_back(std::move(Line));
  } else {
    HostCalls.push_back(std::move(Line));
  }
}

// Calls to the styled object read as in the tables; others name their object.
std::string DrawingHost::ObjectPrefix(uint64_t Object) const {
  return Object == kStyledObjectHandle ? std::string() : ObjectName(Object) + ": ";
}

std::string DrawingHost::ObjectName(uint64_t Object) const {
  switch (Object) {
    case kStyledObjectHandle:
      return "obj";
    case kParentObjectHandle:
      return "parent";
    case kChildObjectHandle:
      return "child";
    case kCustomItemHandle:
      return "item";
    default:
      return Number(Object);
  }
}

// A request or descriptor value: a brush made for this object by its
// notation, a brush shifted into the upper half likewise, else the number.
std::string DrawingHost::BrushNotation(uint64_t Value) const {
  if (Value != 0 && Value <= 0xFFFFFFFF) {
    if (const BrushInfo *Brush = FindBrush(static_cast<uint32_t>(Value))) {
      return Brush->Notation;
    }
  }
  if ((Value & 0xFFFFFFFF) == 0 && Value != 0) {
    if (const BrushInfo *Brush = FindBrush(static_cast<uint32_t>(Value >> 32))) {
      return Brush->Notation + " << 32";
    }
  }
  return Number(Value);
}

// ---- the table functions ------------------------------------------------------

struct DrawingHost::Operations {
  static DrawingHost &H() { return Active(); }

  static UINTN EFIAPI SetObjectAttribute(UINT64 Object, UINT64 Code, UINT64 First, UINT64 Second) {
    H().Note(H().ObjectPrefix(Object) + "Attr(" + Decimal(Code) + ", " + H().BrushNotation(First) + ", " +
             H().BrushNotation(Second) + ")");
    return 0;
  }
  static UINT64 EFIAPI ObjectRequest(UINT64 Object, UINT64 Code, UINT64 Index, UINT64 Value);
  static UINTN EFIAPI ApplyDecoration(DECORATION_DESC *Descriptor) {
    std::string Line = H().ObjectPrefix(Descriptor->Object) + "Deco(" + Decimal(Descriptor->Kind) + ":";
    for (size_t Index = 0; Index < DECORATION_VALUE_COUNT; Index++) {
      Line += (Index == 0 ? " " : ", ") + H().BrushNotation(Descriptor->Value[Index]);
    }
    H().Note(Line + ")");
    return 0;
  }
  static UINTN EFIAPI SetObjectArea(UINT64 Object, UINT64 Zero, OBJECT_AREA *Area, UINT64 Zero2) {
    H().Note(H().ObjectPrefix(Object) + "SetObjectArea(" + Number(Zero) + ", {Horizontal " +
             std::to_string(Area->Horizontal) + ", Vertical " + std::to_string(Area->Vertical) + "}, " +
             Number(Zero2) + ")");
    return 0;
  }
  static UINT16 EFIAPI GetObjectTag(UINT64 Object) {
    H().Note(H().ObjectPrefix(Object) + "GetObjectTag -> " + std::to_string(H().Answers_.Tag));
    return H().Answers_.Tag;
  }
  static UINT64 EFIAPI GetObjectParent(UINT64 Object) {
    H().Note(H().ObjectPrefix(Object) + "GetObjectParent -> parent");
    return kParentObjectHandle;
  }
  static UINTN EFIAPI GetObjectArea(UINT64 Object, VOID *Area) {
    const OBJECT_AREA Answer{H().Answers_.AreaHorizontal, H().Answers_.AreaVertical};
    memcpy(Area, &Answer, sizeof(Answer));
    H().Note(H().ObjectPrefix(Object) + "GetObjectArea -> {Horizontal " + std::to_string(Answer.Horizontal) +
             ", Vertical " + std::to_string(Answer.Vertical) + "}");
    return 0;
  }
  static UINTN EFIAPI GetObjectRect(UINT64 Object, HOST_RECT *Rect) {
    const HOST_RECT &Item = H().CustomItemRect;
    *Rect = HOST_RECT{0, 0, Item.Right - Item.Left, Item.Bottom - Item.Top};
    H().Note("GetObjectRect(" + H().ObjectName(Object) + ") -> " + RectText(*Rect));
    return 0;
  }
  static UINTN EFIAPI QueryObjectValue(UINT64 Object, UINT32 *Value) {
    *Value = static_cast<UINT32>(H().CustomItemRect.Right - H().CustomItemRect.Left);
    H().Note("QueryObjectValue(" + H().ObjectName(Object) + ") -> " + std::to_string(*Value));
    return 0;
  }
  static UINT64 EFIAPI BeginDraw(HOST_EVENT *Event) {
    const UINT64 Context = H().NextContext_++;
    H().Note("BeginDraw(event " + std::to_string(Event->Code) + ") -> ctx");
    return Context;
  }
  static UINTN EFIAPI EndDraw(UINT64) {
    H().Note("EndDraw(ctx)");
    return 0;
  }
  static UINT64 EFIAPI FindChild(UINT64 Object, UINT32 Identifier) {
    H().Note(H().ObjectPrefix(Object) + "FindChild(" + Number(Identifier) + ") -> child");
    return kChildObjectHandle;
  }
  static UINT64 EFIAPI CreateObject(UINT32 Kind, UINT64 Parent, INT32 X, INT32 Y, INT32 Width, INT32 Height) {
    const UINT64 Object = 0x5500 + H().Objects_.size();
    H().Objects_[Object] = HOST_RECT{X, Y, X + Width, Y + Height};
    H().Note("CreateObject(" + Number(Kind) + ", " + H().ObjectName(Parent) + ", " + std::to_string(X) + ", " +
             std::to_string(Y) + ", " + std::to_string(Width) + ", " + std::to_string(Height) + ") -> icon");
    return Object;
  }
  static THEME_IMAGE *EFIAPI GetImage(UINT32 HostImageId) {
    THEME_IMAGE *Image = H().ImageInEffect(HostImageId);
    H().LastImageLookup_ = HostImageId;
    H().LastImageResult_ = Image;
    if (!H().Styling_) {
      H().Note("GetImage(" + std::to_string(HostImageId) + ") -> " + std::to_string(Image->Width) + "x" +
               std::to_string(Image->Height));
    }
    return Image;
  }
  static THEME_IMAGE *EFIAPI GetImageSlot(UINT32 HostImageId) {
    H().SlotRequests_.push_back(HostImageId);
    const UINTN ThemeId = H().Record_ != nullptr ? H().Record_->MapImage(HostImageId) : 0;
    THEME_IMAGE *Slot = ThemeId != 0 && ThemeId < std::size(H().ImageTable) ? &H().ImageTable[ThemeId]
                                                                              : &H().Slots_[HostImageId];
    H().Note("GetImageSlot(" + std::to_string(HostImageId) + ")");
    return Slot;
  }
  static UINTN EFIAPI AllocImage(THEME_IMAGE *Image, UINT32 Width, UINT32 Height) {
    // A size no screen needs (a negative one wrapped, say) gets no pixels
    // rather than taking the machine's memory.
    const bool Sane = Width <= kLargestImage && Height <= kLargestImage;
    const uint32_t Handle = H().Store(Sane ? Pixmap(static_cast<int32_t>(Width), static_cast<int32_t>(Height)) : Pixmap());
    memcpy(Image->HostOwned1, &Handle, sizeof(Handle));
    Image->Width = Width;
    Image->Height = Height;
    H().Note("AllocImage(" + std::to_string(Width) + ", " + std::to_string(Height) + ")");
    return 0;
  }
  static UINTN EFIAPI FreeImage(THEME_IMAGE *Image) {
    if (Pixmap *Pixels = H().PixelsOf(Image)) {
      *Pixels = Pixmap();
    }
    H().Note("FreeImage");
    return 0;
  }
  static void CopyPixels(THEME_IMAGE *Destination, const THEME_IMAGE *Source) {
    const Pixmap *From = H().PixelsOf(Source);
    const uint32_t Handle = H().Store(From != nullptr ? *From : Pixmap());
    Destination->Width = Source->Width;
    Destination->Height = Source->Height;
    memcpy(Destination->HostOwned1, &Handle, sizeof(Handle));
  }
  // Both copies give the destination new pixels; CopyImage also takes the
  // source's mode, CopyImageInto keeps the destination's.
  static UINTN EFIAPI CopyImageInto(THEME_IMAGE *Destination, THEME_IMAGE *Source) {
    CopyPixels(Destination, Source);
    H().Note("CopyImageInto");
    return 0;
  }
  static UINTN EFIAPI CopyImage(THEME_IMAGE *Destination, THEME_IMAGE *Source) {
    CopyPixels(Destination, Source);
    Destination->Mode = Source->Mode;
    H().Note("CopyImage");
    return 0;
  }
  static UINTN EFIAPI BlitImage(THEME_IMAGE *Destination, THEME_IMAGE *Source, INT32 DestX, INT32 DestY,
                                INT32 SourceX, INT32 SourceY, INT32 Width, INT32 Height, UINT32, VOID *) {
    Pixmap *To = H().PixelsOf(Destination);
    const Pixmap *From = H().PixelsOf(Source);
    if (To != nullptr && From != nullptr) {
      BlitPixels(*To, *From, DestX, DestY, SourceX, SourceY, Width, Height);
    }
    H().Note("BlitImage(" + std::to_string(DestX) + ", " + std::to_string(DestY) + ", " + std::to_string(SourceX) +
             ", " + std::to_string(SourceY) + ", " + std::to_string(Width) + ", " + std::to_string(Height) + ")");
    return 0;
  }
  static UINTN EFIAPI FillImage(THEME_IMAGE *Image, HOST_RECT *Rect, UINT32 Argb) {
    if (Pixmap *Pixels = H().PixelsOf(Image)) {
      FillImagePixels(*Pixels, Rect, Argb);
    }
    H().Note("FillImage(" + (Rect != nullptr ? RectText(*Rect) : std::string("null")) + ", " + Number(Argb) + ")");
    return 0;
  }
  static UINTN EFIAPI DrawImageAt(UINT64, THEME_IMAGE *Image, INT32 X, INT32 Y, UINT32) {
    if (const Pixmap *Pixels = H().PixelsOf(Image)) {
      Canvas(H().Screen).Draw(H().CustomItemRect.Left + X, H().CustomItemRect.Top + Y, *Pixels);
    }
    H().Note("DrawImageAt(ctx, " + std::to_string(Image->Width) + "x" + std::to_string(Image->Height) + ", " +
             std::to_string(X) + ", " + std::to_string(Y) + ")");
    return 0;
  }
  static UINTN EFIAPI SetTextStyle(UINT64, UINT32, UINT32 Font, UINT32 Argb) {
    H().TextPixelSize_ = Font;
    H().TextColor_ = Argb;
    H().Note("SetTextStyle(ctx, " + std::to_string(Font) + ", " + Number(Argb) + ")");
    return 0;
  }
  static std::string Narrow(const CHAR16 *Text) {
    std::string Out;
    for (; Text != nullptr && *Text != 0; Text++) {
      Out += *Text < 0x80 ? static_cast<char>(*Text) : '?';
    }
    return Out;
  }
  static UINTN EFIAPI DrawText(UINT64, INT32 X, INT32 Y, CHAR16 *Text) {
    if (H().Text != nullptr) {
      H().Text->Draw(H().Screen, H().CustomItemRect.Left + X, H().CustomItemRect.Top + Y, Narrow(Text), Face::Sans,
                     static_cast<int32_t>(H().TextPixelSize_), H().TextColor_);
    }
    H().Note("DrawText(ctx, " + std::to_string(X) + ", " + std::to_string(Y) + ", \"" + Narrow(Text) + "\")");
    return 0;
  }
  static UINTN EFIAPI MeasureText(UINT64, CHAR16 *Text, VOID *Size) {
    const UINT32 Width = H().Text != nullptr ? static_cast<UINT32>(H().Text->Measure(
                                                   Narrow(Text), Face::Sans, static_cast<int32_t>(H().TextPixelSize_)))
                                             : 0;
    const UINT32 Answer[2] = {Width, H().TextPixelSize_};
    memcpy(Size, Answer, sizeof(Answer));
    H().Note("MeasureText(ctx, \"" + Narrow(Text) + "\") -> " + std::to_string(Width));
    return 0;
  }
  static UINTN EFIAPI DrawImage(UINT64, THEME_IMAGE *Image, HOST_RECT *Rect, UINT32) {
    if (const Pixmap *Pixels = H().PixelsOf(Image)) {
      Canvas(H().Screen)
          .DrawScaled(H().CustomItemRect.Left + Rect->Left, H().CustomItemRect.Top + Rect->Top, Rect->Right - Rect->Left,
                      Rect->Bottom - Rect->Top, *Pixels);
    }
    H().Note("DrawImage(ctx, " + std::to_string(Image->Width) + "x" + std::to_string(Image->Height) + ", " +
             RectText(*Rect) + ")");
    return 0;
  }
  static UINTN EFIAPI CopyText(const CHAR16 *Source, CHAR16 *Destination, UINTN Capacity) {
    UINTN Length = 0;
    while (Capacity > 0 && Length + 1 < Capacity && Source[Length] != 0) {
      Destination[Length] = Source[Length];
      Length++;
    }
    if (Capacity > 0) {
      Destination[Length] = 0;
    }
    H().Note("CopyText(" + std::to_string(Capacity) + ") -> \"" + Narrow(Destination) + "\"");
    return 0;
  }
  static EFI_STATUS EFIAPI ThemeAttached(THEME_PROVIDER_PROTOCOL *) {
    H().Note("ThemeAttached(record)");
    return EFI_SUCCESS;
  }
  static EFI_STATUS EFIAPI ThemeDetached(THEME_PROVIDER_PROTOCOL *) {
    H().Note("ThemeDetached(record)");
    return EFI_SUCCESS;
  }
  static UINTN EFIAPI RemoveEventHook(UINT16 Handle) {
    H().Note("RemoveEventHook(" + std::to_string(Handle) + ")");
    if (Handle == H().HookHandle_) {
      H().HookRegistered_ = false;
    }
    return 0;
  }
  static UINTN EFIAPI AddEventHook(HOST_EVENT_HOOK Hook, UINT32 Group, UINT32 Flags, UINT16 *Handle) {
    H().Note("AddEventHook(hook, " + std::to_string(Group) + ", " + std::to_string(Flags) + ") -> 7");
    H().Hook_ = Hook;
    H().HookHandle_ = 7;
    *Handle = 7;
    H().HookRegistered_ = true;
    return 0;
  }
  static VOID *EFIAPI GetObjectFont(UINT64 Object, UINT32 Which) {
    gCustomItemFont.PixelSize = static_cast<UINT32>(H().ScaleY(22));
    H().Note("GetObjectFont(" + H().ObjectName(Object) + ", " + std::to_string(Which) + ") -> " +
             std::to_string(gCustomItemFont.PixelSize));
    return &gCustomItemFont;
  }
  // The host's own handling of a paint event draws the item's panel.
  static UINT64 EFIAPI CallDefaultHandler(UINT16 Handle, HOST_EVENT *Event) {
    if (Event->Code == HOST_EVENT_PAINT) {
      const HOST_RECT &Item = H().CustomItemRect;
      Canvas Paint(H().Screen);
      for (int32_t Y = Item.Top; Y < Item.Bottom; Y++) {
        for (int32_t X = Item.Left; X < Item.Right; X++) {
          Paint.Blend(X, Y, 0x70000000);
        }
      }
    }
    H().Note("CallDefaultHandler(" + std::to_string(Handle) + ", event " + std::to_string(Event->Code) + ")");
    return 0;
  }
  static UINTN EFIAPI SetImageColor(UINT32 HostImageId, UINT32 Mask, UINT32 Argb) {
    if (Pixmap *Pixels = H().PixelsOf(H().ImageInEffect(HostImageId))) {
      RecolourPixels(*Pixels, Mask, Argb);
    }
    H().Note("SetImageColor(" + std::to_string(HostImageId) + ", " + Number(Mask) + ", " + Number(Argb) + ")");
    return 0;
  }
  static UINTN EFIAPI RefreshImages(VOID) {
    H().Note("RefreshImages");
    return 0;
  }
  static UINT32 EFIAPI MakeBrush(THEME_IMAGE *Image, UINT32 Argb, UINT32 Modifier);
  static UINTN EFIAPI SetStateBrushes(UINT64 Object, UINT32 State, STATE_BRUSHES *Brushes);

  static UINTN EFIAPI ZeroBuffer(VOID *Buffer, UINTN Length) {
    memset(Buffer, 0, Length);
    return 0;
  }
  static UINTN EFIAPI CopyBuffer(VOID *Destination, const VOID *Source, UINTN Length) {
    memmove(Destination, Source, Length);
    if (!H().Styling_) {
      H().Note("CopyBuffer(" + std::to_string(Length) + ")");
    }
    return 0;
  }
  static UINTN EFIAPI SetRect(HOST_RECT *Rect, INT32 Left, INT32 Top, INT32 Right, INT32 Bottom) {
    *Rect = HOST_RECT{Left, Top, Right, Bottom};
    H().Note("SetRect -> " + RectText(*Rect));
    return 0;
  }
  static UINTN EFIAPI AdjustRect(VOID *, UINTN Zero, UINTN Twelve) {
    H().Note("AdjustRect(" + std::to_string(Zero) + ", " + std::to_string(Twelve) + ")");
    return 0;
  }
  static UINTN EFIAPI InflateRect(HOST_RECT *Rect, INT32 Dx, INT32 Dy) {
    *Rect = HOST_RECT{Rect->Left - Dx, Rect->Top - Dy, Rect->Right + Dx, Rect->Bottom + Dy};
    H().Note("InflateRect(" + std::to_string(Dx) + ", " + std::to_string(Dy) + ") -> " + RectText(*Rect));
    return 0;
  }
  static UINT32 EFIAPI RectWidth(HOST_RECT *Rect) {
    const UINT32 Width = static_cast<UINT32>(Rect->Right - Rect->Left);
    H().Note("RectWidth(" + RectText(*Rect) + ") -> " + std::to_string(Width));
    return Width;
  }
  static INT32 EFIAPI CenterOffset(UINT32 Outer, UINT32 Inner) {
    const INT32 Offset = (static_cast<INT32>(Outer) - static_cast<INT32>(Inner)) / 2;
    H().Note("CenterOffset(" + std::to_string(Outer) + ", " + std::to_string(Inner) + ") -> " +
             std::to_string(Offset));
    return Offset;
  }
  static UINTN EFIAPI ScaleRect(VOID *Destination, const THEME_RECT *Design) {
    const HOST_RECT Scaled{H().ScaleX(Design->X), H().ScaleY(Design->Y), H().ScaleX(Design->X + Design->Width),
                           H().ScaleY(Design->Y + Design->Height)};
    memcpy(Destination, &Scaled, sizeof(Scaled));
    return 0;
  }
  static INT32 EFIAPI ScaleX(INT32 DesignUnits) {
    const INT32 Pixels = H().ScaleX(DesignUnits);
    H().Note("ScaleX(" + std::to_string(DesignUnits) + ") -> " + std::to_string(Pixels));
    return Pixels;
  }
  static INT32 EFIAPI ScaleY(INT32 DesignUnits) {
    const INT32 Pixels = H().ScaleY(DesignUnits);
    H().Note("ScaleY(" + std::to_string(DesignUnits) + ") -> " + std::to_string(Pixels));
    return Pixels;
  }
};

UINT64 EFIAPI DrawingHost::Operations::ObjectRequest(UINT64 Object, UINT64 Code, UINT64 Index, UINT64 Value) {
  DrawingHost &Host = H();
  UINT64 Result = 0;
  std::string Line = Host.ObjectPrefix(Object) + "Req(" + Decimal(Code) + ", " + SignedNumber(Index) + ", " +
                     Host.BrushNotation(Value) + ")";
  if (Object == kCustomItemHandle && Code == HOST_REQUEST_OBJECT_TEXT) {
    Result = reinterpret_cast<UINT64>(kCustomItemText);
    Line += " -> text";
  } else if (Host.Styling_ && (Code == HOST_REQUEST_IMAGE_OFFSET || Code == HOST_REQUEST_FLAG)) {
    Result = Host.Answers_.RequestResult;
    Line += " -> " + Number(Result);
  } else if (auto Icon = Host.Objects_.find(Object); Icon != Host.Objects_.end() && Code == 1539 && Index == 6) {
    // The icon child's first image, drawn where the child lies in the item.
    if (const Pixmap *Pixels = Host.PixelsOf(Host.ImageInEffect(static_cast<UINT32>(Value)))) {
      const HOST_RECT &Place = Icon->second;
      Canvas(Host.Screen)
          .DrawScaled(Host.CustomItemRect.Left + Place.Left, Host.CustomItemRect.Top + Place.Top,
                      Place.Right - Place.Left, Place.Bottom - Place.Top, *Pixels);
    }
  }
  Host.Note(Line);
  return Result;
}

UINT32 EFIAPI DrawingHost::Operations::MakeBrush(THEME_IMAGE *Image, UINT32 Argb, UINT32 Modifier) {
  DrawingHost &Host = H();
  BrushInfo Brush;
  Brush.Argb = Argb;
  Brush.Modifier = Modifier;
  if (Image == nullptr) {
    Brush.Notation = "Color(" + Number(Argb) + (Modifier != 0 ? ", " + Number(Modifier) : std::string()) + ")";
  } else {
    if (Image == Host.LastImageResult_) {
      Brush.Notation = "HostImage(" + std::to_string(Host.LastImageLookup_) + ")";
    } else if (Image >= &Host.ImageTable[0] && Image < &Host.ImageTable[std::size(Host.ImageTable)]) {
      Brush.Notation = "ThemeImage(" + std::to_string(Image - Host.ImageTable) + ")";
    } else {
      Brush.Notation = "Image(?)";
    }
    if (Argb != 0 || Modifier != 0) {
      Brush.Notation += " with " + Number(Argb) + ", " + Number(Modifier);
    }
    Brush.Image = Host.PixelsOf(Image);
  }
  Host.LastImageResult_ = nullptr;
  const UINT32 Id = Host.NextBrush_++;
  Host.Brushes_[Id] = Brush;
  return Id;
}

UINTN EFIAPI DrawingHost::Operations::SetStateBrushes(UINT64 Object, UINT32 State, STATE_BRUSHES *Brushes) {
  DrawingHost &Host = H();
  std::vector<uint16_t> Set(Brushes->Brush, Brushes->Brush + 4);
  std::string Line = Host.ObjectPrefix(Object) + "state " + std::to_string(State) + ": [";
  for (size_t Field = 0; Field < 4; Field++) {
    const uint16_t Brush = Set[Field];
    std::string Text;
    if (Brush == BRUSH_KEEP) {
      Text = "keep";
    } else if (Brush == BRUSH_NONE) {
      Text = "0";
    } else if (!Host.LastBrushSet_.empty() && Host.LastBrushSet_[Field] == Brush) {
      Text = "same";
    } else {
      Text = Host.BrushNotation(Brush);
    }
    Line += (Field == 0 ? "" : ", ") + Text;
  }
  Host.Note(Line + "]");
  Host.Styled_.States[State] = Set;
  Host.LastBrushSet_ = Set;
  return 0;
}

namespace {

// Slots the plug-in has no business calling stop the run with their number.
struct StopAtUnlistedCall {
  [[noreturn]] static UINTN Called(UINT8 Table, UINT8 Slot) {
    fprintf(stderr, "theme-preview: the plug-in called unlisted host %s slot %u\n", Table == kHostTableUi ? "UI" : "services",
            static_cast<unsigned>(Slot));
    abort();
  }
};

}  // namespace

DrawingHost::DrawingHost(int32_t ScreenWidth, int32_t ScreenHeight)
    : Screen(ScreenWidth, ScreenHeight, 0xFF000000),
      Ui{},
      Services{},
      ImageTable{},
      ScreenWidth_(ScreenWidth),
      ScreenHeight_(ScreenHeight) {
  if (gActiveHost != nullptr) {
    fprintf(stderr, "theme-preview: one drawing host at a time\n");
    abort();
  }
  gActiveHost = this;
  FillWithSlotTraps<StopAtUnlistedCall, kHostTableUi, HOST_UI_TABLE_SLOT_COUNT>(Ui.Slot);
  FillWithSlotTraps<StopAtUnlistedCall, kHostTableServices, HOST_SERVICES_TABLE_SLOT_COUNT>(Services.Slot);
  // Every listed slot gets its drawing operation; a slot added to a list
  // without one here does not compile.
#define HOST_UI_SLOT(Number, Name, Type) Ui.Name = Operations::Name;
#include "host/HostUiSlots.def"
#undef HOST_UI_SLOT
#define HOST_SERVICES_SLOT(Number, Name, Type) Services.Name = Operations::Name;
#include "host/HostServicesSlots.def"
#undef HOST_SERVICES_SLOT
}

// The record the host attached to loses the three pointers with the host,
// so that nothing reaches its tables once they are gone.
DrawingHost::~DrawingHost() {
  if (Record_ != nullptr) {
    Record_->ImageTable = nullptr;
    Record_->UiTable = nullptr;
    Record_->ServiceTable = nullptr;
  }
  gActiveHost = nullptr;
}

void DrawingHost::AttachTo(THEME_PROVIDER_PROTOCOL *Record) {
  Record_ = Record;
  Record->ImageTable = ImageTable;
  Record->UiTable = &Ui;
  Record->ServiceTable = &Services;
}

}  // namespace preview
