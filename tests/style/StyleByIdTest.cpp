// Styling by object identifier: every identifier's whole trace, written out
// from its row. Each case also carries class 9 and part code 0x2200, which
// the later stages would style: their calls must not appear.
#include "style/StyleBench.h"

namespace {

using namespace style_bench;

constexpr UINT16 kStyledClass = 9;
constexpr UINT16 kStyledPart = 0x2200;

void ChildFound(RecordingHost &Host) { Host.Script(&HOST_UI_TABLE::FindChild, {kChild}); }

void AreaAndScaledInset(RecordingHost &Host) {
  Host.ScriptWrite(&HOST_UI_TABLE::GetObjectArea, OBJECT_AREA{100, 150});
  Host.Script(&HOST_SERVICES_TABLE::ScaleY, {30, 31});
}

const char kShrunkArea[] = R"(
  GetObjectArea(obj, ptr) -> 0
  ScaleY(24) -> 30
  SetObjectArea(obj, 0, {Horizontal 100, Vertical 90}, 0) -> 0
  ScaleY(24) -> 31
  ObjectRequest(obj, 524, 31, 0xFF212121) -> 0
)";

const char kRaisedAccent[] = R"(
  MakeBrush(null, 0xFFA0A0A0, 1) -> 0x9E5A1001
  SetStateBrushes(obj, 1, [keep, keep, keep, 0x1001]) -> 0
)";

