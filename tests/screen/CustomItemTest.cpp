// The custom-drawn items as the host reaches them: paint and create events
// through the registered hook, after the default handling.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/TraceDiff.h"
#include "screen/EventBench.h"

namespace {

constexpr UINT64 kContext = 0xDC0001;
constexpr UINT64 kChild = 0x0B1E0002;

// A fresh driver attached (hook handle 0x2A7) to a host that holds the
// strip, the picture and the icon image.
struct ItemBench : EventBench {
  ItemBench() {
    mThemeProvider.Notify(0);
    Host.ClearCalls();
    Host.Name(kContext, "ctx");
    Host.Name(kChild, "child");
    Host.Name(Text.c_str(), "text");
    Host.Name(&Font, "font");
    for (UINT32 Id : {1291u, 1330u}) {
      Host.Name(&Host.Image(Id), "img" + std::to_string(Id));
    }
    Host.ImageTable[44] = THEME_IMAGE{16, 140, {}, 0, {}};
    Host.Image(1330) = THEME_IMAGE{420, 420, {}, 0, {}};
    Host.Image(1291) = THEME_IMAGE{24, 24, {}, 0, {}};
  }

  // A paint event on an object at (100, 200)-(500, 260) with Text, a font
  // record and a measured text width of 120 pixels.
  UINT64 PaintWithText() {
    Host.Script(&HOST_UI_TABLE::BeginDraw, {kContext});
    Host.ScriptWrite(&HOST_UI_TABLE::GetObjectRect, HOST_RECT{100, 200, 500, 260});
    Host.Script(&HOST_UI_TABLE::ObjectRequest, {reinterpret_cast<UINT64>(Text.c_str())});
    Host.Script(&HOST_UI_TABLE::GetObjectFont, {&Font});
    Host.ScriptWrite(&HOST_UI_TABLE::MeasureText, HOST_TEXT_SIZE{120, 20});
    return Paint();
  }
  UINT64 Paint() {
    Event.Code = 512;
    return ThemeEventHook(&Event);
  }
  UINT64 Create() {
    Event.Code = 2327;
    return ThemeEventHook(&Event);
  }

