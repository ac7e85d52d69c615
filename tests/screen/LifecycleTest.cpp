// The lifecycle notifications and the event hook as the host drives them:
// through the record's Notify operation and the hook it was given.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "screen/EventBench.h"

namespace {

struct HookBench : EventBench {
  HookBench() {
    Host.Name(&mEventHookHandle, "&mEventHookHandle");
    Host.Name(reinterpret_cast<const void *>(&ThemeEventHook), "ThemeEventHook");
  }
};

class Lifecycle : public ::testing::Test, protected HookBench {};

TEST(ThemeNotify, EachTypeMakesItsHostCallsAndReturnsItsStatus) {
  const struct {
    const char *Behaviour;
    UINT32 Type;
    std::vector<EFI_STATUS> Announced;  // what ThemeAttached or ThemeDetached answers
    EFI_STATUS Status;
    const char *Calls;
  } Cases[] = {
      {"attach registers the hook, then announces", 0, {}, EFI_SUCCESS, R"(
        AddEventHook(ThemeEventHook, 21, 0, &mEventHookHandle) -> 0 [handle 0x2A7]
        ThemeAttached(mThemeProvider) -> 0
      )"},
      {"a refused attachment is the result; the hook stays", 0, {EFI_UNSUPPORTED}, EFI_UNSUPPORTED, R"(
        AddEventHook(ThemeEventHook, 21, 0, &mEventHookHandle) -> 0 [handle 0x2A7]
        ThemeAttached(mThemeProvider) -> 0x8000000000000003
      )"},
      {"type 2 asks nothing of the host", 2, {}, EFI_SUCCESS, ""},
      {"detach without attach passes handle 0", 3, {}, EFI_SUCCESS, R"(
        RemoveEventHook(0) -> 0
        ThemeDetached(mThemeProvider) -> 0
      )"},
      {"a refused detachment is the result", 3, {EFI_NOT_FOUND}, EFI_NOT_FOUND, R"(
        RemoveEventHook(0) -> 0
        ThemeDetached(mThemeProvider) -> 0x800000000000000E
      )"},
      {"type 4 is refused", 4, {}, EFI_INVALID_PARAMETER, ""},
      {"type 0x80000000 is refused", 0x80000000, {}, EFI_INVALID_PARAMETER, ""},
      {"type 0xFFFFFFFF is refused", 0xFFFFFFFF, {}, EFI_INVALID_PARAMETER, ""},
  };
  for (const auto &Case : Cases) {
    SCOPED_TRACE(Case.Behaviour);
    HookBench Bench;
    for (EFI_STATUS Status : Case.Announced) {
      if (Case.Type == 0) {
        Bench.Host.Script(&HOST_UI_TABLE::ThemeAttached, {Status});
      } else {
        Bench.Host.Script(&HOST_UI_TABLE::ThemeDetached, {Status});
      }
    }
    EXPECT_EQ(mThemeProvider.Notify(Case.Type), Case.Status);
    EXPECT_TRACE(Bench.Host, Case.Calls);
  }
}

TEST_F(Lifecycle, DetachRemovesTheNewestHandleAndKeepsIt) {
  Host.ScriptWrite(&HOST_UI_TABLE::AddEventHook, UINT16{0x31});
  mThemeProvider.Notify(0);
  mThemeProvider.Notify(0);
  mThemeProvider.Notify(3);
  EXPECT_TRACE(Host, R"(
    AddEventHook(ThemeEventHook, 21, 0, &mEventHookHandle) -> 0 [handle 0x31]
    ThemeAttached(mThemeProvider) -> 0
    AddEventHook(ThemeEventHook, 21, 0, &mEventHookHandle) -> 0 [handle 0x2A7]
    ThemeAttached(mThemeProvider) -> 0
    RemoveEventHook(679) -> 0
    ThemeDetached(mThemeProvider) -> 0
  )");
  EXPECT_EQ(mEventHookHandle, 0x2A7) << "kept after removal";
}

// Only the three codes, compared whole, are the theme's.
TEST_F(Lifecycle, OtherEventsGoBackUnhandledAndUntouched) {
  HOST_RECT Area = {0, 0, 1920, 1080};
  Event.Data = &Area;
  for (UINT64 Code : {0ULL, 511ULL, 513ULL, 634ULL, 2326ULL, 0x100000200ULL, 0x10000027BULL, 0x8000000000000917ULL,
                      0xFFFFFFFFFFFFFFFFULL}) {
    SCOPED_TRACE(Code);
    Event.Code = Code;
    const HOST_EVENT Before = Event;
    EXPECT_EQ(ThemeEventHook(&Event), 0x7FFFFFFFFFFFFFE0ULL);
    EXPECT_EQ(memcmp(&Event, &Before, sizeof(Event)), 0);
    EXPECT_EQ(Area.Left, 0);
    EXPECT_EQ(Area.Bottom, 1080);
  }
  EXPECT_TRACE(Host, "");
}

TEST(LayoutEvent, NarrowsTheAreaByScaledInsetsWithoutDefaultHandling) {
  const struct {
    const char *Scaling;
    std::vector<INT32> ScaledX, ScaledY;
    HOST_RECT Before, After;
    const char *Calls;
  } Cases[] = {
      {"identity", {}, {}, {0, 0, 1920, 1080}, {56, 64, 1880, 1016}, R"(
        ScaleX(56) -> 56
        ScaleX(40) -> 40
        ScaleY(64) -> 64
        ScaleY(64) -> 64
      )"},
      {"a 2560 x 1440 screen", {75, 53}, {85, 86}, {10, 20, 2560, 1440}, {85, 105, 2507, 1354}, R"(
        ScaleX(56) -> 75
        ScaleX(40) -> 53
        ScaleY(64) -> 85
        ScaleY(64) -> 86
      )"},
      {"edges past the 32-bit range wrap", {1}, {}, {0x7FFFFFFF, 0, -0x7FFFFFFF - 1, 1080}, {-0x7FFFFFFF - 1, 64, 0x7FFFFFD8, 1016}, R"(
        ScaleX(56) -> 1
        ScaleX(40) -> 40
        ScaleY(64) -> 64
        ScaleY(64) -> 64
      )"},
  };
  for (const auto &Case : Cases) {
    SCOPED_TRACE(Case.Scaling);
    HookBench Bench;
    for (INT32 Pixels : Case.ScaledX) {
      Bench.Host.Script(&HOST_SERVICES_TABLE::ScaleX, {Pixels});
    }
    for (INT32 Pixels : Case.ScaledY) {
      Bench.Host.Script(&HOST_SERVICES_TABLE::ScaleY, {Pixels});
    }
    HOST_RECT Area = Case.Before;
    Bench.Event.Code = 635;
    Bench.Event.Data = &Area;
    EXPECT_EQ(ThemeEventHook(&Bench.Event), 0u);
    EXPECT_EQ(Bench.Event.Result, 0u);
    EXPECT_EQ(Area.Left, Case.After.Left);
    EXPECT_EQ(Area.Top, Case.After.Top);
    EXPECT_EQ(Area.Right, Case.After.Right);
    EXPECT_EQ(Area.Bottom, Case.After.Bottom);
    EXPECT_TRACE(Bench.Host, Case.Calls);
  }
}

TEST_F(Lifecycle, LayoutEventWithoutAnAreaIsLeftToTheHost) {
  Event.Code = 635;
  EXPECT_EQ(ThemeEventHook(&Event), 0x7FFFFFFFFFFFFFE0ULL);
  EXPECT_EQ(Event.Result, kUntouched);
  EXPECT_TRACE(Host, "");
}

// The default handling runs first and once, under the registered handle.
TEST_F(Lifecycle, PaintAndCreateEventsRunTheDefaultHandlingFirst) {
  mThemeProvider.Notify(0);
  Host.ClearCalls();
  Host.Withhold(1291);
  Event.Code = 512;
  EXPECT_EQ(ThemeEventHook(&Event), 0u);
  EXPECT_EQ(Event.Result, 0u);
  Event.Code = 2327;
  Event.Result = kUntouched;
  EXPECT_EQ(ThemeEventHook(&Event), 0u);
  EXPECT_EQ(Event.Result, 0u);
  EXPECT_TRACE(Host, R"(
    CallDefaultHandler(679, event) -> 0
    BeginDraw(event) -> 0
    CallDefaultHandler(679, event) -> 0
    GetImage(1291) -> null
  )");
}

}  // namespace
