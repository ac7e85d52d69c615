// The drawing host's image operations, called through its tables as the
// plug-in calls them, on images small enough to check pixel by pixel.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/preview/DrawingHost.h"

namespace preview {
namespace {

constexpr uint32_t A = 0xFF0000AA;  // the background of the test images
constexpr uint32_t B = 0xFF00BB00;  // what an operation writes
constexpr uint32_t O = 0x00000000;  // pixels the source never had

// An image Width wide of the pixels given, row by row.
Pixmap Image(int32_t Width, const std::vector<uint32_t> &Pixels) {
  Pixmap Out(Width, static_cast<int32_t>(Pixels.size()) / Width);
  Out.Argb = Pixels;
  return Out;
}

class DrawingHostTest : public ::testing::Test {
 protected:
  DrawingHost Host{1920, 1080};

  THEME_IMAGE Record(const Pixmap &Pixels) { return Host.NewImage(Pixels); }
  const Pixmap &Pixels(const THEME_IMAGE &Image) { return *Host.PixelsOf(&Image); }
};

TEST_F(DrawingHostTest, FillWholeAndRectangleClippedToTheImage) {
  const struct {
    const char *Name;
    bool WithRect;
    HOST_RECT Rect;
    std::vector<uint32_t> Expected;  // 3 x 2
  } Cases[] = {
      {"whole image", false, {}, {B, B, B, B, B, B}},
      {"inner rectangle", true, {1, 0, 2, 1}, {A, B, A, A, A, A}},
      {"rectangle beyond the edges", true, {-5, 1, 9, 9}, {A, A, A, B, B, B}},
      {"empty rectangle", true, {2, 1, 2, 1}, {A, A, A, A, A, A}},
      {"inverted rectangle", true, {2, 2, 0, 0}, {A, A, A, A, A, A}},
  };
  for (const auto &Case : Cases) {
    THEME_IMAGE Target = Record(Pixmap(3, 2, A));
    HOST_RECT Rect = Case.Rect;
    Host.Ui.FillImage(&Target, Case.WithRect ? &Rect : nullptr, B);
    EXPECT_EQ(Pixels(Target).Argb, Case.Expected) << Case.Name;
  }
}

TEST_F(DrawingHostTest, BlitCopiesOnlyWhatBothImagesHold) {
  const Pixmap Source = Image(3, {1, 2, 3,  //
                                  4, 5, 6});
  const struct {
    const char *Name;
    int32_t DestX, DestY, SourceX, SourceY, Width, Height;
    std::vector<uint32_t> Expected;  // 4 x 3, background A
  } Cases[] = {
      {"whole source at the origin", 0, 0, 0, 0, 3, 2, {1, 2, 3, A, 4, 5, 6, A, A, A, A, A}},
      {"block trimmed as the border trim does", 0, 0, 1, 0, 1, 1, {2, A, A, A, A, A, A, A, A, A, A, A}},
      {"over the destination's right and bottom edges", 2, 2, 0, 0, 3, 2, {A, A, A, A, A, A, A, A, A, A, 1, 2}},
      {"from left of the source and above the destination", 0, -1, -1, 0, 3, 2, {A, 4, 5, A, A, A, A, A, A, A, A, A}},
      {"block larger than the source", 1, 1, 0, 0, 9, 9, {A, A, A, A, A, 1, 2, 3, A, 4, 5, 6}},
      {"zero and negative sizes", 0, 0, 0, 0, -3, 0, {A, A, A, A, A, A, A, A, A, A, A, A}},
  };
  for (const auto &Case : Cases) {
    THEME_IMAGE To = Record(Pixmap(4, 3, A));
    THEME_IMAGE From = Record(Source);
    Host.Ui.BlitImage(&To, &From, Case.DestX, Case.DestY, Case.SourceX, Case.SourceY, Case.Width, Case.Height, 0,
                      nullptr);
    EXPECT_EQ(Pixels(To).Argb, Case.Expected) << Case.Name;
  }
}

TEST_F(DrawingHostTest, SetImageColorTakesTheColourWhereTheMaskIsSet) {
  const struct {
    const char *Name;
    uint32_t Mask;
    uint32_t Argb;
    std::vector<uint32_t> Expected;
  } Cases[] = {
      // Transparent pixels stay transparent, so a shape keeps its outline.
      {"whole mask", 0xFFFFFFFF, 0xFFFF8333, {0xFFFF8333, 0xFFFF8333, O}},
      {"colour bits only", 0x00FFFFFF, 0xFFFF8333, {0xFFFF8333, 0x80FF8333, O}},
      {"one channel", 0x000000FF, 0x12345678, {0xFF102078, 0x80405078, O}},
      {"empty mask", 0, 0xFFFFFFFF, {0xFF102030, 0x80405060, O}},
  };
  for (const auto &Case : Cases) {
    // The image a host id resolves to is the host's own stand-in; its
    // record is replaced by one of known pixels through its slot.
    THEME_IMAGE *Slot = Host.Ui.GetImageSlot(2198);
    *Slot = Record(Image(3, {0xFF102030, 0x80405060, O}));
    Host.Ui.SetImageColor(2198, Case.Mask, Case.Argb);
    EXPECT_EQ(Pixels(*Slot).Argb, Case.Expected) << Case.Name;
  }
}

TEST_F(DrawingHostTest, CopiesAndAllocationsGiveRecordsPixelsOfTheirOwn) {
  THEME_IMAGE Source = Record(Image(2, {1, 2}));
  Source.Mode = 4;
  THEME_IMAGE Into{};
  Into.Mode = 1;
  THEME_IMAGE Whole{};
  Host.Ui.CopyImageInto(&Into, &Source);
  Host.Ui.CopyImage(&Whole, &Source);
  Host.Ui.FillImage(&Source, nullptr, B);
  EXPECT_EQ(Pixels(Into).Argb, (std::vector<uint32_t>{1, 2}));
  EXPECT_EQ(Pixels(Whole).Argb, (std::vector<uint32_t>{1, 2}));
  EXPECT_EQ(Into.Mode, 1) << "CopyImageInto keeps the destination's mode";
  EXPECT_EQ(Whole.Mode, 4) << "CopyImage takes the source's mode";
  EXPECT_EQ(Whole.Width, 2u);
  EXPECT_EQ(Whole.Height, 1u);

  THEME_IMAGE Fresh{};
  Host.Ui.AllocImage(&Fresh, 48, 40);
  EXPECT_EQ(Fresh.Width, 48u);
  EXPECT_EQ(Pixels(Fresh).Argb.size(), 48u * 40u);
  Host.Ui.FreeImage(&Fresh);
  EXPECT_TRUE(Pixels(Fresh).Argb.empty());

  // A wrapped negative size is recorded but gets no storage.
  THEME_IMAGE Huge{};
  Host.Ui.AllocImage(&Huge, 0xFFFFFFFE, 3);
  EXPECT_EQ(Huge.Width, 0xFFFFFFFEu);
  EXPECT_TRUE(Pixels(Huge).Argb.empty());
}

TEST(DrawingHostScaling, DesignUnitsRoundToTheNearestScreenPixel) {
  DrawingHost Host(1280, 800);
  const struct {
    int32_t Design;
    int32_t X;
    int32_t Y;
  } Cases[] = {{0, 0, 0}, {3, 2, 2}, {24, 16, 18}, {1920, 1280, 1422}, {-56, -37, -41}, {1081, 721, 801}};
  for (const auto &Case : Cases) {
    EXPECT_EQ(Host.Services.ScaleX(Case.Design), Case.X) << Case.Design;
    EXPECT_EQ(Host.Services.ScaleY(Case.Design), Case.Y) << Case.Design;
  }
  const THEME_RECT Design{1418, 158, 502, 834};
  HOST_RECT Scaled{};
  Host.Services.ScaleRect(&Scaled, &Design);
  EXPECT_EQ(Scaled.Left, 945);
  EXPECT_EQ(Scaled.Top, 117);
  EXPECT_EQ(Scaled.Right, 1280);
  EXPECT_EQ(Scaled.Bottom, 735);
}

// The record outlives the host: once the host is gone, the record must not
// point at its tables.
TEST(DrawingHostAttach, TheRecordLosesTheHostsTablesWithTheHost) {
  THEME_PROVIDER_PROTOCOL Record{};
  {
    DrawingHost Host(1920, 1080);
    Host.AttachTo(&Record);
    EXPECT_EQ(Record.ImageTable, Host.ImageTable);
    EXPECT_EQ(Record.UiTable, &Host.Ui);
    EXPECT_EQ(Record.ServiceTable, &Host.Services);
  }
  EXPECT_EQ(Record.ImageTable, nullptr);
  EXPECT_EQ(Record.UiTable, nullptr);
  EXPECT_EQ(Record.ServiceTable, nullptr);
}

TEST_F(DrawingHostTest, BrushesAndStateSetsAreRecordedInTheStagesNotation) {
  THEME_IMAGE *Theme = &Host.ImageTable[168];
  *Theme = Record(Pixmap(2, 2, B));
  Host.BeginStyling({});
  const UINT32 Colour = Host.Ui.MakeBrush(nullptr, 0xFF7A726F, 1);
  const UINT32 Picture = Host.Ui.MakeBrush(Theme, 0, 0);
  const UINT32 Plain = Host.Ui.MakeBrush(nullptr, 0xFFE5E2E1, 0);
  STATE_BRUSHES First{{static_cast<BRUSH_ID>(Colour), BRUSH_NONE, BRUSH_KEEP, static_cast<BRUSH_ID>(Picture)}};
  STATE_BRUSHES Second{{static_cast<BRUSH_ID>(Colour), static_cast<BRUSH_ID>(Plain), BRUSH_KEEP, BRUSH_KEEP}};
  Host.Ui.SetStateBrushes(kStyledObjectHandle, 6, &First);
  Host.Ui.SetStateBrushes(kStyledObjectHandle, 2, &Second);
  Host.Ui.ObjectRequest(kStyledObjectHandle, 1538, 6, UINT64{Plain} << 32);
  Host.EndStyling();

  const std::vector<std::string> Expected = {
      "state 6: [Color(0xFF7A726F, 1), 0, keep, ThemeImage(168)]",
      "state 2: [same, Color(0xFFE5E2E1), keep, keep]",
      "Req(1538, 6, Color(0xFFE5E2E1) << 32)",
  };
  EXPECT_EQ(Host.Styled().Calls, Expected);
  ASSERT_EQ(Host.Styled().States.size(), 2u);
  EXPECT_EQ(Host.Styled().States.at(6)[1], BRUSH_NONE);
  EXPECT_EQ(Host.Styled().States.at(6)[2], BRUSH_KEEP);
  ASSERT_NE(Host.FindBrush(Picture), nullptr);
  EXPECT_EQ(Host.FindBrush(Picture)->Image, Host.PixelsOf(Theme));
}

}  // namespace
}  // namespace preview
