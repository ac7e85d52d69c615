// Comparison of two builds' facts: each kind of change is found and named,
// with the item it concerns cut from both sheets; equal builds give none.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "tools/preview/Compare.h"
#include "tools/preview/Font.h"
#include "tools/preview/Sheet.h"

namespace preview {
namespace {

// A small theme: three colours, one image, two styled rows.
PreviewFacts SmallTheme() {
  PreviewFacts Facts;
  Facts.ThemeName = "Test";
  Facts.Version = 40;
  Facts.Palette = {0xFF000000, 0xFFFFFFFF, 0x80FF8333};
  Facts.ImageMap = {{1, 1}};
  Facts.Values = {{3, {16, 16}}};
  ThemeImage Image;
  Image.Id = 1;
  Image.Format = "PNG";
  Image.Pixels = Pixmap(6, 4, 0xFF102030);
  Image.HostIds = {1};
  Facts.Images.push_back(Image);
  StyleRow Nine;
  Nine.Label = "class 9";
  Nine.Calls = {"state 5: [keep, keep, keep, Color(0xFFFF8333, 1)]"};
  BrushCell Keep;
  Keep.What = BrushCell::Keep;
  Keep.Notation = "keep";
  BrushCell Orange;
  Orange.What = BrushCell::Color;
  Orange.Notation = "Color(0xFFFF8333, 1)";
  Orange.Argb = 0xFFFF8333;
  Nine.States[5] = {Keep, Keep, Keep, Orange};
  StyleRow TwentySeven;
  TwentySeven.Label = "class 27";
  TwentySeven.Calls = {"Req(524, 0, 0xFFFFFFFF)"};
  Facts.StyleRows = {Nine, TwentySeven};
  return Facts;
}

struct Build {
  Json Facts;
  Pixmap Sheet;
};

Build Draw(const PreviewFacts &Facts, Fonts &Text) {
  const Sheet Drawn = DrawSheet(Facts, Text);
  return {FactsToJson(Facts, Drawn, "sheet.png"), Drawn.Pixels};
}

TEST(Compare, EachChangeIsNamedWithTheItemItConcerns) {
  Fonts Text;
  ASSERT_TRUE(Text.Ok()) << Text.Error;
  const Build Old = Draw(SmallTheme(), Text);
  const struct {
    const char *Name;
    std::function<void(PreviewFacts &)> Change;
    std::string Text;
    std::string AreaKey;
    std::string Summary;  // the line of the summary that tells the change's kind
  } Cases[] = {
      {"one palette entry", [](PreviewFacts &F) { F.Palette[1] = 0xFFFFFF00; },
       "palette 1: 0xFFFFFFFF -> 0xFFFFFF00", "palette 1", "palette: 1 of 3 entries changed"},
      {"one image pixel", [](PreviewFacts &F) { F.Images[0].Pixels.Argb[2 * 6 + 3] = 0xFFFFFFFF; },
       "image 1: 1 pixel differs, first at (3, 2): 0xFF102030 -> 0xFFFFFFFF", "image 1",
       "images' pixels: 1 of 1 differ"},
      {"one styling value",
       [](PreviewFacts &F) {
         F.StyleRows[0].Calls[0] = "state 5: [keep, keep, keep, Color(0xFFFF8334, 1)]";
         F.StyleRows[0].States[5][3].Notation = "Color(0xFFFF8334, 1)";
         F.StyleRows[0].States[5][3].Argb = 0xFFFF8334;
       },
       "style class 9, call 1: state 5: [keep, keep, keep, Color(0xFFFF8333, 1)] -> "
       "state 5: [keep, keep, keep, Color(0xFFFF8334, 1)]",
       "style class 9", "styling rows, their calls and order: unchanged apart from colour values"},
      {"one value", [](PreviewFacts &F) { F.Values[3] = {17, 17}; },
       R"(value 3: {"default 0":"0x10","default 1":"0x10"} -> {"default 0":"0x11","default 1":"0x11"})", "",
       "values (metrics and the value table): changed"},
      {"one map entry", [](PreviewFacts &F) { F.ImageMap[2] = 1; }, "image map, host id 2: absent -> 1", "",
       "image map: changed"},
      {"a row no longer styled", [](PreviewFacts &F) { F.StyleRows.pop_back(); },
       "style class 27: absent in the new build", "", "styling rows, their calls and order: changed"},
  };
  for (const auto &Case : Cases) {
    PreviewFacts Changed = SmallTheme();
    Case.Change(Changed);
    const Build New = Draw(Changed, Text);
    const Comparison Result = CompareFacts(Old.Facts, New.Facts, Old.Sheet, New.Sheet);
    EXPECT_EQ(Result.Error, "") << Case.Name;
    ASSERT_GE(Result.Changes.size(), 1u) << Case.Name;
    EXPECT_EQ(Result.Changes[0].Text, Case.Text) << Case.Name;
    EXPECT_EQ(Result.Changes[0].AreaKey, Case.AreaKey) << Case.Name;
    // One change, reported once; the map entry also shows in the image's host ids.
    EXPECT_EQ(Result.Changes.size(), 1u) << Case.Name;
    EXPECT_NE(std::find(Result.Summary.begin(), Result.Summary.end(), Case.Summary), Result.Summary.end())
        << Case.Name;
    const Pixmap Picture = DrawComparison(Result, Old.Facts, New.Facts, Old.Sheet, New.Sheet, Text);
    EXPECT_GT(Picture.Height, 60) << Case.Name;
  }
}

TEST(Compare, IdenticalBuildsAndARedrawnSheet) {
  Fonts Text;
  ASSERT_TRUE(Text.Ok()) << Text.Error;
  const Build Old = Draw(SmallTheme(), Text);
  const Build Same = Draw(SmallTheme(), Text);
  EXPECT_TRUE(CompareFacts(Old.Facts, Same.Facts, Old.Sheet, Same.Sheet).Changes.empty());
  EXPECT_EQ(Old.Facts, Same.Facts) << "drawing is deterministic";

  // The same facts on a sheet drawn differently: the tool's drawing changed.
  Json Redrawn = Same.Facts;
  Redrawn["sheet"]["pixels"] = "0000000000000000";
  const Comparison Result = CompareFacts(Old.Facts, Redrawn, Old.Sheet, Same.Sheet);
  ASSERT_EQ(Result.Changes.size(), 1u);
  EXPECT_NE(Result.Changes[0].Text.find("drawn differently"), std::string::npos);
}

TEST(Compare, FactsOfAnotherShapeAreAnErrorNotAChange) {
  Fonts Text;
  ASSERT_TRUE(Text.Ok()) << Text.Error;
  const Build Old = Draw(SmallTheme(), Text);
  Json Odd = Old.Facts;
  Odd["palette"] = "not a list";
  Odd["images"][0]["width"] = "wide";
  const Comparison Result = CompareFacts(Old.Facts, Odd, Old.Sheet, Old.Sheet);
  EXPECT_NE(Result.Error, "");
  EXPECT_TRUE(Result.Changes.empty());
}

}  // namespace
}  // namespace preview
