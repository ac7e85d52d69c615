// Styling by class: every class's whole trace written out from its row, the
// three conditions each way, and classes without a row. Part code 0 and
// identifier 0 belong to no earlier stage.
#include "style/StyleBench.h"

namespace {

using namespace style_bench;

void SiblingWithArea(RecordingHost &Host) {
  Host.Script(&HOST_UI_TABLE::GetObjectTag, {1599});
  Host.Script(&HOST_UI_TABLE::GetObjectParent, {kParent});
  Host.Script(&HOST_UI_TABLE::FindChild, {kSibling});
  Host.ScriptWrite(&HOST_UI_TABLE::GetObjectArea, OBJECT_AREA{300, 40});
}

void AreaAndScaledDrop(RecordingHost &Host) {
  Host.ScriptWrite(&HOST_UI_TABLE::GetObjectArea, OBJECT_AREA{300, 40});
  Host.Script(&HOST_SERVICES_TABLE::ScaleY, {50});
}

const STYLE_CASE kClassRows[] = {
    {"9", 9, 0, 0, R"(
      MakeBrush(null, 0xFFFF8333, 1) -> 0x9E5A1001
      SetStateBrushes(obj, 5, [keep, keep, keep, 0x1001]) -> 0
    )"},
    {"16 with tag 1599: the sibling's area", 16, 0, 0, R"(
      GetObjectTag(obj) -> 1599
      GetObjectParent(obj) -> parent
      FindChild(parent, 0x39001004) -> sibling
      GetObjectArea(sibling, ptr) -> 0
      SetObjectArea(obj, 0, {Horizontal 300, Vertical 40}, 0) -> 0
    )", SiblingWithArea},
    {"27", 27, 0, 0, R"(
      ObjectRequest(obj, 524, 0, 0xFFFFFFFF) -> 0
    )"},
    {"30", 30, 0, 0, R"(
      MakeBrush(null, 0xFFE5E2E1, 0) -> 0x9E5A1001
      SetStateBrushes(obj, 0, [0x1001, 0, keep, 0]) -> 0
      MakeBrush(null, 0xFFE5E2E1, 0) -> 0x9E5A1002
      MakeBrush(null, 0xFF1E1B1A, 0) -> 0x9E5A1003
      MakeBrush(null, 0xFF615B58, 1) -> 0x9E5A1004
      SetStateBrushes(obj, 4, [0x1002, 0x1003, keep, 0x1004]) -> 0
    )"},
    // Palette colour 103 is 0xFFA1A1AA, looked up after the decoration.
    {"33: decoration, then colour 103 for the attribute", 33, 0, 0, R"(
      MakeBrush(null, 0xFFE5E2E1, 0) -> 0x9E5A1001
      MakeBrush(null, 0xFF615B58, 0) -> 0x9E5A1002
      MakeBrush(null, 0xFF1E1B1A, 0) -> 0x9E5A1003
      MakeBrush(null, 0xFF312D2C, 0) -> 0x9E5A1004
      ApplyDecoration(obj, 2592, [0x9E5A1001, 0x9E5A1002, 0x9E5A1003, 0, 0x9E5A1004, 0]) -> 0
      MakeBrush(null, 0xFFA1A1AA, 0) -> 0x9E5A1005
      SetObjectAttribute(obj, 2594, 2, 0x9E5A1005) -> 0
    )"},
    {"34", 34, 0, 0, R"(
      MakeBrush(null, 0xFFE0E0E0, 0) -> 0x9E5A1001
      SetStateBrushes(obj, 4, [0x1001, keep, keep, keep]) -> 0
    )"},
    {"36: three separate brushes for states 5, 3, 0", 36, 0, 0, R"(
      MakeBrush(null, 0xFFE5E2E1, 1) -> 0x9E5A1001
      SetStateBrushes(obj, 5, [0x1001, keep, keep, keep]) -> 0
      MakeBrush(null, 0xFFE5E2E1, 1) -> 0x9E5A1002
      SetStateBrushes(obj, 3, [0x1002, keep, keep, keep]) -> 0
      MakeBrush(null, 0xFFE5E2E1, 1) -> 0x9E5A1003
      SetStateBrushes(obj, 0, [0x1003, keep, keep, keep]) -> 0
    )"},
    {"37", 37, 0, 0, R"(
      MakeBrush(null, 0xFF7C726F, 1) -> 0x9E5A1001
      SetStateBrushes(obj, 0, [keep, keep, keep, 0x1001]) -> 0
    )"},
    {"39: the last set keeps Brush[3]", 39, 0, 0, R"(
      MakeBrush(null, 0xFFA0A0A0, 0) -> 0x9E5A1001
      MakeBrush(null, 0xFFE4E4E7, 0) -> 0x9E5A1002
      SetStateBrushes(obj, 0, [keep, 0x1001, keep, 0x1002]) -> 0
      MakeBrush(null, 0xFFFF8333, 1) -> 0x9E5A1003
      SetStateBrushes(obj, 3, [keep, keep, keep, 0x1003]) -> 0
      GetImage(1862) -> HostImage(1862)
      MakeBrush(HostImage(1862), 0, 0) -> 0x9E5A1004
      SetStateBrushes(obj, 4, [keep, 0x1004, keep, keep]) -> 0
    )"},
    {"60", 60, 0, 0, R"(
      MakeBrush(null, 0xFFE5E2E1, 0) -> 0x9E5A1001
      SetStateBrushes(obj, 0, [0x1001, keep, keep, keep]) -> 0
      MakeBrush(null, 0xFF000000, 0) -> 0x9E5A1002
      MakeBrush(null, 0xFFFF8333, 0) -> 0x9E5A1003
      SetStateBrushes(obj, 3, [0x1002, 0x1003, keep, keep]) -> 0
      MakeBrush(null, 0xFFE5E2E1, 0) -> 0x9E5A1004
      MakeBrush(null, 0xFFFF8333, 0) -> 0x9E5A1005
      SetStateBrushes(obj, 2, [0x1004, 0x1005, keep, keep]) -> 0
    )"},
    {"61: every brush new, HostImage(2385) twice", 61, 0, 0, R"(
      MakeBrush(null, 0xFFE5E2E1, 0) -> 0x9E5A1001
      GetImage(2384) -> HostImage(2384)
      MakeBrush(HostImage(2384), 0, 0) -> 0x9E5A1002
      SetStateBrushes(obj, 6, [0x1001, 0, keep, 0x1002]) -> 0
      MakeBrush(null, 0xFFE5E2E1, 0) -> 0x9E5A1003
      MakeBrush(null, 0x1EFFFFFF, 0) -> 0x9E5A1004
      GetImage(2385) -> HostImage(2385)
      MakeBrush(HostImage(2385), 0, 0) -> 0x9E5A1005
      SetStateBrushes(obj, 5, [0x1003, 0x1004, keep, 0x1005]) -> 0
      MakeBrush(null, 0xFFE5E2E1, 0) -> 0x9E5A1006
      MakeBrush(null, 0x14FFFFFF, 0) -> 0x9E5A1007
      GetImage(2385) -> HostImage(2385)
      MakeBrush(HostImage(2385), 0, 0) -> 0x9E5A1008
      SetStateBrushes(obj, 2, [0x1006, 0x1007, keep, 0x1008]) -> 0
    )"},
    {"62", 62, 0, 0, R"(
      MakeBrush(null, 0xFFE5E2E1, 0) -> 0x9E5A1001
      MakeBrush(null, 0xFFA0A0A0, 1) -> 0x9E5A1002
      SetStateBrushes(obj, 6, [0x1001, 0, keep, 0x1002]) -> 0
    )"},
    {"63", 63, 0, 0, R"(
      SetStateBrushes(obj, 6, [keep, 0, keep, keep]) -> 0
    )"},
    // Request 852269 is 0xD012D; an answer non-zero only above bit 31 holds.
    {"68 when request 852269 answers non-zero", 68, 0, 0, R"(
      ObjectRequest(obj, 0xD012D, 0, 0) -> 0x100000000
      GetImage(2569) -> HostImage(2569)
      MakeBrush(HostImage(2569), 0, 0) -> 0x9E5A1001
      SetStateBrushes(obj, 2, [keep, keep, 0x1001, keep]) -> 0
      SetStateBrushes(obj, 5, [keep, keep, 0x1001, keep]) -> 0
    )", [](RecordingHost &Host) { Host.Script(&HOST_UI_TABLE::ObjectRequest, {0x100000000ULL}); }},
    {"74 with tag 0: area first, then the set", 74, 0, 0, R"(
      GetObjectTag(obj) -> 0
      GetObjectArea(obj, ptr) -> 0
      ScaleY(118) -> 50
      SetObjectArea(obj, 0, {Horizontal 300, Vertical 90}, 0) -> 0
      SetStateBrushes(obj, 6, [keep, 0, keep, keep]) -> 0
    )", AreaAndScaledDrop},
    {"75", 75, 0, 0, R"(
      MakeBrush(null, 0xFFE4E4E4, 0) -> 0x9E5A1001
      SetStateBrushes(obj, 6, [keep, 0x1001, keep, keep]) -> 0
      SetStateBrushes(obj, 0, [keep, 0, keep, 0]) -> 0
    )"},
    {"80", 80, 0, 0, R"(
      MakeBrush(null, 0xFFE5E2E1, 0) -> 0x9E5A1001
      MakeBrush(null, 0xFF7A726F, 0) -> 0x9E5A1002
      SetStateBrushes(obj, 0, [0x1001, keep, keep, 0x1002]) -> 0
    )"},
    {"95", 95, 0, 0, R"(
      MakeBrush(null, 0x2EFFFFFF, 0) -> 0x9E5A1001
      SetStateBrushes(obj, 5, [keep, 0x1001, keep, keep]) -> 0
    )"},
    {"101: request 1538 carries its brush in the upper half", 101, 0, 0, R"(
      ObjectRequest(obj, 1540, 6, 0xFFE5E2E1) -> 0
      MakeBrush(null, 0xFF484341, 0) -> 0x9E5A1001
      ObjectRequest(obj, 1538, 6, 0x9E5A100100000000) -> 0
      MakeBrush(null, 0xFF484341, 0x14FFFFFF) -> 0x9E5A1002
      SetStateBrushes(obj, 2, [keep, 0x1002, keep, keep]) -> 0
      MakeBrush(null, 0xFF484341, 0x14FFFFFF) -> 0x9E5A1003
      MakeBrush(null, 0xFF7A726F, 1) -> 0x9E5A1004
      SetStateBrushes(obj, 5, [keep, 0x1003, keep, 0x1004]) -> 0
    )"},
};

TEST(StyleByClass, EveryClassMakesExactlyTheCallsOfItsRow) { RunStyleCases(kClassRows); }

const STYLE_CASE kClassConditions[] = {
    {"16 with tag 1598", 16, 0, 0, "GetObjectTag(obj) -> 1598",
     [](RecordingHost &Host) { Host.Script(&HOST_UI_TABLE::GetObjectTag, {1598}); }},
    {"16 with tag 0", 16, 0, 0, "GetObjectTag(obj) -> 0"},
    {"74 with a non-zero tag: not even the brushes", 74, 0, 0, "GetObjectTag(obj) -> 1",
     [](RecordingHost &Host) { Host.Script(&HOST_UI_TABLE::GetObjectTag, {1}); }},
    {"68 when request 852269 answers 0", 68, 0, 0, "ObjectRequest(obj, 0xD012D, 0, 0) -> 0"},
    // The area moves down in 32 bits without overflowing.
    {"74 at the edge of the vertical range", 74, 0, 0, R"(
      GetObjectTag(obj) -> 0
      GetObjectArea(obj, ptr) -> 0
      ScaleY(118) -> 50
      SetObjectArea(obj, 0, {Horizontal -1, Vertical -2147483599}, 0) -> 0
      SetStateBrushes(obj, 6, [keep, 0, keep, keep]) -> 0
    )", [](RecordingHost &Host) {
       Host.ScriptWrite(&HOST_UI_TABLE::GetObjectArea, OBJECT_AREA{-1, INT32_MAX});
       Host.Script(&HOST_SERVICES_TABLE::ScaleY, {50});
     }},
    {"16 whose parent and sibling are missing", 16, 0, 0, R"(
      GetObjectTag(obj) -> 1599
      GetObjectParent(obj) -> 0
      FindChild(0, 0x39001004) -> 0
      GetObjectArea(0, ptr) -> 0
      SetObjectArea(obj, 0, {Horizontal 0, Vertical 0}, 0) -> 0
    )", [](RecordingHost &Host) { Host.Script(&HOST_UI_TABLE::GetObjectTag, {1599}); }},
    {"class 0", 0, 0, 0, ""},
    {"class 8", 8, 0, 0, ""},
    {"class 100", 100, 0, 0, ""},
    {"class 102", 102, 0, 0, ""},
    {"class 0xFFFF", 0xFFFF, 0, 0, ""},
};

TEST(StyleByClass, ConditionsEachWayAndClassesWithoutARow) { RunStyleCases(kClassConditions); }

}  // namespace
