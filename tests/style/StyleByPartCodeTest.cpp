// Styling by part code: every part code's lines, each class line and
// "other", with their whole traces written out from the rows. The object
// identifier 0x5A5A5A5A is not one of the identifier stage's.
#include "style/StyleBench.h"

namespace {

using namespace style_bench;

constexpr UINT32 kUnlistedId = 0x5A5A5A5A;
constexpr UINT16 kClassWithOwnLook = 9;  // the class stage would style it

const char kPart1101[] = R"(
  MakeBrush(null, 0xFFECEDEE, 0) -> 0x9E5A1001
  GetImage(1104) -> HostImage(1104)
  MakeBrush(HostImage(1104), 0, 0) -> 0x9E5A1002
  SetStateBrushes(obj, 6, [0x1001, 0x1002, keep, keep]) -> 0
  GetImage(1105) -> HostImage(1105)
  MakeBrush(HostImage(1105), 0, 0) -> 0x9E5A1003
  SetStateBrushes(obj, 2, [0x1001, 0x1003, keep, keep]) -> 0
  GetImage(1106) -> HostImage(1106)
  MakeBrush(HostImage(1106), 0, 0) -> 0x9E5A1004
  SetStateBrushes(obj, 5, [0x1001, 0x1004, keep, keep]) -> 0
  GetImage(1108) -> HostImage(1108)
  MakeBrush(HostImage(1108), 0, 0) -> 0x9E5A1005
  SetStateBrushes(obj, 3, [0x1001, 0x1005, keep, keep]) -> 0
  MakeBrush(null, 0xFF3F3F46, 0) -> 0x9E5A1006
  GetImage(1107) -> HostImage(1107)
  MakeBrush(HostImage(1107), 0, 0) -> 0x9E5A1007
  SetStateBrushes(obj, 1, [0x1006, 0x1007, keep, keep]) -> 0
)";

// Request 1550 answers 5: host images 2233 and 2203.
const char kPart1102Offset5[] = R"(
  ObjectRequest(obj, 1550, 0, 0) -> 5
  GetImage(1055) -> HostImage(1055)
  MakeBrush(HostImage(1055), 0, 0) -> 0x9E5A1001
  GetImage(2233) -> HostImage(2233)
  MakeBrush(HostImage(2233), 0, 0) -> 0x9E5A1002
  MakeBrush(null, 0xFFFFFFFF, 0) -> 0x9E5A1003
  SetStateBrushes(obj, 5, [0x1003, 0x1001, 0x1002, keep]) -> 0
  SetStateBrushes(obj, 3, [0x1003, 0x1001, 0x1002, keep]) -> 0
  GetImage(2203) -> HostImage(2203)
  MakeBrush(HostImage(2203), 0, 0) -> 0x9E5A1004
  MakeBrush(null, 0xFFFF6A00, 0) -> 0x9E5A1005
  SetStateBrushes(obj, 2, [0x1005, keep, 0x1004, keep]) -> 0
)";

void Offset5(RecordingHost &Host) { Host.Script(&HOST_UI_TABLE::ObjectRequest, {5}); }

const char kPart4001[] = R"(
  MakeBrush(null, 0xFFE5E2E1, 0) -> 0x9E5A1001
  MakeBrush(null, 0xFF615B58, 0x1F000000) -> 0x9E5A1002
  MakeBrush(null, 0xFFB1A6A2, 0) -> 0x9E5A1003
  SetStateBrushes(obj, 0, [0x1001, 0x1002, keep, 0x1003]) -> 0
  MakeBrush(null, 0xFFE5E2E1, 0) -> 0x9E5A1004
  MakeBrush(null, 0xFF615B58, 0) -> 0x9E5A1005
  SetStateBrushes(obj, 1, [0x1004, 0x1005, keep, keep]) -> 0
  MakeBrush(null, 0xFFE5E2E1, 0) -> 0x9E5A1006
  MakeBrush(null, 0xFF615B58, 0x1F000000) -> 0x9E5A1007
  MakeBrush(null, 0xFFB1A6A2, 0) -> 0x9E5A1008
  SetStateBrushes(obj, 5, [0x1006, 0x1007, keep, 0x1008]) -> 0
)";

const char kTwoRequests1540[] = R"(
  ObjectRequest(obj, 1540, 6, 0xFFE5E2E1) -> 0
  ObjectRequest(obj, 1540, 1, 0xFFA0A0A0) -> 0
)";

