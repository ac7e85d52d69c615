// The last styling stage: a look chosen by the object's class alone.
#include "host/HostAccess.h"
#include "style/StyleCalls.h"
#include "style/StyleStages.h"

namespace {

// The rows that no step can say, as named functions; the table below runs
// them through Odd steps. A condition's FALSE ends its row.
constexpr UINT16 kTagOfSiblingAreaTaker = 1599;
constexpr UINT32 kAreaSiblingId = 0x39001004;

BOOLEAN TagLowBitsAre(UINT64 Object, UINT16 Tag) { return HostUi()->GetObjectTag(Object) == Tag; }

BOOLEAN EFIAPI TagIs1599(UINT64 Object, UINT32) { return TagLowBitsAre(Object, kTagOfSiblingAreaTaker); }

BOOLEAN EFIAPI TagIsZero(UINT64 Object, UINT32) { return TagLowBitsAre(Object, 0); }

BOOLEAN EFIAPI FlagRequestIsSet(UINT64 Object, UINT32) { return HostUi()->ObjectRequest(Object, 852269, 0, 0) != 0; }

// Class 16 takes the area of the sibling that the identifier stage shrinks.
BOOLEAN EFIAPI TakeSiblingArea(UINT64 Object, UINT32) {
  const UINT64 Parent = HostUi()->GetObjectParent(Object);
  const UINT64 Sibling = HostUi()->FindChild(Parent, kAreaSiblingId);
  OBJECT_AREA Area;
  ReadObjectArea(Sibling, &Area);
  WriteObjectArea(Object, &Area);
  return TRUE;
}

// Class 33: a 2592 descriptor with five values (one more than a table row
// carries), then an attribute whose brush is palette colour 103, looked up
// just before it is made.
BOOLEAN EFIAPI DecorationAndAccentAttribute(UINT64 Object, UINT32) {
  DECORATION_DESC Descriptor;
  Descriptor.Object = Object;
  Descriptor.Kind = 2592;
  Descriptor.Value[0] = ColorBrush(0xFFE5E2E1, 0);
  Descriptor.Value[1] = ColorBrush(0xFF615B58, 0);
  Descriptor.Value[2] = ColorBrush(0xFF1E1B1A, 0);
  Descriptor.Value[3] = 0;
  Descriptor.Value[4] = ColorBrush(0xFF312D2C, 0);
  Descriptor.Value[5] = 0;
  HostUi()->ApplyDecoration(&Descriptor);
  HostUi()->SetObjectAttribute(Object, 2594, 2, ColorBrush(ThemeColor(103), 0));
  return TRUE;
}

BOOLEAN EFIAPI LowerAreaBy118(UINT64 Object, UINT32) {
  OBJECT_AREA Area;
  ReadObjectArea(Object, &Area);
  Area.Vertical = MoveVertical(Area.Vertical, HostServices()->ScaleY(118));
  WriteObjectArea(Object, &Area);
  return TRUE;
}

// The brush fills the upper half of the request value.
BOOLEAN EFIAPI Request1538BrushInUpperHalf(UINT64 Object, UINT32) {
  SendRequest(Object, 1538, 6, (UINT64)ColorBrush(0xFF484341, 0) << 32);
  return TRUE;
}

constexpr STYLE_STEP mClassRows[] = {
    Row(9),
      State(5, Keep, Keep, Keep, Color(0xFFFF8333, 1)),
    Row(16),
      Odd(TagIs1599),
      Odd(TakeSiblingArea),
    Row(27),
      Req(524, 0, 0xFFFFFFFF),
    Row(30),
      State(0, Color(0xFFE5E2E1), 0, Keep, 0),
      State(4, Color(0xFFE5E2E1), Color(0xFF1E1B1A), Keep, Color(0xFF615B58, 1)),
    Row(33),
      Odd(DecorationAndAccentAttribute),
    Row(34),
      State(4, Color(0xFFE0E0E0), Keep, Keep, Keep),
    Row(36),
      State(5, Color(0xFFE5E2E1, 1), Keep, Keep, Keep),
      State(3, Color(0xFFE5E2E1, 1), Keep, Keep, Keep),
      State(0, Color(0xFFE5E2E1, 1), Keep, Keep, Keep),
    Row(37),
      State(0, Keep, Keep, Keep, Color(0xFF7C726F, 1)),
    Row(39),
      State(0, Keep, Color(0xFFA0A0A0), Keep, Color(0xFFE4E4E7)),
      State(3, Keep, Keep, Keep, Color(0xFFFF8333, 1)),
      State(4, Keep, HostImage(1862), Keep, Keep),
    Row(60),
      State(0, Color(0xFFE5E2E1), Keep, Keep, Keep),
      State(3, Color(0xFF000000), Color(0xFFFF8333), Keep, Keep),
      State(2, Color(0xFFE5E2E1), Color(0xFFFF8333), Keep, Keep),
    Row(61),
      State(6, Color(0xFFE5E2E1), 0, Keep, HostImage(2384)),
      State(5, Color(0xFFE5E2E1), Color(0x1EFFFFFF), Keep, HostImage(2385)),
      State(2, Color(0xFFE5E2E1), Color(0x14FFFFFF), Keep, HostImage(2385)),
    Row(62),
      State(6, Color(0xFFE5E2E1), 0, Keep, Color(0xFFA0A0A0, 1)),
    Row(63),
      State(6, Keep, 0, Keep, Keep),
    Row(68),
      Odd(FlagRequestIsSet),
      State(2, Keep, Keep, HostImage(2569), Keep),
      State(5, Keep, Keep, Same, Keep),
    Row(74),
      Odd(TagIsZero),
      Odd(LowerAreaBy118),
      State(6, Keep, 0, Keep, Keep),
    Row(75),
      State(6, Keep, Color(0xFFE4E4E4), Keep, Keep),
      State(0, Keep, 0, Keep, 0),
    Row(80),
      State(0, Color(0xFFE5E2E1), Keep, Keep, Color(0xFF7A726F)),
    Row(95),
      State(5, Keep, Color(0x2EFFFFFF), Keep, Keep),
    Row(101),
      Req(1540, 6, 0xFFE5E2E1),
      Odd(Request1538BrushInUpperHalf),
      State(2, Keep, Color(0xFF484341, 0x14FFFFFF), Keep, Keep),
      State(5, Keep, Color(0xFF484341, 0x14FFFFFF), Keep, Color(0xFF7A726F, 1)),
};
constexpr auto mClassSteps = LinkRows(mClassRows);

}  // namespace

constinit const STYLE_TABLE mStyleByClass = {IndexRows(mClassSteps), mClassSteps.Step};
