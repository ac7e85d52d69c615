// The record operation that styles one host object, and the engine that
// runs the stage tables' lines. The first stage whose table has a row for
// the object claims it: by identifier, then by part code, then by class;
// only the low 16 bits of class and part code count. The engine is one
// function with the lookups, so that a styled object costs one frame.
#include "host/HostAccess.h"
#include "style/Style.h"
#include "style/StyleCalls.h"
#include "style/StyleStages.h"

namespace {

// A colour field's brush, made now.
inline UINT32 ColorFieldBrush(UINT16 Bits) { return MakeColorBrush(ColorFieldArgb(Bits), ColorFieldModifier(Bits)); }

// A brush of the less frequent kinds, theme image and colour with a scaled
// modifier, made now. Out of line: one copy serves every step; with the
// record's convention, like the odd steps.
__attribute__((noinline)) UINT32 EFIAPI RareBrush(STYLE_FIELD Field) {
  const UINT16 Payload = Field.Payload();
  if (Field.Kind() == StyleFieldThemeImage) {
    return ThemeImageBrush(Payload);
  }
  return MakeColorBrush(mStyleConstants[Payload], (UINT32)HostServices()->ScaleX(kScaledModifierDesignUnits));
}

// A brush made now: the frequent kinds, colour and host image, inline. The
// kinds lie in ranges of the field's bits; constants and "same" never get
// here.
inline UINT32 MadeBrush(STYLE_FIELD Field) {
  if (Field.Bits < ((UINT16)StyleFieldHostImage << 13)) {
    return ColorFieldBrush(Field.Bits);
  }
  if (Field.Bits < ((UINT16)StyleFieldThemeImage << 13)) {
    return MakeHostImageBrush(Field.Payload());
  }
  return RareBrush(Field);
}

// A request or descriptor value: a constant, or a brush made now.
inline UINT32 ValueOf(STYLE_FIELD Field) {
  return Field.Bits < ((UINT16)StyleFieldSame << 13) ? mStyleConstants[Field.Bits] : MadeBrush(Field);
}

// 0xFFFF in each 16-bit lane whose bit is set in Fields (four bits): the
// bits are spread to lanes 0, 16, 32 and 48 by one multiplication, which
// carries nowhere, and each lane is then filled.
constexpr UINT64 FieldLanes(UINT32 Fields) {
  return ((Fields * 0x0000200040008001ull) & 0x0001000100010001ull) * 0xFFFF;
}
static_assert(FieldLanes(0x0) == 0 && FieldLanes(0x1) == 0xFFFF && FieldLanes(0x4) == 0xFFFF00000000ull &&
              FieldLanes(0xA) == 0xFFFF0000FFFF0000ull && FieldLanes(0xF) == ~0ull);

// The case's set takes the step's keep and 0 fields as they stand, keeps
// its previous brush where the step says "same", and makes the step's
// brushes in field order. Colour brushes, the most frequent, are made here.
__attribute__((always_inline)) inline void RunStateStep(const STYLE_STEP *Step, UINT64 Object, STATE_BRUSHES *Brushes) {
  UINT32 Number = Step->Number;
  UINT64 Set;
  __builtin_memcpy(&Set, Step->Field, sizeof(Set));
  if (Number >= 0x10) {
    UINT64 Previous;
    __builtin_memcpy(&Previous, Brushes, sizeof(Previous));
    const UINT64 Same = FieldLanes(Number >> 4);
    Set = (Set & ~Same) | (Previous & Same);
    Number &= 0xF;
  }
  __builtin_memcpy(Brushes, &Set, sizeof(Set));
  for (UINT32 Made = Step->Op & 0xF; Made != 0; Made &= Made - 1) {
    const UINT32 Index = (UINT32)__builtin_ctz(Made);
    Brushes->Brush[Index] = (BRUSH_ID)MadeBrush(Step->Field[Index]);
  }
  SendStateBrushes(Object, Number, Brushes);
}

// Descriptors other than kind 2067 are written field by field, brushes made
// in Value order.
__attribute__((always_inline)) inline void RunDecorationStep(const STYLE_STEP *Step, UINT64 Object) {
  DECORATION_DESC Descriptor;
  Descriptor.Object = Object;
  Descriptor.Kind = kTableDecorationKinds | Step->Number;
  // Every value as a constant first, unless all are brushes, then the
  // brushes over theirs: a brush field's low five bits index a constant too,
  // read and overwritten.
  if ((Step->Op & 0xF) != 0xF) {
#pragma clang loop unroll(full)
    for (UINTN Index = 0; Index < 4; Index++) {
      Descriptor.Value[Index] = mStyleConstants[Step->Field[Index].Bits & kStyleConstantIndexMask];
    }
  }
  for (UINT32 Made = Step->Op & 0xF; Made != 0; Made &= Made - 1) {
    const UINT32 Index = (UINT32)__builtin_ctz(Made);
    Descriptor.Value[Index] = MadeBrush(Step->Field[Index]);
  }
  Descriptor.Value[4] = 0;
  Descriptor.Value[5] = 0;
  HostUi()->ApplyDecoration(&Descriptor);
}

// The stages choose the row that styles the object, and the record
// operation runs it. A class without a row leaves the object as it is.
inline const STYLE_STEP *StyleByClass(UINT16 Class) { return FindRow(mStyleByClass, Class); }

// A part code without a row hands the object to the class stage.
inline const STYLE_STEP *StyleByPart(UINT16 Class, UINT16 PartCode) {
  const STYLE_STEP *Row = FindRow(mStyleByPartCode, PartCode);
  if (Row == nullptr) {
    Row = StyleByClass(Class);
  }
  return Row;
}

}  // namespace

UINTN EFIAPI ThemeStyleObject(UINT64 Object, UINT16 Class, UINT16 PartCode, UINT32 ObjectId) {
  const STYLE_STEP *Row = FindRow(mStyleById, ObjectId);
  if (Row == nullptr) {
    Row = StyleByPart(Class, PartCode);
  }
  if (Row == nullptr) {
    return 0;
  }
  // The row is one case: it owns one brush set from its first state call to
  // its last. A line ends at the next row's marker or the table's end.
  STATE_BRUSHES Brushes = {};
  for (const STYLE_STEP *Step = FindLine(Row, Class); Step->Op > StyleOpOr; Step++) {
    const UINT8 Op = Step->Op;
    if (Op >= StyleOpState) {
      RunStateStep(Step, Object, &Brushes);
    } else if (__builtin_expect(Op == StyleOpRequest, 1)) {
      SendRequest(Object, Step->Field[1].Bits, Step->Number, ValueOf(Step->Field[0]));
    } else if (Op >= StyleOpDecoration) {
      RunDecorationStep(Step, Object);
    } else if (Op == StyleOpOdd) {
      if (!Step->Odd(Object, ObjectId)) {
        break;
      }
    } else {  // Restyle: the part-code stage again, for another row and class, a new case
      Class = Step->Field[1].Bits;
      Brushes = {};
      Step = FindLine(StepsOn(Step, (INT16)Step->Field[2].Bits), Class) - 1;
    }
  }
  return 0;
}