const STYLE_CASE kPartRows[] = {
    {"0x1101", kClassWithOwnLook, 0x1101, kUnlistedId, kPart1101},
    {"0x1103", kClassWithOwnLook, 0x1103, kUnlistedId, kPart1101},
    {"0x1102", kClassWithOwnLook, 0x1102, kUnlistedId, kPart1102Offset5, Offset5},
    {"0x1105", kClassWithOwnLook, 0x1105, kUnlistedId, kPart1102Offset5, Offset5},
    {"0x1304: ScaleX (3) once, just before its brush", kClassWithOwnLook, 0x1304, kUnlistedId, R"(
      MakeBrush(null, 0xFFE5E2E1, 0) -> 0x9E5A1001
      SetStateBrushes(obj, 6, [0x1001, keep, keep, keep]) -> 0
      MakeBrush(null, 0xFF968C88, 0) -> 0x9E5A1002
      SetStateBrushes(obj, 4, [0x1002, keep, keep, keep]) -> 0
      SetStateBrushes(obj, 2, [0x1002, keep, keep, keep]) -> 0
      ScaleX(3) -> 7
      MakeBrush(null, 0xFFFF8333, 7) -> 0x9E5A1003
      SetStateBrushes(obj, 3, [keep, keep, keep, 0x1003]) -> 0
      SetStateBrushes(obj, 5, [keep, keep, keep, 0x1003]) -> 0
    )", [](RecordingHost &Host) { Host.Script(&HOST_SERVICES_TABLE::ScaleX, {7}); }},
    {"0x2080 class 2", 2, 0x2080, kUnlistedId, R"(
      MakeBrush(null, 0xFF615B58, 0x2EFFFFFF) -> 0x9E5A1001
      MakeBrush(null, 0xFF615B58, 0x14FFFFFF) -> 0x9E5A1002
      MakeBrush(null, 0xFF615B58, 0) -> 0x9E5A1003
      MakeBrush(null, 0xFF615B58, 0) -> 0x9E5A1004
      ApplyDecoration(obj, 2084, [0x9E5A1001, 0x9E5A1002, 0x9E5A1003, 0x9E5A1004, 0, 0]) -> 0
      MakeBrush(null, 0xFFE5E2E1, 0) -> 0x9E5A1005
      MakeBrush(null, 0xFFE5E2E1, 0) -> 0x9E5A1006
      MakeBrush(null, 0xFFE5E2E1, 0) -> 0x9E5A1007
      ApplyDecoration(obj, 2085, [0x9E5A1005, 0x9E5A1006, 0x9E5A1007, 0, 0, 0]) -> 0
    )"},
    {"0x2080 class 7", 7, 0x2080, kUnlistedId, R"(
      MakeBrush(null, 0xFFE5E2E1, 0) -> 0x9E5A1001
      SetStateBrushes(obj, 6, [0x1001, keep, keep, keep]) -> 0
      MakeBrush(null, 0xFFE5E2E1, 0) -> 0x9E5A1002
      SetStateBrushes(obj, 5, [0x1002, keep, keep, keep]) -> 0
    )"},
    {"0x2080 class 19", 19, 0x2080, kUnlistedId, R"(
      MakeBrush(null, 0xFF615B58, 0) -> 0x9E5A1001
      SetStateBrushes(obj, 6, [keep, 0x1001, keep, keep]) -> 0
      MakeBrush(null, 0xFF615B58, 0x2EFFFFFF) -> 0x9E5A1002
      SetStateBrushes(obj, 2, [keep, 0x1002, keep, keep]) -> 0
    )"},
    {"0x2080 other class", 5, 0x2080, kUnlistedId, ""},
    {"0x2081 class 2", 2, 0x2081, kUnlistedId, R"(
      MakeBrush(null, 0xFF1E1B1A, 0x2EFFFFFF) -> 0x9E5A1001
      MakeBrush(null, 0xFF1E1B1A, 0x14FFFFFF) -> 0x9E5A1002
      MakeBrush(null, 0xFF1E1B1A, 0) -> 0x9E5A1003
      MakeBrush(null, 0xFF1E1B1A, 0) -> 0x9E5A1004
      ApplyDecoration(obj, 2084, [0x9E5A1001, 0x9E5A1002, 0x9E5A1003, 0x9E5A1004, 0, 0]) -> 0
      ObjectRequest(obj, 2077, 0, 0xFF615B58) -> 0
    )"},
    {"0x2081 other class", kClassWithOwnLook, 0x2081, kUnlistedId, ""},
    {"0x2082 class 2: two brushes only", 2, 0x2082, kUnlistedId, R"(
      MakeBrush(null, 0xFF1E1B1A, 0x2EFFFFFF) -> 0x9E5A1001
      MakeBrush(null, 0xFF1E1B1A, 0x14FFFFFF) -> 0x9E5A1002
      ApplyDecoration(obj, 2084, [0x9E5A1001, 0x9E5A1002, 0, 0, 0, 0]) -> 0
      ObjectRequest(obj, 2077, 0, 0xFF615B58) -> 0
    )"},
    {"0x2082 other class", kClassWithOwnLook, 0x2082, kUnlistedId, ""},
    {"0x2200", kClassWithOwnLook, 0x2200, kUnlistedId, R"(
      MakeBrush(null, 0xFF615B58, 1) -> 0x9E5A1001
      SetStateBrushes(obj, 1, [keep, keep, keep, 0x1001]) -> 0
    )"},
    {"0x2400 class 2: colour 0xFF5B6158", 2, 0x2400, kUnlistedId, R"(
      ObjectRequest(obj, 1540, 6, 0xFFE5E2E1) -> 0
      ObjectRequest(obj, 1540, 1, 0xFFA0A0A0) -> 0
      MakeBrush(null, 0xFF1E1B1A, 0x2EFFFFFF) -> 0x9E5A1001
      MakeBrush(null, 0xFF1E1B1A, 0x14FFFFFF) -> 0x9E5A1002
      MakeBrush(null, 0xFF1E1B1A, 0) -> 0x9E5A1003
      MakeBrush(null, 0xFF1E1B1A, 0) -> 0x9E5A1004
      ApplyDecoration(obj, 2084, [0x9E5A1001, 0x9E5A1002, 0x9E5A1003, 0x9E5A1004, 0, 0]) -> 0
      ObjectRequest(obj, 2077, 0, 0xFF5B6158) -> 0
    )"},
    {"0x2400 class 11: the two requests only", 11, 0x2400, kUnlistedId, kTwoRequests1540},
    {"0x2400 other class", kClassWithOwnLook, 0x2400, kUnlistedId, R"(
      ObjectRequest(obj, 1540, 6, 0xFFE5E2E1) -> 0
      ObjectRequest(obj, 1540, 1, 0xFFA0A0A0) -> 0
      MakeBrush(null, 0xFF52525B, 1) -> 0x9E5A1001
      SetStateBrushes(obj, 4, [keep, keep, keep, 0x1001]) -> 0
    )"},
    {"0x3002 class 2: cleared 2067 descriptor, translucent pair", 2, 0x3002, kUnlistedId, R"(
      ZeroBuffer(ptr, 64) -> 0
      ApplyDecoration(obj, 2067, [0, 0, 0x90D4D4D4, 0x90D4D4D4, 0, 0]) -> 0
      MakeBrush(null, 0xFF212121, 0) -> 0x9E5A1001
      SetStateBrushes(obj, 0, [0x1001, keep, keep, keep]) -> 0
    )"},
    {"0x3002 other class", 11, 0x3002, kUnlistedId, ""},
    {"0x3003 class 2: cleared 2067 descriptor, dark pair, Value[4] 1", 2, 0x3003, kUnlistedId, R"(
      ZeroBuffer(ptr, 64) -> 0
      ApplyDecoration(obj, 2067, [0, 0, 0xFF1E1B1A, 0xFF1E1B1A, 1, 0]) -> 0
      MakeBrush(null, 0xFFE5E2E1, 0) -> 0x9E5A1001
      SetStateBrushes(obj, 0, [0x1001, keep, keep, keep]) -> 0
      MakeBrush(null, 0xFFE5E2E1, 0) -> 0x9E5A1002
      MakeBrush(null, 0xFF1E1B1A, 0x2EFFFFFF) -> 0x9E5A1003
      SetStateBrushes(obj, 2, [0x1002, 0x1003, keep, keep]) -> 0
      ObjectRequest(obj, 2077, 0, 0xFF615B58) -> 0
    )"},
    {"0x3003 class 11", 11, 0x3003, kUnlistedId, R"(
      ObjectRequest(obj, 524, 0, 0xFFE0E0E0) -> 0
    )"},
    {"0x3003 other class", kClassWithOwnLook, 0x3003, kUnlistedId, ""},
    {"0x4001", kClassWithOwnLook, 0x4001, kUnlistedId, kPart4001},
    {"0x4002", kClassWithOwnLook, 0x4002, kUnlistedId, kPart4001},
};

