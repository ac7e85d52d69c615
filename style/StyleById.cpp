// The first styling stage: eighteen object identifiers get a look of their
// own; every other object goes on to the part-code stage.
#include "style/StyleCalls.h"
#include "style/StyleStages.h"

namespace {

// The rows that no step can say, as named functions; the table below runs
// them through Odd steps.

// 0x39000000: request 521 goes to this child of the object, unchecked.
constexpr UINT32 kChildOfObject = 0x01100000;
constexpr UINT64 kChildRequest = 521;

BOOLEAN RequestOfChild(UINT64 Object, UINT32) {
  const UINT64 Child = HostUi()->FindChild(Object, kChildOfObject);
  HostUi()->ObjectRequest(Child, kChildRequest, 0, 0);
  return TRUE;
}

// 0x39001003 to 0x39001005: ScaleY (24) twice. The first, doubled, raises
// the area's vertical; the second, sign-extended, is the index of the
// request that gives the inset its colour.
constexpr INT32 kAreaInsetDesignUnits = 24;
constexpr UINT64 kInsetColorRequest = 524;

BOOLEAN ShrinkAreaAndRequestInsetColor(UINT64 Object, UINT32) {
  OBJECT_AREA Area;
  ReadObjectArea(Object, &Area);
  const INT32 Inset = HostServices()->ScaleY(kAreaInsetDesignUnits);
  Area.Vertical = MoveVertical(Area.Vertical, (INT32)(0u - 2u * (UINT32)Inset));
  WriteObjectArea(Object, &Area);
  const INT64 Index = HostServices()->ScaleY(kAreaInsetDesignUnits);
  HostUi()->ObjectRequest(Object, kInsetColorRequest, (UINT64)Index, Argb(0xFF212121));
  return TRUE;
}

// 0xA0000000: the brush of host image 9 is the attribute's first argument;
// the second is two 16-bit halves of 24.
constexpr UINT64 kImageBrushAttribute = 69641;
constexpr UINT32 kAttributeImage = 9;
constexpr UINT64 kBothHalves24 = 0x00180018;

BOOLEAN SetImageBrushAttribute(UINT64 Object, UINT32) {
  HostUi()->SetObjectAttribute(Object, kImageBrushAttribute, HostImageBrush(kAttributeImage), kBothHalves24);
  return TRUE;
}

constexpr STYLE_WRITTEN_STEP kIdRows[] = {
    Row(0x14531000),
      State(6, Color(0xFF7A726F), Color(0xFF1E1B1A), Keep, Color(0xFF7A726F, 1)),
      State(5, Color(0xFFE5E2E1), Color(0xFF1E1B1A, 0x1FFFFFFF), Keep, Color(0xFFB1A6A2, 1)),
    Row(0x14531001),
      Req(1540, 6, Argb(0xFF7A726F)),
    Row(0x19592000), Or(0x19592001),
      State(1, Keep, Keep, Keep, Color(0xFFA0A0A0, 1)),
    Row(0x19592002),
      State(0, Color(0xFFE5E2E1), Keep, Keep, Keep),
    Row(0x20241079),
      Req(642, 5, ThemeImage(168)),
      Req(642, 2, ThemeImage(167)),
    Row(0x39000000),
      Odd(RequestOfChild),
      State(0, Keep, Keep, Keep, 0),
      State(1, Keep, Keep, Keep, 0),
    Row(0x39001003), Or(0x39001004), Or(0x39001005),
      Odd(ShrinkAreaAndRequestInsetColor),
    Row(0xA0000000),
      Odd(SetImageBrushAttribute),
    Row(0xA0001001),
      Req(642, 1, ThemeImage(148)),
    Row(0xA0001002),
      Req(642, 1, ThemeImage(152)),
    Row(0xA0001003),
      Req(642, 1, ThemeImage(156)),
    Row(0xA0001004),
      Req(640, 1, Color(0xFF52525B)),
      Req(642, 1, ThemeImage(164)),
      Req(641, 1, ThemeImage(160)),
    Row(0xA2000201),
      Deco(2084, 0xFFFF, 0xFFFF, 0, 0, 0, 0),
    Row(0xB0000000),
      State(6, Keep, 0, 0, Color(0xFF7A726F, 1)),
    Row(0xB0002004),
      State(0, Keep, Color(0x14000000), Keep, Color(0xFF484341)),
      Req(640, 4, Color(0xFFE5E2E1, 1)),
      Req(643, 1, Color(0xFFE5E2E1, 1)),
      Req(643, 2, Color(0xFF968C88, 1)),
};
constexpr STYLE_TABLE_SIZES kIdSizes = MeasureRows(kIdRows);
constexpr auto kIdTable = LinkRows<kIdSizes>(kIdRows);

}  // namespace

constinit const STYLE_TABLE kStyleById = kIdTable.Table();