  std::u16string Text = u"Network";
  // Host-owned bytes all ones: the theme must pass on the font value alone.
  HOST_FONT_RECORD Font = {0xFFFFFFFFFFFFFFFFULL, 0x00120014, 0xFFFFFFFF};
};

class CustomItem : public ::testing::Test, protected ItemBench {};

TEST_F(CustomItem, PaintDrawsStripPictureAndCentredTextInOneDraw) {
  EXPECT_EQ(PaintWithText(), 0u);
  EXPECT_EQ(Event.Result, 0u);
  EXPECT_TRACE(Host, R"(
    CallDefaultHandler(679, event) -> 0
    BeginDraw(event) -> ctx
    GetObjectRect(obj, ptr) -> 0
    DrawImageAt(ctx, ThemeImage(44), 0, 0, 1) -> 0
    GetImage(1330) -> img1330
    DrawImage(ctx, img1330, {116, 200, 500, 260}, 1) -> 0
    ObjectRequest(obj, 615, 0, 0) -> text
    GetObjectFont(obj, 21) -> font
    SetTextStyle(ctx, 0, 0x120014, 0xFFECEDEE) -> 0
    CopyText("Network", ptr, 80) -> 0
    MeasureText(ctx, "Network", ptr) -> 0
    RectWidth({116, 200, 500, 260}) -> 384
    CenterOffset(384, 120) -> 132
    ScaleY(28) -> 28
    DrawText(ctx, 248, 28, "Network") -> 0
    EndDraw(ctx) -> 0
  )");
}

// The text is placed from the narrowed rectangle's left edge by what the
// host's centring answers, at the scaled design height 28.
TEST_F(CustomItem, TextPositionIsTheHostsCentringAndScaling) {
  const struct {
    const char *Host;
    std::vector<INT32> Centring;
    std::vector<INT32> ScaledY;
    const char *Lines;
  } Cases[] = {
      {"a 1.5 scale", {}, {42}, R"(
        CenterOffset(384, 120) -> 132
        ScaleY(28) -> 42
        DrawText(ctx, 248, 42, "Network") -> 0
      )"},
      {"text wider than the rectangle", {-20}, {37}, R"(
        CenterOffset(384, 120) -> -20
        ScaleY(28) -> 37
        DrawText(ctx, 96, 37, "Network") -> 0
      )"},
  };
  for (const auto &Case : Cases) {
    SCOPED_TRACE(Case.Host);
    Host.ClearCalls();
    for (INT32 Offset : Case.Centring) {
      Host.Script(&HOST_SERVICES_TABLE::CenterOffset, {Offset});
    }
    for (INT32 Pixels : Case.ScaledY) {
      Host.Script(&HOST_SERVICES_TABLE::ScaleY, {Pixels});
    }
    PaintWithText();
    const std::vector<std::string> Tail(Host.Calls().end() - 4, Host.Calls().end() - 1);
    EXPECT_LINES(Tail, Case.Lines);
  }
}

TEST_F(CustomItem, NoDrawContextMeansNothingMoreIsCalled) {
  EXPECT_EQ(Paint(), 0u);
  EXPECT_EQ(Event.Result, 0u);
  EXPECT_TRACE(Host, R"(
    CallDefaultHandler(679, event) -> 0
    BeginDraw(event) -> 0
  )");
}

TEST(CustomItemPaint, WhatTheHostLacksIsLeftOutAndTheDrawStillEnds) {
  const struct {
    const char *Missing;
    bool WithText;
    bool WithFont;
    UINT32 Withheld;
    const char *Calls;
  } Cases[] = {
      {"text: exactly the seven drawing calls", false, true, 0, R"(
        CallDefaultHandler(679, event) -> 0
        BeginDraw(event) -> ctx
        GetObjectRect(obj, ptr) -> 0
        DrawImageAt(ctx, ThemeImage(44), 0, 0, 1) -> 0
        GetImage(1330) -> img1330
        DrawImage(ctx, img1330, {116, 200, 500, 260}, 1) -> 0
        ObjectRequest(obj, 615, 0, 0) -> 0
        EndDraw(ctx) -> 0
      )"},
      {"picture", true, true, 1330, R"(
        CallDefaultHandler(679, event) -> 0
        BeginDraw(event) -> ctx
        GetObjectRect(obj, ptr) -> 0
        DrawImageAt(ctx, ThemeImage(44), 0, 0, 1) -> 0
        GetImage(1330) -> null
        ObjectRequest(obj, 615, 0, 0) -> text
        GetObjectFont(obj, 21) -> font
        SetTextStyle(ctx, 0, 0x120014, 0xFFECEDEE) -> 0
        CopyText("Network", ptr, 80) -> 0
        MeasureText(ctx, "Network", ptr) -> 0
        RectWidth({116, 200, 500, 260}) -> 384
        CenterOffset(384, 120) -> 132
        ScaleY(28) -> 28
        DrawText(ctx, 248, 28, "Network") -> 0
        EndDraw(ctx) -> 0
      )"},
      {"font record", true, false, 0, R"(
        CallDefaultHandler(679, event) -> 0
        BeginDraw(event) -> ctx
        GetObjectRect(obj, ptr) -> 0
        DrawImageAt(ctx, ThemeImage(44), 0, 0, 1) -> 0
        GetImage(1330) -> img1330
        DrawImage(ctx, img1330, {116, 200, 500, 260}, 1) -> 0
        ObjectRequest(obj, 615, 0, 0) -> text
        GetObjectFont(obj, 21) -> null
        EndDraw(ctx) -> 0
      )"},
  };
  for (const auto &Case : Cases) {
    SCOPED_TRACE(Case.Missing);
    ItemBench Bench;
    Bench.Host.Script(&HOST_UI_TABLE::BeginDraw, {kContext});
    Bench.Host.ScriptWrite(&HOST_UI_TABLE::GetObjectRect, HOST_RECT{100, 200, 500, 260});
    if (Case.WithText) {
      Bench.Host.Script(&HOST_UI_TABLE::ObjectRequest, {reinterpret_cast<UINT64>(Bench.Text.c_str())});
    }
    if (Case.WithText && Case.WithFont) {
      Bench.Host.Script(&HOST_UI_TABLE::GetObjectFont, {&Bench.Font});
      Bench.Host.ScriptWrite(&HOST_UI_TABLE::MeasureText, HOST_TEXT_SIZE{120, 20});
    }
    if (Case.Withheld != 0) {
      Bench.Host.Withhold(Case.Withheld);
    }
    EXPECT_EQ(Bench.Paint(), 0u);
    EXPECT_EQ(Bench.Event.Result, 0u);
    EXPECT_TRACE(Bench.Host, Case.Calls);
  }
}

// At most 80 characters of the object's text reach the screen, and a host
// that fills all 80 leaves no terminator: the buffer must still end it.
TEST_F(CustomItem, TextIsCutToEightyCharactersAndStaysTerminated) {
  for (size_t Length : {1u, 79u, 80u, 81u, 200u}) {
    SCOPED_TRACE(Length);
    std::u16string Long;
    for (size_t Index = 0; Index < Length; Index++) {
      Long += static_cast<char16_t>(u'A' + Index % 26);
    }
    Text = Long;
    Host.Name(Text.c_str(), "text");
    const size_t Before = Host.DrawnTexts().size();
    PaintWithText();
    ASSERT_EQ(Host.DrawnTexts().size(), Before + 1);
    EXPECT_EQ(Host.DrawnTexts().back(), Long.substr(0, 80));
  }
}

TEST_F(CustomItem, CreateAddsTheIconChildLeftOfTheReportedExtent) {
  Host.ScriptWrite(&HOST_UI_TABLE::QueryObjectValue, UINT32{1000});
  Host.Script(&HOST_UI_TABLE::CreateObject, {kChild});
  EXPECT_EQ(Create(), 0u);
  EXPECT_EQ(Event.Result, 0u);
  EXPECT_TRACE(Host, R"(
    CallDefaultHandler(679, event) -> 0
    GetImage(1291) -> img1291
    QueryObjectValue(obj, ptr) -> 0
    ScaleX(56) -> 56
    ScaleY(24) -> 24
    ScaleX(24) -> 24
    ScaleY(24) -> 24
    CreateObject(0x1900000, obj, 944, 24, 24, 24) -> child
    ObjectRequest(child, 613, 2, 0) -> 0
    ObjectRequest(child, 1539, 6, 1291) -> 0
    ObjectRequest(child, 1539, 2, 1292) -> 0
    ObjectRequest(child, 1549, 1, 0) -> 0
  )");
}

TEST_F(CustomItem, ChildPlacementFollowsTheHostsScalingInThirtyTwoBits) {
  const struct {
    const char *Setting;
    UINT32 Extent;
    std::vector<INT32> ScaledX, ScaledY;
    const char *Created;
  } Cases[] = {
      {"a 1.5 scale", 1000, {84, 36}, {36, 36}, "CreateObject(0x1900000, obj, 916, 36, 36, 36) -> child"},
      {"an extent smaller than the gap", 20, {}, {}, "CreateObject(0x1900000, obj, -36, 24, 24, 24) -> child"},
      {"an extent past INT32", 0x80000010, {}, {}, "CreateObject(0x1900000, obj, 2147483608, 24, 24, 24) -> child"},
  };
  for (const auto &Case : Cases) {
    SCOPED_TRACE(Case.Setting);
    Host.ClearCalls();
    Host.ScriptWrite(&HOST_UI_TABLE::QueryObjectValue, Case.Extent);
    Host.Script(&HOST_UI_TABLE::CreateObject, {kChild});
    for (INT32 Pixels : Case.ScaledX) {
      Host.Script(&HOST_SERVICES_TABLE::ScaleX, {Pixels});
    }
    for (INT32 Pixels : Case.ScaledY) {
      Host.Script(&HOST_SERVICES_TABLE::ScaleY, {Pixels});
    }
    EXPECT_EQ(Create(), 0u);
    ASSERT_GE(Host.Calls().size(), 8u);
    EXPECT_EQ(Host.Calls()[7], Case.Created);
  }
}

TEST(CustomItemCreate, WithoutIconImageOrChildStillAnswersZero) {
  const struct {
    const char *Missing;
    bool WithIcon;
    const char *Calls;
  } Cases[] = {
      {"icon image", false, R"(
        CallDefaultHandler(679, event) -> 0
        GetImage(1291) -> null
      )"},
      {"child object", true, R"(
        CallDefaultHandler(679, event) -> 0
        GetImage(1291) -> img1291
        QueryObjectValue(obj, ptr) -> 0
        ScaleX(56) -> 56
        ScaleY(24) -> 24
        ScaleX(24) -> 24
        ScaleY(24) -> 24
        CreateObject(0x1900000, obj, -56, 24, 24, 24) -> 0
      )"},
  };
  for (const auto &Case : Cases) {
    SCOPED_TRACE(Case.Missing);
    ItemBench Bench;
    if (!Case.WithIcon) {
      Bench.Host.Withhold(1291);
    }
    EXPECT_EQ(Bench.Create(), 0u);
    EXPECT_EQ(Bench.Event.Result, 0u);
    EXPECT_TRACE(Bench.Host, Case.Calls);
  }
}

}  // namespace
