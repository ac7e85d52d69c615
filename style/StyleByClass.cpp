// The last styling stage: a look chosen by the object's class alone.
#include "data/ThemeQueries.h"
#include "style/StyleCalls.h"
#include "style/StyleStages.h"

namespace {

// The rows that no step can say, as named functions; the table below runs
// them through Odd steps. A condition's FALSE ends its row.

// Class 16: only an object with tag kTagOfSiblingAreaTaker takes the area of
// its sibling, the object that the identifier stage shrinks.
constexpr UINT32 kAreaSiblingId = 0x39001004;

BOOLEAN TagMarksSiblingAreaTaker(UINT64 Object, UINT32) {
  return HostUi()->GetObjectTag(Object) == kTagOfSiblingAreaTaker;
}

BOOLEAN TakeSiblingArea(UINT64 Object, UINT32) {
  const UINT64 Parent = HostUi()->GetObjectParent(Object);
  const UINT64 Sibling = HostUi()->FindChild(Parent, kAreaSiblingId);
  OBJECT_AREA Area;
  ReadObjectArea(Sibling, &Area);
  WriteObjectArea(Object, &Area);
  return TRUE;
}

// Class 74: only an object without a tag.
BOOLEAN HasNoTag(UINT64 Object, UINT32) { return HostUi()->GetObjectTag(Object) == 0; }

// Class 68: only while the host's flag request answers non-zero.
BOOLEAN FlagRequestIsSet(UINT64 Object, UINT32) {
  return HostUi()->ObjectRequest(Object, HOST_REQUEST_FLAG, 0, 0) != 0;
}

// Class 33: a descriptor with five values (one more than a table row
// carries), then an attribute whose brush is palette colour 103, looked up
// just before it is made.
constexpr UINT64 kFiveValueDecoration = 2592;
constexpr UINT64 kAccentAttribute = 2594;
constexpr INT32 kAccentColor = 103;

BOOLEAN DecorationAndAccentAttribute(UINT64 Object, UINT32) {
  DECORATION_DESC Descriptor;
  Descriptor.Object = Object;
  Descriptor.Kind = kFiveValueDecoration;
  Descriptor.Value[0] = ColorBrush(Argb(0xFFE5E2E1), 0);
  Descriptor.Value[1] = ColorBrush(Argb(0xFF615B58), 0);
  Descriptor.Value[2] = ColorBrush(Argb(0xFF1E1B1A), 0);
  Descriptor.Value[3] = 0;
  Descriptor.Value[4] = ColorBrush(Argb(0xFF312D2C), 0);
  Descriptor.Value[5] = 0;
  HostUi()->ApplyDecoration(&Descriptor);
  HostUi()->SetObjectAttribute(Object, kAccentAttribute, 2, ColorBrush(ThemeColor(kAccentColor), 0));
  return TRUE;
}

// Class 74: the area moves down by a scaled length.
constexpr INT32 kAreaDropDesignUnits = 118;

BOOLEAN LowerArea(UINT64 Object, UINT32) {
  OBJECT_AREA Area;
  ReadObjectArea(Object, &Area);
  Area.Vertical = MoveVertical(Area.Vertical, HostServices()->ScaleY(kAreaDropDesignUnits));
  WriteObjectArea(Object, &Area);
  return TRUE;
}

// Class 101: this request's value carries the brush in its upper half.
constexpr UINT64 kUpperHalfBrushRequest = 1538;

BOOLEAN RequestBrushInUpperHalf(UINT64 Object, UINT32) {
  HostUi()->ObjectRequest(Object, kUpperHalfBrushRequest, 6, (UINT64)ColorBrush(Argb(0xFF484341), 0) << 32);
  return TRUE;
}

constexpr STYLE_WRITTEN_STEP kClassRows[] = {
    Row(9),
      State(5, Keep, Keep, Keep, Color(0xFFFF8333, 1)),
    Row(16),
      Odd(TagMarksSiblingAreaTaker),
      Odd(TakeSiblingArea),
    Row(27),
      Req(524, 0, Argb(0xFFFFFFFF)),
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
      Odd(HasNoTag),
      Odd(LowerArea),
      State(6, Keep, 0, Keep, Keep),
    Row(75),
      State(6, Keep, Color(0xFFE4E4E4), Keep, Keep),
      State(0, Keep, 0, Keep, 0),
    Row(80),
      State(0, Color(0xFFE5E2E1), Keep, Keep, Color(0xFF7A726F)),
    Row(95),
      State(5, Keep, Color(0x2EFFFFFF), Keep, Keep),
    Row(101),
      Req(1540, 6, Argb(0xFFE5E2E1)),
      Odd(RequestBrushInUpperHalf),
      State(2, Keep, Color(0xFF484341, 0x14FFFFFF), Keep, Keep),
      State(5, Keep, Color(0xFF484341, 0x14FFFFFF), Keep, Color(0xFF7A726F, 1)),
};
constexpr STYLE_TABLE_SIZES kClassSizes = MeasureRows(kClassRows);
constexpr auto kClassTable = LinkRows<kClassSizes>(kClassRows);
static_assert(kClassSizes.RowByKey > 0, "the engine finds a class's row by the class itself");

}  // namespace

constinit const STYLE_TABLE kStyleByClass = kClassTable.Table();