const STYLE_CASE kIdRows[] = {
    {"0x14531000", kStyledClass, kStyledPart, 0x14531000, R"(
      MakeBrush(null, 0xFF7A726F, 0) -> 0x9E5A1001
      MakeBrush(null, 0xFF1E1B1A, 0) -> 0x9E5A1002
      MakeBrush(null, 0xFF7A726F, 1) -> 0x9E5A1003
      SetStateBrushes(obj, 6, [0x1001, 0x1002, keep, 0x1003]) -> 0
      MakeBrush(null, 0xFFE5E2E1, 0) -> 0x9E5A1004
      MakeBrush(null, 0xFF1E1B1A, 0x1FFFFFFF) -> 0x9E5A1005
      MakeBrush(null, 0xFFB1A6A2, 1) -> 0x9E5A1006
      SetStateBrushes(obj, 5, [0x1004, 0x1005, keep, 0x1006]) -> 0
    )"},
    {"0x14531001", kStyledClass, kStyledPart, 0x14531001, R"(
      ObjectRequest(obj, 1540, 6, 0xFF7A726F) -> 0
    )"},
    {"0x19592000", kStyledClass, kStyledPart, 0x19592000, kRaisedAccent},
    {"0x19592001", kStyledClass, kStyledPart, 0x19592001, kRaisedAccent},
    {"0x19592002", kStyledClass, kStyledPart, 0x19592002, R"(
      MakeBrush(null, 0xFFE5E2E1, 0) -> 0x9E5A1001
      SetStateBrushes(obj, 0, [0x1001, keep, keep, keep]) -> 0
    )"},
    {"0x20241079", kStyledClass, kStyledPart, 0x20241079, R"(
      MakeBrush(ThemeImage(168), 0, 0) -> 0x9E5A1001
      ObjectRequest(obj, 642, 5, 0x9E5A1001) -> 0
      MakeBrush(ThemeImage(167), 0, 0) -> 0x9E5A1002
      ObjectRequest(obj, 642, 2, 0x9E5A1002) -> 0
    )"},
    {"0x39000000: request to the child, sets to the object", kStyledClass, kStyledPart, 0x39000000, R"(
      FindChild(obj, 0x1100000) -> child
      ObjectRequest(child, 521, 0, 0) -> 0
      SetStateBrushes(obj, 0, [keep, keep, keep, 0]) -> 0
      SetStateBrushes(obj, 1, [keep, keep, keep, 0]) -> 0
    )", ChildFound},
    {"0x39001003", kStyledClass, kStyledPart, 0x39001003, kShrunkArea, AreaAndScaledInset},
    {"0x39001004", kStyledClass, kStyledPart, 0x39001004, kShrunkArea, AreaAndScaledInset},
    {"0x39001005", kStyledClass, kStyledPart, 0x39001005, kShrunkArea, AreaAndScaledInset},
    // Attribute 69641 is 0x11009: the trace prints codes above 0xFFFF in hex.
    {"0xA0000000: brush first, then two halves of 24", kStyledClass, kStyledPart, 0xA0000000, R"(
      GetImage(9) -> HostImage(9)
      MakeBrush(HostImage(9), 0, 0) -> 0x9E5A1001
      SetObjectAttribute(obj, 0x11009, 0x9E5A1001, 0x180018) -> 0
    )"},
    {"0xA0001001", kStyledClass, kStyledPart, 0xA0001001, R"(
      MakeBrush(ThemeImage(148), 0, 0) -> 0x9E5A1001
      ObjectRequest(obj, 642, 1, 0x9E5A1001) -> 0
    )"},
    {"0xA0001002", kStyledClass, kStyledPart, 0xA0001002, R"(
      MakeBrush(ThemeImage(152), 0, 0) -> 0x9E5A1001
      ObjectRequest(obj, 642, 1, 0x9E5A1001) -> 0
    )"},
    {"0xA0001003", kStyledClass, kStyledPart, 0xA0001003, R"(
      MakeBrush(ThemeImage(156), 0, 0) -> 0x9E5A1001
      ObjectRequest(obj, 642, 1, 0x9E5A1001) -> 0
    )"},
    {"0xA0001004", kStyledClass, kStyledPart, 0xA0001004, R"(
      MakeBrush(null, 0xFF52525B, 0) -> 0x9E5A1001
      ObjectRequest(obj, 640, 1, 0x9E5A1001) -> 0
      MakeBrush(ThemeImage(164), 0, 0) -> 0x9E5A1002
      ObjectRequest(obj, 642, 1, 0x9E5A1002) -> 0
      MakeBrush(ThemeImage(160), 0, 0) -> 0x9E5A1003
      ObjectRequest(obj, 641, 1, 0x9E5A1003) -> 0
    )"},
    {"0xA2000201: plain 0xFFFF values, no brush", kStyledClass, kStyledPart, 0xA2000201, R"(
      ApplyDecoration(obj, 2084, [0xFFFF, 0xFFFF, 0, 0, 0, 0]) -> 0
    )"},
    {"0xB0000000", kStyledClass, kStyledPart, 0xB0000000, R"(
      MakeBrush(null, 0xFF7A726F, 1) -> 0x9E5A1001
      SetStateBrushes(obj, 6, [keep, 0, 0, 0x1001]) -> 0
    )"},
    {"0xB0002004: two separate 0xFFE5E2E1 brushes", kStyledClass, kStyledPart, 0xB0002004, R"(
      MakeBrush(null, 0x14000000, 0) -> 0x9E5A1001
      MakeBrush(null, 0xFF484341, 0) -> 0x9E5A1002
      SetStateBrushes(obj, 0, [keep, 0x1001, keep, 0x1002]) -> 0
      MakeBrush(null, 0xFFE5E2E1, 1) -> 0x9E5A1003
      ObjectRequest(obj, 640, 4, 0x9E5A1003) -> 0
      MakeBrush(null, 0xFFE5E2E1, 1) -> 0x9E5A1004
      ObjectRequest(obj, 643, 1, 0x9E5A1004) -> 0
      MakeBrush(null, 0xFF968C88, 1) -> 0x9E5A1005
      ObjectRequest(obj, 643, 2, 0x9E5A1005) -> 0
    )"},
};

TEST(StyleById, EveryIdentifierMakesExactlyTheCallsOfItsRow) { RunStyleCases(kIdRows); }

void AreaNearTheLimitAndNegativeInset(RecordingHost &Host) {
  Host.ScriptWrite(&HOST_UI_TABLE::GetObjectArea, OBJECT_AREA{-7, INT32_MIN + 10});
  Host.Script(&HOST_SERVICES_TABLE::ScaleY, {30, -24});
}

