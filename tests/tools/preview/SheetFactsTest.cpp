// The facts of the sheet drawn from the built driver: every sample row was
// styled and drawn, every state a row sets has its four cells, and every
// colour, image and screen has its place on the sheet.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

#include "tools/preview/Compare.h"
#include "tools/preview/SampleObjects.h"

namespace preview {
namespace {

class SheetFacts : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string Error;
    Facts = ReadFacts(THEME_PREVIEW_FACTS, Error).value_or(Json());
    ASSERT_FALSE(Facts.is_null()) << Error << " (the ctest fixture Preview.DrawSheet writes it)";
  }
  static bool HasArea(const std::string &Key) { return Facts["areas"].contains(Key); }
  static Json Facts;
};
Json SheetFacts::Facts;

TEST_F(SheetFacts, EverySampleRowIsStyledInOrderAndDrawn) {
  const std::vector<SampleObject> Samples = SampleObjects();
  ASSERT_EQ(Facts["style_rows"].size(), Samples.size());
  for (size_t Index = 0; Index < Samples.size(); Index++) {
    const std::string Label = SampleLabel(Samples[Index]);
    EXPECT_EQ(Facts["style_rows"][Index]["row"], Label);
    EXPECT_TRUE(HasArea("style " + Label)) << Label;
  }
}

// The samples come from the stages' tables; a class line named with the
// class that stands for "any other class" would style that class twice under
// one label and leave the part code's last line unshown.
TEST(SampleObjects, EachLabelNamesOneSample) {
  std::set<std::string> Labels;
  for (const SampleObject &Sample : SampleObjects()) {
    EXPECT_TRUE(Labels.insert(SampleLabel(Sample)).second) << SampleLabel(Sample);
  }
}

TEST_F(SheetFacts, EveryStateARowSetsHasItsFourCells) {
  // "state n: [...]" on the styled object itself (others carry a prefix).
  const std::regex StateCall(R"(^state ([0-9]+): \[)");
  for (const Json &Row : Facts["style_rows"]) {
    std::set<std::string> Called;
    for (const Json &Call : Row["calls"]) {
      std::smatch Match;
      const std::string Line = Call.get<std::string>();
      if (std::regex_search(Line, Match, StateCall)) {
        Called.insert(Match[1]);
      }
    }
    std::set<std::string> Drawn;
    for (const auto &[State, Cells] : Row["states"].items()) {
      Drawn.insert(State);
      EXPECT_LE(std::stoi(State), 6) << Row["row"];
      EXPECT_EQ(Cells.size(), 4u) << Row["row"] << " state " << State;
    }
    EXPECT_EQ(Drawn, Called) << Row["row"];
  }
}

TEST_F(SheetFacts, PaletteAtlasAndScreensAreComplete) {
  ASSERT_EQ(Facts["palette"].size(), 116u);
  for (size_t Index = 0; Index < 116; Index++) {
    EXPECT_TRUE(HasArea("palette " + std::to_string(Index))) << Index;
  }
  ASSERT_EQ(Facts["images"].size(), 168u);
  std::set<std::string> MappedHostIds;
  for (size_t Index = 0; Index < 168; Index++) {
    const Json &Image = Facts["images"][Index];
    EXPECT_EQ(Image["id"], Index + 1);
    EXPECT_TRUE(HasArea("image " + std::to_string(Index + 1))) << Index + 1;
    for (const Json &HostId : Image["host_ids"]) {
      EXPECT_EQ(Facts["image_map"][std::to_string(HostId.get<uint32_t>())], Index + 1);
      MappedHostIds.insert(std::to_string(HostId.get<uint32_t>()));
    }
  }
  EXPECT_EQ(MappedHostIds.size(), Facts["image_map"].size()) << "every map entry names one of the images";

  ASSERT_EQ(Facts["screens"].size(), 2u);
  EXPECT_EQ(Facts["screens"][0]["size"], "1920x1080");
  for (const Json &Screen : Facts["screens"]) {
    EXPECT_EQ(Screen["rects"].size(), 10u);
    EXPECT_TRUE(HasArea("screen " + Screen["size"].get<std::string>()));
    for (const Json &Item : Screen["store"]) {
      EXPECT_TRUE(HasArea("store " + Screen["size"].get<std::string>() + " " + Item["item"].get<std::string>()));
    }
  }
}

}  // namespace
}  // namespace preview
