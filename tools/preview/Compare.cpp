#include "tools/preview/Compare.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <regex>
#include <set>

#include "tools/imagepkg/FileIo.h"
#include "tools/preview/Font.h"

namespace preview {

namespace {

std::string Show(const Json &Value) { return Value.is_string() ? Value.get<std::string>() : Value.dump(); }

class Differ {
 public:
  Differ(const SheetReader &ReadSheets, const Json &OldAreas, const Json &NewAreas)
      : ReadSheets_(ReadSheets), OldAreas_(OldAreas), NewAreas_(NewAreas) {}

  std::vector<Change> Changes;

  void Add(std::string Text, std::string AreaKey = {}) {
    if (!AreaKey.empty() && !(OldAreas_.contains(AreaKey) && NewAreas_.contains(AreaKey))) {
      AreaKey.clear();
    }
    Changes.push_back({std::move(Text), std::move(AreaKey)});
  }

  // Two values under one name: equal, or one change naming both.
  void Value(const std::string &Name, const Json &Old, const Json &New, const std::string &AreaKey = {}) {
    if (Old != New) {
      Add(Name + ": " + (Old.is_null() ? "absent" : Show(Old)) + " -> " + (New.is_null() ? "absent" : Show(New)),
          AreaKey);
    }
  }

  // Two keyed objects: every key of either, in the old order then the new.
  void Keyed(const std::string &Section, const Json &Old, const Json &New) {
    for (const auto &[Key, OldValue] : Old.items()) {
      Value(Section + " " + Key, OldValue, New.contains(Key) ? New[Key] : Json());
    }
    for (const auto &[Key, NewValue] : New.items()) {
      if (!Old.contains(Key)) {
        Value(Section + " " + Key, Json(), NewValue);
      }
    }
  }

  // Lines compared one by one; the first difference of each list is named.
  void Lines(const std::string &Name, const Json &Old, const Json &New, const std::string &AreaKey) {
    if (Old == New) {
      return;
    }
    const size_t Count = std::max(Old.size(), New.size());
    for (size_t Index = 0; Index < Count; Index++) {
      const Json OldLine = Index < Old.size() ? Old[Index] : Json();
      const Json NewLine = Index < New.size() ? New[Index] : Json();
      if (OldLine != NewLine) {
        Value(Name + ", call " + std::to_string(Index + 1), OldLine, NewLine, AreaKey);
        return;
      }
    }
  }

  // The pixels of one item on both sheets: how many differ and where first.
  std::string PixelDifference(const std::string &AreaKey) const {
    if (!OldAreas_.contains(AreaKey) || !NewAreas_.contains(AreaKey)) {
      return "pixels differ";
    }
    const SheetPair Drawn = ReadSheets_();
    const Pixmap &OldSheet = *Drawn.Old;
    const Pixmap &NewSheet = *Drawn.New;
    if (OldSheet.Width == 0 || NewSheet.Width == 0) {
      return "pixels differ";
    }
    const Json &A = OldAreas_[AreaKey];
    const Json &B = NewAreas_[AreaKey];
    const int32_t W = std::min(A[2].get<int32_t>(), B[2].get<int32_t>());
    const int32_t H = std::min(A[3].get<int32_t>(), B[3].get<int32_t>());
    size_t Count = 0;
    std::string First;
    for (int32_t Y = 0; Y < H; Y++) {
      for (int32_t X = 0; X < W; X++) {
        const int32_t OX = A[0].get<int32_t>() + X, OY = A[1].get<int32_t>() + Y;
        const int32_t NX = B[0].get<int32_t>() + X, NY = B[1].get<int32_t>() + Y;
        if (!OldSheet.Contains(OX, OY) || !NewSheet.Contains(NX, NY)) {
          continue;
        }
        const uint32_t Before = OldSheet.At(OX, OY);
        const uint32_t After = NewSheet.At(NX, NY);
        if (Before != After && Count++ == 0) {
          char Text[96];
          snprintf(Text, sizeof(Text), "first at (%d, %d): 0x%08X -> 0x%08X", X, Y, Before, After);
          First = Text;
        }
      }
    }
    // A changed pixel drawn over the checkerboard may blend to the same
    // sheet colour; the hash still tells.
    return Count == 0 ? "pixels differ (not visible on the sheet)"
                      : std::to_string(Count) + (Count == 1 ? " pixel differs, " : " pixels differ, ") + First;
  }