// What only the part stage would do for part code 0x2200.
const char kPart2200[] = R"(
  MakeBrush(null, 0xFF615B58, 1) -> 0x9E5A1001
  SetStateBrushes(obj, 1, [keep, keep, keep, 0x1001]) -> 0
)";

const STYLE_CASE kIdEdges[] = {
    // The area wraps in 32 bits rather than overflowing; the request index is
    // the second ScaleY answer sign-extended to 64 bits.
    {"0x39001004 with a negative inset", kStyledClass, kStyledPart, 0x39001004, R"(
      GetObjectArea(obj, ptr) -> 0
      ScaleY(24) -> 30
      SetObjectArea(obj, 0, {Horizontal -7, Vertical 2147483598}, 0) -> 0
      ScaleY(24) -> -24
      ObjectRequest(obj, 524, 0xFFFFFFFFFFFFFFE8, 0xFF212121) -> 0
    )", AreaNearTheLimitAndNegativeInset},
    {"0x39000000 whose child is missing", kStyledClass, kStyledPart, 0x39000000, R"(
      FindChild(obj, 0x1100000) -> 0
      ObjectRequest(0, 521, 0, 0) -> 0
      SetStateBrushes(obj, 0, [keep, keep, keep, 0]) -> 0
      SetStateBrushes(obj, 1, [keep, keep, keep, 0]) -> 0
    )"},
    {"0xA0000000 whose host image is missing", kStyledClass, kStyledPart, 0xA0000000, R"(
      GetImage(9) -> null
      MakeBrush(null, 0, 0) -> 0x9E5A1001
      SetObjectAttribute(obj, 0x11009, 0x9E5A1001, 0x180018) -> 0
    )", [](RecordingHost &Host) { Host.Script(&HOST_UI_TABLE::GetImage, {nullptr}); }},
    {"one below the area rows goes on", kStyledClass, kStyledPart, 0x39001002, kPart2200},
    {"one above the area rows goes on", kStyledClass, kStyledPart, 0x39001006, kPart2200},
    {"identifier 0 goes on", kStyledClass, kStyledPart, 0, kPart2200},
    {"identifiers that share the low 16 bits of a row go on", kStyledClass, kStyledPart, 0x00001000, kPart2200},
    {"a listed identifier with the high half of another", kStyledClass, kStyledPart, 0x14532004, kPart2200},
};

TEST(StyleById, IdentifiersCompareInAll32BitsAndOthersGoToThePartStage) { RunStyleCases(kIdEdges); }

// The host may leave junk above the declared widths; the class and part code
// count in their low 16 bits, the identifier in its 32.
TEST(StyleById, ArgumentBitsAboveTheirWidthsAreIgnored) {
  typedef UINTN(EFIAPI * WIDE_STYLE_OBJECT)(UINT64, UINT64, UINT64, UINT64);
  const struct {
    UINT64 Class;
    UINT64 PartCode;
    UINT64 ObjectId;
    const char *Expected;
  } Cases[] = {
      {0xDEAD0009, 0xBEEF0000, 0xFFFFFFFF14531001ULL, "ObjectRequest(obj, 1540, 6, 0xFF7A726F) -> 0"},
      {0xDEAD0009, 0xBEEF2200, 0xFFFFFFFF00000000ULL, kPart2200},
      {0xDEAD001B, 0xFFFF1104, 0xABCD000000000000ULL, "ObjectRequest(obj, 524, 0, 0xFFFFFFFF) -> 0"},
  };
  for (const auto &Case : Cases) {
    FreshDriverState Fresh;
    RecordingHost Host;
    Host.AttachTo(&mThemeProvider);
    Host.UseWideBrushIds();
    NameHandles(Host);
    const auto Wide = reinterpret_cast<WIDE_STYLE_OBJECT>(reinterpret_cast<VOID *>(mThemeProvider.StyleObject));
    EXPECT_EQ(Wide(kObject, Case.Class, Case.PartCode, Case.ObjectId), 0u);
    EXPECT_TRACE(Host, Case.Expected);
  }
}

}  // namespace
