#include "tools/preview/Preview.h"

#include <cstring>
#include <iterator>
#include <utility>

#include "data/ThemeTables.h"
#include "entry/ThemeProvider.h"
#include "tools/imagepkg/DriverPackageCheck.h"
#include "tools/imagepkg/FileIo.h"
#include "tools/imagepkg/ImageDecode.h"
#include "tools/preview/DrawingHost.h"

namespace preview {

namespace {

constexpr uint32_t kHighestHostImageId = 0xFFFF;
constexpr int32_t kHighestValueId = 63;

// The host image the theme's background replaces, and the design
// rectangles the preview's events concern.
constexpr uint32_t kBackgroundHostImage = 1;
constexpr int32_t kPaintedItemRect = 2;
constexpr int32_t kLayoutEventRect = 4;

HOST_RECT QueryRect(int32_t Index) {
  HOST_RECT Rect{};
  mThemeProvider.GetRect(Index, &Rect);
  return Rect;
}

uint64_t SendEvent(DrawingHost &Host, uint64_t Code, void *Data) {
  HOST_EVENT Event{};
  Event.Target = kCustomItemHandle;
  Event.Code = Code;
  Event.Data = Data;
  return Host.Hook() != nullptr ? Host.Hook()(&Event) : 0;
}

BrushCell CellFor(const DrawingHost &Host, uint16_t Field) {
  BrushCell Cell;
  if (Field == BRUSH_KEEP) {
    Cell.What = BrushCell::Keep;
    Cell.Notation = "keep";
  } else if (Field == BRUSH_NONE) {
    Cell.What = BrushCell::None;
    Cell.Notation = "0";
  } else if (const BrushInfo *Brush = Host.FindBrush(Field)) {
    Cell.Notation = Brush->Notation;
    Cell.Argb = Brush->Argb;
    if (Brush->Image != nullptr) {
      Cell.What = BrushCell::Image;
      Cell.Thumb = *Brush->Image;
    } else {
      Cell.What = BrushCell::Color;
    }
  } else {
    Cell.Notation = "unknown brush";
  }
  return Cell;
}

StyleRow StyleSample(DrawingHost &Host, const SampleObject &Sample) {
  Host.BeginStyling(Sample.Answers);
  mThemeProvider.StyleObject(kStyledObjectHandle, Sample.Class, Sample.PartCode, Sample.ObjectId);
  Host.EndStyling();
  StyleRow Row;
  Row.Label = SampleLabel(Sample);
  Row.Sample = Sample;
  Row.Calls = Host.Styled().Calls;
  for (const auto &[State, Fields] : Host.Styled().States) {
    for (const uint16_t Field : Fields) {
      Row.States[State].push_back(CellFor(Host, Field));
    }
  }
  return Row;
}

// What set-up left in the store: every host slot it asked for, and every
// theme image whose record it replaced or whose mode it set.
void CollectStore(DrawingHost &Host, const std::vector<THEME_IMAGE> &Loaded, ScreenFacts &Screen) {
  for (const uint32_t HostId : Host.SlotIds()) {
    const THEME_IMAGE *Image = Host.ImageInEffect(HostId);
    const Pixmap *Pixels = Host.PixelsOf(Image);
    Screen.Store.push_back({"host " + std::to_string(HostId), Image->Mode, Pixels ? *Pixels : Pixmap()});
  }
  for (size_t ThemeId = 1; ThemeId < Loaded.size(); ThemeId++) {
    const THEME_IMAGE &Image = Host.ImageTable[ThemeId];
    if (memcmp(&Image, &Loaded[ThemeId], sizeof(Image)) != 0) {
      const Pixmap *Pixels = Host.PixelsOf(&Image);
      Screen.Store.push_back({"theme " + std::to_string(ThemeId), Image.Mode, Pixels ? *Pixels : Pixmap()});
    }
  }
}

// One host, one screen size: the whole lifecycle. Styling runs only when
// Rows is given (once, at the design size).
ScreenFacts RunScreen(const std::vector<ThemeImage> &Images, int32_t Width, int32_t Height, Fonts *Text,
                      std::vector<StyleRow> *Rows) {
  DrawingHost Host(Width, Height);
  Host.Text = Text;
  std::vector<Pixmap> Pixels;
  for (const ThemeImage &Image : Images) {
    Pixels.push_back(Image.Pixels);
  }
  Host.LoadThemeImages(Pixels);
  Host.AttachTo(&mThemeProvider);
  const std::vector<THEME_IMAGE> Loaded(std::begin(Host.ImageTable), std::end(Host.ImageTable));

  ScreenFacts Screen;
  Screen.Width = Width;
  Screen.Height = Height;
  mThemeProvider.Notify(0);
  mThemeProvider.Notify(1);
  Screen.SetUpCalls = std::exchange(Host.HostCalls, {});
  if (const Pixmap *Background = Host.PixelsOf(Host.ImageInEffect(kBackgroundHostImage))) {
    Canvas(Host.Screen).DrawScaled(0, 0, Width, Height, *Background);
  }
  for (int32_t Index = 0; Index < THEME_RECT_COUNT; Index++) {
    Screen.Rects[Index] = QueryRect(Index);
  }

  Host.CustomItemRect = Screen.Rects[kPaintedItemRect];
  Screen.CustomItem = Host.CustomItemRect;
  Screen.LayoutBefore = Screen.Rects[kLayoutEventRect];
  Screen.LayoutAfter = Screen.LayoutBefore;
  SendEvent(Host, HOST_EVENT_LAYOUT, &Screen.LayoutAfter);
  SendEvent(Host, HOST_EVENT_PAINT, nullptr);
  SendEvent(Host, HOST_EVENT_CREATE, nullptr);
  Screen.EventCalls = std::exchange(Host.HostCalls, {});

  if (Rows != nullptr) {
    for (const SampleObject &Sample : SampleObjects()) {
      Rows->push_back(StyleSample(Host, Sample));
    }
  }
  mThemeProvider.Notify(3);
  CollectStore(Host, Loaded, Screen);
  Screen.Screen = std::move(Host.Screen);
  return Screen;
}

std::string NameOf(const THEME_PROVIDER_PROTOCOL &Record) {
  std::string Name;
  for (const CHAR16 Character : Record.Name) {
    if (Character == 0) {
      break;
    }
    Name += Character < 0x80 ? static_cast<char>(Character) : '?';
  }
  return Name;
}

}  // namespace

Pixmap ToPixmap(imagepkg::DecodedImage &&Decoded) {
  Pixmap Pixels;
  if (Decoded.Ok) {
    Pixels.Width = static_cast<int32_t>(Decoded.Width);
    Pixels.Height = static_cast<int32_t>(Decoded.Height);
    Pixels.Argb = std::move(Decoded.Argb);
  }
  return Pixels;
}

std::optional<std::vector<ThemeImage>> LoadDriverImages(const std::string &DriverPath, std::string &Error) {
  const std::optional<imagepkg::Bytes> File = imagepkg::ReadWholeFile(DriverPath, Error);
  if (!File) {
    Error = DriverPath + ": " + Error;
    return std::nullopt;
  }
  const imagepkg::DriverReport Report = imagepkg::InspectDriver(*File);
  if (!Report.Problems.empty()) {
    Error = DriverPath + ": not a driver with a sound image package: " + Report.Problems.front();
    if (Report.Problems.size() > 1) {
      const size_t More = Report.Problems.size() - 1;
      Error += " (and " + std::to_string(More) + (More == 1 ? " more problem" : " more problems") +
               "; theme-inspect lists them all)";
    }
    return std::nullopt;
  }
  std::vector<ThemeImage> Images;
  for (size_t Index = 0; Index < Report.Package.Blocks.size(); Index++) {
    const imagepkg::ImageBlock &Block = Report.Package.Blocks[Index];
    imagepkg::DecodedImage Decoded = imagepkg::DecodeImagePixels(Block.File);
    if (!Decoded.Ok) {
      Error = DriverPath + ": image " + std::to_string(Block.Id) + ": " + Decoded.Error;
      return std::nullopt;
    }
    ThemeImage Image;
    Image.Id = Block.Id;
    Image.Format = imagepkg::FormatName(Report.Images[Index].Format);
    Image.Pixels = ToPixmap(std::move(Decoded));
    Image.HostIds = Report.Images[Index].HostIds;
    Images.push_back(std::move(Image));
  }
  return Images;
}

PreviewFacts RunPreview(std::vector<ThemeImage> Images, const std::vector<std::pair<int32_t, int32_t>> &ScreenSizes,
                        Fonts *Text) {
  PreviewFacts Facts;
  Facts.ThemeName = NameOf(mThemeProvider);
  Facts.Version = mThemeProvider.Version;
  for (int32_t Index = 0; Index < THEME_COLOR_COUNT; Index++) {
    Facts.Palette.push_back(mThemeProvider.GetColor(Index));
  }
  // The map as the record's own lookup answers it. Each image's host ids
  // come from the inspector's walk of the same table instead, so the facts
  // hold two independent readings of the map.
  for (uint32_t HostId = 0; HostId <= kHighestHostImageId; HostId++) {
    if (const UINTN ThemeId = mThemeProvider.MapImage(HostId); ThemeId != 0) {
      Facts.ImageMap[HostId] = static_cast<uint32_t>(ThemeId);
    }
  }
  for (size_t Index = 0; Index < ScreenSizes.size(); Index++) {
    const auto [Width, Height] = ScreenSizes[Index];
    Facts.Screens.push_back(RunScreen(Images, Width, Height, Text, Index == 0 ? &Facts.StyleRows : nullptr));
  }
  // Value 34 has the host adjust what Default points to; the preview's host
  // ignores the pointer, so any Default will do.
  DrawingHost Host(THEME_DESIGN_WIDTH, THEME_DESIGN_HEIGHT);
  Host.AttachTo(&mThemeProvider);
  for (int32_t Id = 0; Id <= kHighestValueId; Id++) {
    const uint64_t WithZero = mThemeProvider.GetValue(Id, 0);
    const uint64_t WithOne = mThemeProvider.GetValue(Id, 1);
    if (WithZero != 0 || WithOne != 1) {
      Facts.Values[Id] = {WithZero, WithOne};
    }
  }
  Facts.Images = std::move(Images);
  return Facts;
}

}  // namespace preview
