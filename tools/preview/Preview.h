// Runs the theme the way a host does (attach, build the main screen, the
// paint, layout and create events through the registered hook, styling of
// every sample object, detach) against a drawing host, and gathers what it
// saw: the facts the sheet shows and the JSON keeps.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "data/ThemeTables.h"
#include "tools/preview/Canvas.h"
#include "tools/preview/SampleObjects.h"

namespace imagepkg {
struct DecodedImage;
}

namespace preview {

class Fonts;

struct ThemeImage {
  uint32_t Id = 0;
  std::string Format;  // PNG or JPEG
  Pixmap Pixels;
  std::vector<uint32_t> HostIds;  // host image ids that map here, as the inspector read the map
};

// What the plug-in left in the host's image store after set-up.
struct StoreItem {
  std::string Label;  // "host 877" or "theme 27"
  uint8_t Mode = 0;
  Pixmap Pixels;
};

struct ScreenFacts {
  int32_t Width = 0;
  int32_t Height = 0;
  HOST_RECT Rects[THEME_RECT_COUNT]{};  // what ThemeGetRect had the host write
  HOST_RECT LayoutBefore{};             // the rectangle of the layout event ...
  HOST_RECT LayoutAfter{};              // ... and what the hook left in it
  HOST_RECT CustomItem{};               // where the painted item lies
  Pixmap Screen;
  std::vector<StoreItem> Store;
  std::vector<std::string> SetUpCalls;  // ThemeNotify 0 and 1
  std::vector<std::string> EventCalls;  // the three events
};

// One brush field of a state set, as the board draws it.
struct BrushCell {
  enum Kind { Keep, None, Color, Image, Unknown } What = Unknown;
  std::string Notation;
  uint32_t Argb = 0;
  Pixmap Thumb;  // the image of an image brush
};

struct StyleRow {
  std::string Label;
  SampleObject Sample{};
  std::vector<std::string> Calls;
  std::map<uint32_t, std::vector<BrushCell>> States;  // state -> four cells
};

struct PreviewFacts {
  std::string ThemeName;
  uint32_t Version = 0;
  std::vector<uint32_t> Palette;                   // 116 colours
  std::map<uint32_t, uint32_t> ImageMap;           // host id -> theme id
  std::map<int32_t, std::pair<uint64_t, uint64_t>> Values;  // id -> (with default 0, with default 1)
  std::vector<ThemeImage> Images;
  std::vector<ScreenFacts> Screens;
  std::vector<StyleRow> StyleRows;
};

// The pixels of a decoded image, taken over; empty when it did not decode.
Pixmap ToPixmap(imagepkg::DecodedImage &&Decoded);

// The 168 images of a built driver's package, decoded; nothing and Error
// set when the file is not a driver with a sound package.
std::optional<std::vector<ThemeImage>> LoadDriverImages(const std::string &DriverPath, std::string &Error);

// Runs the theme against drawing hosts of the given screen sizes.
PreviewFacts RunPreview(std::vector<ThemeImage> Images, const std::vector<std::pair<int32_t, int32_t>> &ScreenSizes,
                        Fonts *Text);

}  // namespace preview
