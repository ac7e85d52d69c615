// The recording host itself: it must behave enough like a host, and say
// enough in its traces, for styling and screen tests to state their tables.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <functional>

#include "fakes/DriverState.h"

namespace {

constexpr UINT64 kObject = 0x0B1E0001;
constexpr UINT64 kContext = 0xDC0001;

class RecordingHostBench : public ::testing::Test {
 protected:
  RecordingHostBench() {
    Host.Name(kObject, "obj");
    Host.Name(kContext, "ctx");
  }
  FreshDriverState Fresh;
  RecordingHost Host;
};

TEST_F(RecordingHostBench, BrushIdsAreDistinctAndCountUp) {
  EXPECT_EQ(Host.Ui.MakeBrush(nullptr, 0xFFE5E2E1, 0), 0x1001u);
  EXPECT_EQ(Host.Ui.MakeBrush(nullptr, 0xFFE5E2E1, 0), 0x1002u) << "equal arguments, a new brush";
  EXPECT_EQ(Host.Ui.MakeBrush(&Host.ImageTable[3], 0, 0), 0x1003u);
  EXPECT_TRACE(Host, R"(
    MakeBrush(null, 0xFFE5E2E1, 0) -> 0x1001
    MakeBrush(null, 0xFFE5E2E1, 0) -> 0x1002
    MakeBrush(ThemeImage(3), 0, 0) -> 0x1003
  )");
}

TEST_F(RecordingHostBench, WideBrushIdsExceedSixteenBitsAndLeaveJunkAboveThirtyTwo) {
  Host.UseWideBrushIds();
  EXPECT_EQ(Host.Ui.MakeBrush(nullptr, 0, 0), 0x9E5A1001u);
  // What RAX holds: a plug-in reading more than the declared UINT32 sees junk.
  const auto WholeRegister = reinterpret_cast<UINT64(EFIAPI *)(THEME_IMAGE *, UINT32, UINT32)>(reinterpret_cast<VOID *>(Host.Ui.MakeBrush));
  EXPECT_EQ(WholeRegister(nullptr, 0, 0), 0xA5A5A5A59E5A1002ULL);
  EXPECT_TRACE(Host, R"(
    MakeBrush(null, 0, 0) -> 0x9E5A1001
    MakeBrush(null, 0, 0) -> 0x9E5A1002
  )");
}

TEST_F(RecordingHostBench, RecordsAreDecodedInTheTraceLine) {
  STATE_BRUSHES Brushes = {{0x1001, BRUSH_KEEP, BRUSH_NONE, 0x1002}};
  DECORATION_DESC Descriptor = {kObject, 2067, {0, 0, 0x90D4D4D4, 0x90D4D4D4, 1, 0}};
  DECORATION_DESC Brushed = {kObject, 2084, {0xFFFF, 0xFFFF, 0x9E5A1001, 0, 0, 0}};
  OBJECT_AREA Area = {100, 152};
  HOST_RECT Rect = {-1, 2, 1920, 1080};
  CHAR16 Text[] = u"Text";
  CHAR16 Quoted[] = u"a\"b\\c\x00E9";
  CHAR16 Long[] = u"0123456789012345678901234567890123456789";
  THEME_IMAGE Image{};
  Host.Name(&Image, "image");
  const struct {
    std::function<void()> Call;
    const char *Line;
  } Cases[] = {
      {[&] { Host.Ui.SetStateBrushes(kObject, 2, &Brushes); }, "SetStateBrushes(obj, 2, [0x1001, keep, 0, 0x1002]) -> 0"},
      {[&] { Host.Ui.ApplyDecoration(&Descriptor); }, "ApplyDecoration(obj, 2067, [0, 0, 0x90D4D4D4, 0x90D4D4D4, 1, 0]) -> 0"},
      {[&] { Host.Ui.ApplyDecoration(&Brushed); }, "ApplyDecoration(obj, 2084, [0xFFFF, 0xFFFF, 0x9E5A1001, 0, 0, 0]) -> 0"},
      {[&] { Host.Ui.ApplyDecoration(nullptr); }, "ApplyDecoration(null) -> 0"},
      {[&] { Host.Ui.SetObjectArea(kObject, 0, &Area, 0); }, "SetObjectArea(obj, 0, {Horizontal 100, Vertical 152}, 0) -> 0"},
      {[&] { Host.Ui.DrawText(kContext, 10, 28, Text); }, "DrawText(ctx, 10, 28, \"Text\") -> 0"},
      {[&] { Host.Ui.DrawText(kContext, -4, 0, Quoted); }, "DrawText(ctx, -4, 0, \"a\\\"b\\\\c\\u00E9\") -> 0"},
      {[&] { Host.Ui.DrawText(kContext, 0, 0, Long); }, "DrawText(ctx, 0, 0, \"01234567890123456789012345678901\"...) -> 0"},
      {[&] { Host.Ui.FillImage(&Image, &Rect, 0xFF000000); }, "FillImage(image, {-1, 2, 1920, 1080}, 0xFF000000) -> 0"},
      {[&] { Host.Ui.FillImage(&Image, nullptr, 0xFF000000); }, "FillImage(image, null, 0xFF000000) -> 0"},
      {[&] { Host.Ui.DrawImage(kContext, &Image, &Rect, 1); }, "DrawImage(ctx, image, {-1, 2, 1920, 1080}, 1) -> 0"},
      {[&] { Host.Services.InflateRect(&Rect, -3, 4); }, "InflateRect({-1, 2, 1920, 1080}, -3, 4) -> 0"},
      // Out-parameters hold nothing yet: shown as pointers.
      {[&] { Host.Ui.GetObjectRect(kObject, &Rect); }, "GetObjectRect(obj, ptr) -> 0"},
      {[&] { Host.Services.SetRect(&Rect, 1, 2, 3, 4); }, "SetRect(ptr, 1, 2, 3, 4) -> 0"},
      {[&] { Host.Ui.MeasureText(kContext, Text, &Area); }, "MeasureText(ctx, \"Text\", ptr) -> 0"},
  };
  for (const auto &Case : Cases) {
    Host.ClearCalls();
    Case.Call();
    EXPECT_TRACE(Host, Case.Line);
  }
}

TEST_F(RecordingHostBench, EventHookHandleIsWrittenAndShown) {
  UINT16 Handle = 0;
  Host.Name(&Handle, "&handle");
  Host.Ui.AddEventHook(nullptr, 21, 0, &Handle);
  EXPECT_EQ(Handle, 0x2A7);
  EXPECT_TRACE(Host, "AddEventHook(null, 21, 0, &handle) -> 0 [handle 0x2A7]");
}

TEST_F(RecordingHostBench, ScriptedResultsAndWritesAreTypedAndUsedInOrder) {
  THEME_IMAGE Image{};
  Host.Image(877) = THEME_IMAGE{};
  Host.Script(&HOST_UI_TABLE::GetObjectTag, {1599, 7});
  Host.Script(&HOST_UI_TABLE::GetImage, {nullptr, &Image});
  Host.Script(&HOST_SERVICES_TABLE::ScaleX, {-5});
  Host.ScriptWrite(&HOST_UI_TABLE::GetObjectArea, OBJECT_AREA{100, 150});
  EXPECT_EQ(Host.Ui.GetObjectTag(kObject), 1599);
  EXPECT_EQ(Host.Ui.GetObjectTag(kObject), 7);
  EXPECT_EQ(Host.Ui.GetObjectTag(kObject), 0) << "the script is used up";
  EXPECT_EQ(Host.Ui.GetImage(877), nullptr);
  EXPECT_EQ(Host.Ui.GetImage(877), &Image);
  EXPECT_EQ(Host.Ui.GetImage(877), &Host.Image(877));
  EXPECT_EQ(Host.Services.ScaleX(3), -5);
  OBJECT_AREA Area{};
  Host.Ui.GetObjectArea(kObject, &Area);
  EXPECT_EQ(Area.Horizontal, 100);
  EXPECT_EQ(Area.Vertical, 150);
}

void LeaveAScriptUnused() {
  RecordingHost Host;
  Host.Script(&HOST_UI_TABLE::GetObjectTag, {1599});
}

void LeaveAWriteUnused() {
  RecordingHost Host;
  Host.ScriptWrite(&HOST_UI_TABLE::GetObjectRect, HOST_RECT{1, 2, 3, 4});
}

void CallAnUnlistedSlot() {
  RecordingHost Host;
  reinterpret_cast<UINTN(EFIAPI *)()>(Host.Ui.Slot[12])();
}

TEST(RecordingHostFailures, UnusedScriptsAndUnlistedSlotsFailTheTest) {
  EXPECT_NONFATAL_FAILURE(LeaveAScriptUnused(), "scripted results of GetObjectTag never used: 1599");
  EXPECT_NONFATAL_FAILURE(LeaveAWriteUnused(), "1 scripted write(s) of GetObjectRect never used");
  EXPECT_NONFATAL_FAILURE(CallAnUnlistedSlot(), "unlisted host UI slot 12");
}

TEST_F(RecordingHostBench, MismatchingTracePrintsAsLineDiff) {
  Host.Ui.GetObjectTag(kObject);
  Host.Ui.GetObjectParent(kObject);
  Host.Ui.EndDraw(kContext);
  const ::testing::AssertionResult Result = Host.TraceIs(R"(
    GetObjectTag(obj) -> 0
    GetObjectParent(ctx) -> 0
    EndDraw(ctx) -> 0
  )");
  EXPECT_FALSE(Result);
  EXPECT_STREQ(Result.message(),
               "host calls differ (- expected, + actual):\n"
               "  GetObjectTag(obj) -> 0\n"
               "- GetObjectParent(ctx) -> 0\n"
               "+ GetObjectParent(obj) -> 0\n"
               "  EndDraw(ctx) -> 0\n");
}

}  // namespace