TEST(StyleByPartCode, EveryPartCodeAndClassLineMakesExactlyTheCallsOfItsRow) { RunStyleCases(kPartRows); }

// What only the class stage does for class 9.
const char kClass9[] = R"(
  MakeBrush(null, 0xFFFF8333, 1) -> 0x9E5A1001
  SetStateBrushes(obj, 5, [keep, keep, keep, 0x1001]) -> 0
)";

// 0x2400 with class 15 runs the whole row of 0x1101 after its requests.
std::string Part2400Class15() { return std::string(kTwoRequests1540) + kPart1101; }

const STYLE_CASE kPartConditions[] = {
    {"0x1102 when request 1550 answers 0xFFFFFFFF", kClassWithOwnLook, 0x1102, kUnlistedId,
     "ObjectRequest(obj, 1550, 0, 0) -> 0xFFFFFFFF",
     [](RecordingHost &Host) { Host.Script(&HOST_UI_TABLE::ObjectRequest, {0xFFFFFFFF}); }},
    {"0x1105 when only the low 32 bits of the answer are 0xFFFFFFFF", kClassWithOwnLook, 0x1105, kUnlistedId,
     "ObjectRequest(obj, 1550, 0, 0) -> 0xABCD0000FFFFFFFF",
     [](RecordingHost &Host) { Host.Script(&HOST_UI_TABLE::ObjectRequest, {0xABCD0000FFFFFFFFULL}); }},
    {"0x1102 with offset 0 in the low 32 bits: images 2228 and 2198", kClassWithOwnLook, 0x1102, kUnlistedId, R"(
      ObjectRequest(obj, 1550, 0, 0) -> 0x100000000
      GetImage(1055) -> HostImage(1055)
      MakeBrush(HostImage(1055), 0, 0) -> 0x9E5A1001
      GetImage(2228) -> HostImage(2228)
      MakeBrush(HostImage(2228), 0, 0) -> 0x9E5A1002
      MakeBrush(null, 0xFFFFFFFF, 0) -> 0x9E5A1003
      SetStateBrushes(obj, 5, [0x1003, 0x1001, 0x1002, keep]) -> 0
      SetStateBrushes(obj, 3, [0x1003, 0x1001, 0x1002, keep]) -> 0
      GetImage(2198) -> HostImage(2198)
      MakeBrush(HostImage(2198), 0, 0) -> 0x9E5A1004
      MakeBrush(null, 0xFFFF6A00, 0) -> 0x9E5A1005
      SetStateBrushes(obj, 2, [0x1005, keep, 0x1004, keep]) -> 0
    )", [](RecordingHost &Host) { Host.Script(&HOST_UI_TABLE::ObjectRequest, {0x100000000ULL}); }},
    // 2228 + v and 2198 + v wrap in 32 bits; images the host lacks go to
    // MakeBrush as null.
    {"0x1102 with an offset that wraps", kClassWithOwnLook, 0x1102, kUnlistedId, R"(
      ObjectRequest(obj, 1550, 0, 0) -> 0xFFFFF74C
      GetImage(1055) -> HostImage(1055)
      MakeBrush(HostImage(1055), 0, 0) -> 0x9E5A1001
      GetImage(0) -> null
      MakeBrush(null, 0, 0) -> 0x9E5A1002
      MakeBrush(null, 0xFFFFFFFF, 0) -> 0x9E5A1003
      SetStateBrushes(obj, 5, [0x1003, 0x1001, 0x1002, keep]) -> 0
      SetStateBrushes(obj, 3, [0x1003, 0x1001, 0x1002, keep]) -> 0
      GetImage(0xFFFFFFE2) -> null
      MakeBrush(null, 0, 0) -> 0x9E5A1004
      MakeBrush(null, 0xFFFF6A00, 0) -> 0x9E5A1005
      SetStateBrushes(obj, 2, [0x1005, keep, 0x1004, keep]) -> 0
    )", [](RecordingHost &Host) { Host.Script(&HOST_UI_TABLE::ObjectRequest, {0xFFFFF74C}); }},
    {"part code 0x1104 has no row", kClassWithOwnLook, 0x1104, kUnlistedId, kClass9},
    {"part code 0 has no row", kClassWithOwnLook, 0x0000, kUnlistedId, kClass9},
    {"part code 0xFFFF has no row", kClassWithOwnLook, 0xFFFF, kUnlistedId, kClass9},
    {"part code of a class line (2) used as a class", 2, 0x0002, kUnlistedId, ""},
};

TEST(StyleByPartCode, ConditionsAndPartCodesWithoutARow) { RunStyleCases(kPartConditions); }

TEST(StyleByPartCode, Part2400WithClass15TakesTheWholeLookOf1101OnceOnly) {
  const std::string Expected = Part2400Class15();
  RunStyleCase({"0x2400 class 15", 15, 0x2400, kUnlistedId, Expected.c_str()});
  // The row of 0x1101 does not look at the class, and does not recurse.
  RunStyleCase({"0x1101 class 15", 15, 0x1101, kUnlistedId, kPart1101});
}

}  // namespace
