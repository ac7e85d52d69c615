#include "tools/preview/FactsFile.h"

#include <cstdio>

#include "tools/preview/Notation.h"

namespace preview {

namespace {

Json RectJson(const HOST_RECT &Rect) { return Json::array({Rect.Left, Rect.Top, Rect.Right, Rect.Bottom}); }

std::string Hex64(uint64_t Value) {
  char Text[24];
  snprintf(Text, sizeof(Text), "0x%llX", static_cast<unsigned long long>(Value));
  return Text;
}

Json ScreenJson(const ScreenFacts &Screen) {
  Json Out;
  Out["size"] = std::to_string(Screen.Width) + "x" + std::to_string(Screen.Height);
  Out["rects"] = Json::array();
  for (const HOST_RECT &Rect : Screen.Rects) {
    Out["rects"].push_back(RectJson(Rect));
  }
  Out["layout_event"] = {{"before", RectJson(Screen.LayoutBefore)}, {"after", RectJson(Screen.LayoutAfter)}};
  Out["store"] = Json::array();
  for (const StoreItem &Item : Screen.Store) {
    Out["store"].push_back({{"item", Item.Label},
                            {"width", Item.Pixels.Width},
                            {"height", Item.Pixels.Height},
                            {"mode", Item.Mode},
                            {"pixels", PixelHash(Item.Pixels)}});
  }
  Out["set_up_calls"] = Screen.SetUpCalls;
  Out["event_calls"] = Screen.EventCalls;
  Out["pixels"] = PixelHash(Screen.Screen);
  return Out;
}

}  // namespace

std::string PixelHash(const Pixmap &Pixels) {
  uint64_t Hash = 0xCBF29CE484222325ull;
  auto Mix = [&Hash](uint32_t Word) { Hash = (Hash ^ Word) * 0x100000001B3ull; };
  Mix(static_cast<uint32_t>(Pixels.Width));
  Mix(static_cast<uint32_t>(Pixels.Height));
  for (const uint32_t Pixel : Pixels.Argb) {
    Mix(Pixel);
  }
  char Text[24];
  snprintf(Text, sizeof(Text), "%016llx", static_cast<unsigned long long>(Hash));
  return Text;
}

Json FactsToJson(const PreviewFacts &Facts, const Sheet &Drawn, const std::string &SheetFileName) {
  Json Out;
  Out["format"] = kFactsFormat;
  Out["version"] = kFactsVersion;
  Out["theme"] = {{"name", Facts.ThemeName}, {"interface_version", Facts.Version}};
  Out["sheet"] = {{"file", SheetFileName},
                  {"width", Drawn.Pixels.Width},
                  {"height", Drawn.Pixels.Height},
                  {"pixels", PixelHash(Drawn.Pixels)}};
  Out["palette"] = Json::array();
  for (const uint32_t Color : Facts.Palette) {
    Out["palette"].push_back(ArgbText(Color));
  }
  Out["image_map"] = Json::object();
  for (const auto &[HostId, ThemeId] : Facts.ImageMap) {
    Out["image_map"][std::to_string(HostId)] = ThemeId;
  }
  Out["values"] = Json::object();
  for (const auto &[Id, Results] : Facts.Values) {
    Out["values"][std::to_string(Id)] = {{"default 0", Hex64(Results.first)}, {"default 1", Hex64(Results.second)}};
  }
  Out["images"] = Json::array();
  for (const ThemeImage &Image : Facts.Images) {
    Out["images"].push_back({{"id", Image.Id},
                             {"format", Image.Format},
                             {"width", Image.Pixels.Width},
                             {"height", Image.Pixels.Height},
                             {"host_ids", Image.HostIds},
                             {"pixels", PixelHash(Image.Pixels)}});
  }
  Out["screens"] = Json::array();
  for (const ScreenFacts &Screen : Facts.Screens) {
    Out["screens"].push_back(ScreenJson(Screen));
  }
  Out["style_rows"] = Json::array();
  for (const StyleRow &Row : Facts.StyleRows) {
    Json States = Json::object();
    for (const auto &[State, Cells] : Row.States) {
      Json Fields = Json::array();
      for (const BrushCell &Cell : Cells) {
        Fields.push_back(Cell.Notation);
      }
      States[std::to_string(State)] = Fields;
    }
    Out["style_rows"].push_back({{"row", Row.Label}, {"states", States}, {"calls", Row.Calls}});
  }
  Out["areas"] = Json::object();
  for (const auto &[Key, Area] : Drawn.Areas) {
    Out["areas"][Key] = Json::array({Area.X, Area.Y, Area.Width, Area.Height});
  }
  return Out;
}

}  // namespace preview