 private:
  const SheetReader &ReadSheets_;
  const Json &OldAreas_;
  const Json &NewAreas_;
};

// Entries of two arrays matched by one of their fields.
std::map<std::string, Json> ByField(const Json &Array, const char *Field) {
  std::map<std::string, Json> Out;
  for (const Json &Entry : Array) {
    Out[Show(Entry.at(Field))] = Entry;
  }
  return Out;
}

void CompareImages(Differ &D, const Json &Old, const Json &New) {
  const auto OldImages = ByField(Old, "id");
  const auto NewImages = ByField(New, "id");
  for (const Json &Image : Old) {
    const std::string Id = Show(Image.at("id"));
    const std::string Key = "image " + Id;
    auto Found = NewImages.find(Id);
    if (Found == NewImages.end()) {
      D.Add(Key + ": absent in the new build");
      continue;
    }
    const Json &Other = Found->second;
    D.Value(Key + " format", Image.at("format"), Other.at("format"));
    if (Image.at("width") != Other.at("width") || Image.at("height") != Other.at("height")) {
      D.Add(Key + " size: " + Show(Image.at("width")) + "x" + Show(Image.at("height")) + " -> " +
                Show(Other.at("width")) + "x" + Show(Other.at("height")),
            Key);
    } else if (Image.at("pixels") != Other.at("pixels")) {
      D.Add(Key + ": " + D.PixelDifference(Key), Key);
    }
    D.Value(Key + " host ids", Image.at("host_ids"), Other.at("host_ids"));
  }
  for (const auto &[Id, Image] : NewImages) {
    if (!OldImages.count(Id)) {
      D.Add("image " + Id + ": new in the new build");
    }
  }
}

void CompareScreens(Differ &D, const Json &Old, const Json &New) {
  const auto NewScreens = ByField(New, "size");
  for (const Json &Screen : Old) {
    const std::string Size = Show(Screen.at("size"));
    auto Found = NewScreens.find(Size);
    if (Found == NewScreens.end()) {
      D.Add("screen " + Size + ": absent in the new build");
      continue;
    }
    const Json &Other = Found->second;
    const std::string Key = "screen " + Size;
    const Json &Rects = Screen.at("rects");
    for (size_t Index = 0; Index < Rects.size(); Index++) {
      D.Value(Key + " rectangle " + std::to_string(Index), Rects.at(Index), Other.at("rects").at(Index), Key);
    }
    D.Value(Key + " layout event", Screen.at("layout_event"), Other.at("layout_event"), Key);
    const auto NewStore = ByField(Other.at("store"), "item");
    for (const Json &Item : Screen.at("store")) {
      const std::string Name = Show(Item.at("item"));
      auto Match = NewStore.find(Name);
      const std::string ItemKey = "store " + Size + " " + Name;
      if (Match == NewStore.end()) {
        D.Add(Key + " store " + Name + ": absent in the new build");
      } else if (const Json &NewItem = Match->second; Item != NewItem) {
        D.Add(Key + " store " + Name + ": " + std::to_string(Item.at("width").get<int>()) + "x" +
                  Show(Item.at("height")) + " mode " + Show(Item.at("mode")) + " -> " + Show(NewItem.at("width")) + "x" +
                  Show(NewItem.at("height")) + " mode " + Show(NewItem.at("mode")) +
                  (Item.at("pixels") != NewItem.at("pixels") ? ", " + D.PixelDifference(ItemKey) : ""),
              ItemKey);
      }
    }
    D.Lines(Key + " set-up", Screen.at("set_up_calls"), Other.at("set_up_calls"), {});
    D.Lines(Key + " events", Screen.at("event_calls"), Other.at("event_calls"), Key);
    if (Screen.at("pixels") != Other.at("pixels")) {
      D.Add(Key + ": the drawn screen differs", Key);
    }
  }
}

void CompareStyleRows(Differ &D, const Json &Old, const Json &New) {
  const auto NewRows = ByField(New, "row");
  const auto OldRows = ByField(Old, "row");
  for (const Json &Row : Old) {
    const std::string Label = Show(Row.at("row"));
    auto Found = NewRows.find(Label);
    if (Found == NewRows.end()) {
      D.Add("style " + Label + ": absent in the new build");
      continue;
    }
    D.Lines("style " + Label, Row.at("calls"), Found->second.at("calls"), "style " + Label);
  }
  for (const auto &[Label, Row] : NewRows) {
    if (!OldRows.count(Label)) {
      D.Add("style " + Label + ": new in the new build");
    }
  }
}

void ComparePalette(Differ &D, const Json &Old, const Json &New) {
  const size_t Count = std::max(Old.size(), New.size());
  for (size_t Index = 0; Index < Count; Index++) {
    D.Value("palette " + std::to_string(Index), Index < Old.size() ? Old[Index] : Json(),
            Index < New.size() ? New[Index] : Json(), "palette " + std::to_string(Index));
  }
}

// Four integers that place a rectangle on a sheet the tool could have drawn.
bool IsAreaOnASheet(const Json &Area) {
  if (!Area.is_array() || Area.size() != 4) {
    return false;
  }
  for (const Json &Number : Area) {
    if (!Number.is_number_integer() || Number.get<int64_t>() < 0 || Number.get<int64_t>() > kLargestSheet) {
      return false;
    }
  }
  return Area[0].get<int64_t>() + Area[2].get<int64_t>() <= kLargestSheet &&
         Area[1].get<int64_t>() + Area[3].get<int64_t>() <= kLargestSheet;
}

// Facts with every colour value (0xAARRGGBB, or two of them as value 18
// holds) replaced by one word, so that two builds whose colours alone differ
// compare equal. A number of eight hex digits that is not a colour is
// masked too; the change list still names every difference.
Json WithoutColours(const Json &Facts) {
  static const std::regex kColour("0x[0-9A-Fa-f]{8}(?:[0-9A-Fa-f]{8})?\\b");
  if (Facts.is_string()) {
    return std::regex_replace(Facts.get<std::string>(), kColour, "colour");
  }
  if (Facts.is_array() || Facts.is_object()) {
    Json Out = Facts;
    for (auto &Item : Out) {
      Item = WithoutColours(Item);
    }
    return Out;
  }
  return Facts;
}

// A list of what each part holds, old against new, apart from colours.
std::string Aspect(const char *What, const Json &Old, const Json &New) {
  if (Old == New) {
    return std::string(What) + ": unchanged";
  }
  if (WithoutColours(Old) == WithoutColours(New)) {
    return std::string(What) + ": unchanged apart from colour values";
  }
  return std::string(What) + ": changed";
}

template <typename Pick>
Json EachOf(const Json &Array, Pick Field) {
  Json Out = Json::array();
  for (const Json &Entry : Array) {
    Out.push_back(Field(Entry));
  }
  return Out;
}

// A field that older or smaller facts may lack: null then.
Json Field(const Json &Object, const char *Key) { return Object.contains(Key) ? Object.at(Key) : Json(); }

std::vector<std::string> Summarise(const Json &Old, const Json &New) {
  size_t Entries = 0;
  for (size_t Index = 0; Index < Old["palette"].size() && Index < New["palette"].size(); Index++) {
    Entries += Old["palette"][Index] != New["palette"][Index];
  }
  size_t Pixels = 0;
  for (size_t Index = 0; Index < Old["images"].size() && Index < New["images"].size(); Index++) {
    Pixels += Old["images"][Index].at("pixels") != New["images"][Index].at("pixels");
  }
  const auto Layout = [](const Json &Screen) {
    return Json::array({Screen.at("size"), Screen.at("rects"), Screen.at("layout_event")});
  };
  const auto Calls = [](const Json &Screen) {
    return Json::array({Screen.at("set_up_calls"), Screen.at("event_calls")});
  };
  const auto ImageShape = [](const Json &Image) {
    return Json::array({Image.at("id"), Image.at("format"), Image.at("width"), Image.at("height"),
                        Image.at("host_ids")});
  };
  const auto RowCalls = [](const Json &Row) { return Json::array({Row.at("row"), Row.at("calls")}); };
  const bool SamePaletteSize = Old["palette"].size() == New["palette"].size();
  return {
      Aspect("name", Field(Old["theme"], "name"), Field(New["theme"], "name")),
      Aspect("interface version", Field(Old["theme"], "interface_version"),
             Field(New["theme"], "interface_version")),
      SamePaletteSize ? "palette: " + std::to_string(Entries) + " of " + std::to_string(Old["palette"].size()) +
                            " entries changed"
                      : std::string("palette: changed in size"),
      Aspect("layout rectangles and layout events", EachOf(Old["screens"], Layout), EachOf(New["screens"], Layout)),
      Aspect("values (metrics and the value table)", Old["values"], New["values"]),
      Aspect("image map", Old["image_map"], New["image_map"]),
      Aspect("images' ids, formats, sizes and host ids", EachOf(Old["images"], ImageShape),
             EachOf(New["images"], ImageShape)),
      "images' pixels: " + std::to_string(Pixels) + " of " + std::to_string(Old["images"].size()) + " differ",
      Aspect("styling rows, their calls and order", EachOf(Old["style_rows"], RowCalls),
             EachOf(New["style_rows"], RowCalls)),
      Aspect("screen set-up and event calls", EachOf(Old["screens"], Calls), EachOf(New["screens"], Calls)),
  };
}

}  // namespace

std::optional<Json> ReadFacts(const std::string &Path, std::string &Error) {
  const std::optional<imagepkg::Bytes> File = imagepkg::ReadWholeFile(Path, Error);
  if (!File) {
    Error = Path + ": " + Error;
    return std::nullopt;
  }
  Json Facts = Json::parse(File->begin(), File->end(), nullptr, false);
  if (Facts.is_discarded() || !Facts.is_object()) {
    Error = Path + ": not a JSON object";
    return std::nullopt;
  }
  if (Facts.value("format", "") != kFactsFormat || !Facts.contains("version") || Facts["version"] != kFactsVersion) {
    Error = Path + ": not theme-preview facts of version " + std::to_string(kFactsVersion) + " (format " +
            (Facts.contains("format") ? Show(Facts["format"]) : std::string("none")) + ", version " +
            (Facts.contains("version") ? Show(Facts["version"]) : std::string("none")) +
            "); draw both builds with the same theme-preview";
    return std::nullopt;
  }
  for (const char *Section : {"theme", "sheet", "palette", "image_map", "values", "images", "screens", "style_rows",
                              "areas"}) {
    if (!Facts.contains(Section)) {
      Error = Path + ": the facts lack their \"" + Section + "\" section";
      return std::nullopt;
    }
  }
  // The sheet's file and the items' areas are used outside the comparison,
  // to read the sheet and to cut items out of it.
  const Json &Sheet = Facts["sheet"];
  if (!Sheet.is_object() || !Sheet.contains("file") || !Sheet["file"].is_string()) {
    Error = Path + ": the facts' \"sheet\" section names no sheet file";
    return std::nullopt;
  }
  if (!Facts["areas"].is_object()) {
    Error = Path + ": the facts' \"areas\" section is not an object";
    return std::nullopt;
  }
  for (const auto &[Key, Area] : Facts["areas"].items()) {
    if (!IsAreaOnASheet(Area)) {
      Error = Path + ": area \"" + Key + "\" is not [x, y, width, height] on a sheet of at most " +
              std::to_string(kLargestSheet) + " pixels either way";
      return std::nullopt;
    }
  }
  return Facts;
}

Comparison CompareFacts(const Json &Old, const Json &New, const Pixmap &OldSheet, const Pixmap &NewSheet) {
  return CompareFacts(Old, New, [&OldSheet, &NewSheet]() { return SheetPair{&OldSheet, &NewSheet}; });
}

Comparison CompareFacts(const Json &Old, const Json &New, const SheetReader &ReadSheets) {
  Comparison Result;
  Differ D(ReadSheets, Old["areas"], New["areas"]);
  try {
    D.Keyed("theme", Old["theme"], New["theme"]);
    ComparePalette(D, Old["palette"], New["palette"]);
    CompareScreens(D, Old["screens"], New["screens"]);
    D.Keyed("value", Old["values"], New["values"]);
    D.Keyed("image map, host id", Old["image_map"], New["image_map"]);
    CompareImages(D, Old["images"], New["images"]);
    CompareStyleRows(D, Old["style_rows"], New["style_rows"]);
    if (D.Changes.empty() && Old["sheet"].at("pixels") != New["sheet"].at("pixels")) {
      D.Add("sheet: the same facts, drawn differently (the drawing of theme-preview changed)");
    }
  } catch (const Json::exception &Problem) {
    Result.Error = std::string("the facts are not shaped as theme-preview writes them: ") + Problem.what();
    return Result;
  }
  Result.Changes = std::move(D.Changes);
  try {
    Result.Summary = Summarise(Old, New);
  } catch (const Json::exception &Problem) {
    Result.Error = std::string("the facts are not shaped as theme-preview writes them: ") + Problem.what();
    Result.Changes.clear();
  }
  return Result;
}

Pixmap DrawComparison(const Comparison &Result, const Json &Old, const Json &New, const Pixmap &OldSheet,
                      const Pixmap &NewSheet, Fonts &Text) {
  constexpr int32_t Width = 2000;  // a whole line of the sheet fits at its size
  constexpr int32_t Margin = 20;
  constexpr int32_t Half = (Width - 3 * Margin) / 2;
  constexpr int32_t LineSize = 15;
  // Lay out first, then draw on a sheet of the final height.
  struct Placed {
    const Change *Item;
    int32_t Top;
    int32_t Scale;    // cut-outs wider than the sheet are shrunk by this
    bool Stacked;     // cut-outs wider than half the sheet: old above new
  };
  std::vector<Placed> Items;
  int32_t Cursor = Margin + 40;
  for (const Change &Item : Result.Changes) {
    int32_t Height = LineSize + 10;
    int32_t Scale = 1;
    bool Stacked = false;
    if (!Item.AreaKey.empty()) {
      const Json &A = Old["areas"][Item.AreaKey];
      const Json &B = New["areas"][Item.AreaKey];
      const int32_t Widest = std::max(A[2].get<int32_t>(), B[2].get<int32_t>());
      const int32_t Tallest = std::max(A[3].get<int32_t>(), B[3].get<int32_t>());
      // Wide items (style rows, screens) keep their size, one above the other.
      Stacked = Widest > Half;
      Scale = std::max(1, (Widest + Width - 2 * Margin - 1) / (Width - 2 * Margin));
      Height += (Stacked ? 2 * Tallest / Scale + 8 : Tallest) + 12;
    }
    Items.push_back({&Item, Cursor, Scale, Stacked});
    Cursor += Height;
  }
  Pixmap Out(Width, Cursor + Margin, 0xFFF4F4F2);
  Text.Draw(Out, Margin, Margin,
            std::to_string(Result.Changes.size()) + (Result.Changes.size() == 1 ? " difference" : " differences") +
                ": old on the left or above, new on the right or below",
            Face::SansBold, 24, 0xFF1A1A1A);
  Canvas Paint(Out);
  for (const Placed &P : Items) {
    Text.Draw(Out, Margin, P.Top, P.Item->Text, Face::Mono, 13, 0xFF1A1A1A);
    if (P.Item->AreaKey.empty()) {
      continue;
    }
    const std::pair<const Json *, const Pixmap *> Sides[2] = {{&Old["areas"][P.Item->AreaKey], &OldSheet},
                                                              {&New["areas"][P.Item->AreaKey], &NewSheet}};
    for (int Side = 0; Side < 2; Side++) {
      const Json &A = *Sides[Side].first;
      const Pixmap &From = *Sides[Side].second;
      Pixmap Cut(A[2].get<int32_t>(), A[3].get<int32_t>(), 0xFFFF00FF);
      for (int32_t Y = 0; Y < Cut.Height; Y++) {
        for (int32_t X = 0; X < Cut.Width; X++) {
          const int32_t SX = A[0].get<int32_t>() + X, SY = A[1].get<int32_t>() + Y;
          if (From.Contains(SX, SY)) {
            Cut.Argb[static_cast<size_t>(Y) * Cut.Width + X] = From.At(SX, SY);
          }
        }
      }
      const int32_t Left = P.Stacked ? Margin : Margin + Side * (Half + Margin);
      const int32_t Above = Sides[0].first->at(3).get<int32_t>() / P.Scale + 8;
      const int32_t Top = P.Top + LineSize + 8 + (P.Stacked ? Side * Above : 0);
      Paint.DrawScaled(Left, Top, Cut.Width / P.Scale, Cut.Height / P.Scale, Cut);
    }
  }
  return Out;
}

}  // namespace preview
