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

// The 32-bit value of any field that is not keep or same: a brush made now,
// or a constant. Out of line: one copy serves the less frequent kinds of
// every step.
__attribute__((noinline)) UINT32 FieldValue(STYLE_FIELD Field) {
  const UINT16 Payload = Field.Payload();
  switch (Field.Kind()) {
    case StyleFieldColor:
      return ColorFieldBrush(Field.Bits);
    case StyleFieldColorScaledX:
      return MakeColorBrush(mStyleConstants[Payload], (UINT32)HostServices()->ScaleX(kScaledModifierDesignUnits));
    case StyleFieldHostImage:
      return HostImageBrush(Payload);
    case StyleFieldThemeImage:
      return ThemeImageBrush(Payload);
    default:
      return mStyleConstants[Payload];
  }
}

// A request or descriptor value: constants and colours, the frequent kinds,
// inline ("same" and keep never occur here).
inline UINT32 ValueOf(STYLE_FIELD Field) {
  if (Field.Bits < ((UINT16)StyleFieldSame << 13)) {
    return mStyleConstants[Field.Bits];
  }
  return Field.Bits < ((UINT16)StyleFieldHostImage << 13) ? ColorFieldBrush(Field.Bits) : FieldValue(Field);
}

// The case's set takes the step's keep and 0 fields as they stand, keeps
// its previous brush where the step says "same", and makes the step's
// brushes in field order. Colour brushes, the most frequent, are made here.
__attribute__((always_inline)) inline void RunStateStep(const STYLE_STEP *Step, UINT64 Object, STATE_BRUSHES *Brushes) {
  UINT32 Number = Step->Number;
  if (Number >= 0x10) {
    const STATE_BRUSHES Previous = *Brushes;
    __builtin_memcpy(Brushes, Step->Field, sizeof(*Brushes));
    for (UINT32 Same = Number >> 4; Same != 0; Same &= Same - 1) {
      const UINT32 Index = (UINT32)__builtin_ctz(Same);
      Brushes->Brush[Index] = Previous.Brush[Index];
    }
    Number &= 0xF;
  } else {
    __builtin_memcpy(Brushes, Step->Field, sizeof(*Brushes));
  }
  for (UINT32 Made = Step->Op & 0xF; Made != 0; Made &= Made - 1) {
    const UINT32 Index = (UINT32)__builtin_ctz(Made);
    const STYLE_FIELD Field = Step->Field[Index];
    // A made field is a colour or an image: below the image kinds, a colour.
    Brushes->Brush[Index] =
        (BRUSH_ID)(Field.Bits < ((UINT16)StyleFieldHostImage << 13) ? ColorFieldBrush(Field.Bits) : FieldValue(Field));
  }
  SendStateBrushes(Object, Number, Brushes);
}

// Descriptors other than kind 2067 are written field by field, brushes made
// in Value order.
__attribute__((always_inline)) inline void RunDecorationStep(const STYLE_STEP *Step, UINT64 Object) {
  DECORATION_DESC Descriptor;
  Descriptor.Object = Object;
  Descriptor.Kind = kTableDecorationKinds | Step->Number;
  for (UINTN Index = 0; Index < 4; Index++) {
    Descriptor.Value[Index] = ValueOf(Step->Field[Index]);
  }
  Descriptor.Value[4] = 0;
  Descriptor.Value[5] = 0;
  HostUi()->ApplyDecoration(&Descriptor);
}

// The row of the first stage that claims the object; null when none does.
inline const STYLE_STEP *FindClaimingRow(UINT16 Class, UINT16 PartCode, UINT32 ObjectId) {
  const STYLE_STEP *Row = FindRow(mStyleById, ObjectId);
  if (Row == nullptr) {
    Row = FindRow(mStyleByPartCode, PartCode);
  }
  if (Row == nullptr) {
    Row = FindRow(mStyleByClass, Class);
  }
  return Row;
}

}  // namespace

UINTN EFIAPI ThemeStyleObject(UINT64 Object, UINT16 Class, UINT16 PartCode, UINT32 ObjectId) {
  const STYLE_STEP *Row = FindClaimingRow(Class, PartCode, ObjectId);
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
    } else if (Op == StyleOpDecoration) {
      RunDecorationStep(Step, Object);
    } else if (Op == StyleOpOdd) {
      if (!Step->Odd(Object, ObjectId)) {
        break;
      }
    } else {  // Then: on with another row's line
      if (Step->Number != 0) {  // restyled as another key and class: a new case
        Class = Step->Field[1].Bits;
        Brushes = {};
      }
      Step = FindLine(Step + (INT16)Step->Field[2].Bits, Class) - 1;
    }
  }
  return 0;
}
