// The engine that runs one row of a styling table.
#include "style/StyleRows.h"

#include "host/HostAccess.h"
#include "style/StyleCalls.h"

namespace {

UINT32 BrushModifier(UINT8 Index) {
  if (Index == kModifierScaledX) {
    return (UINT32)HostServices()->ScaleX(kScaledModifierDesignUnits);
  }
  return mBrushModifiers[Index];
}

// The 32-bit value of a field: a constant, or a brush made now.
__attribute__((noinline)) UINT32 FieldValue(STYLE_FIELD Field) {
  const UINT16 Payload = Field.Payload();
  if (Field.Kind() == StyleFieldConstant) {
    return mStyleConstants[Payload];
  }
  if (Field.Bits == BRUSH_KEEP) {
    return BRUSH_KEEP;
  }
  switch (Field.Kind()) {
    case StyleFieldColor:
      return ColorBrush(mStyleConstants[Payload & 0xFF], BrushModifier((UINT8)(Payload >> 8)));
    case StyleFieldHostImage:
      return HostImageBrush(Payload);
    case StyleFieldThemeImage:
      return ThemeImageBrush(Payload);
    default:
      return mStyleConstants[Payload];
  }
}

// The brushes are made in field order; a "same" field keeps what the case's
// set held at its previous call.
void RunStateStep(const STYLE_STEP *Step, UINT64 Object, STATE_BRUSHES *Brushes) {
  for (UINTN Index = 0; Index < 4; Index++) {
    const STYLE_FIELD Field = Step->Field[Index];
    if (Field.Bits == BRUSH_KEEP || Field.Bits == BRUSH_NONE) {
      Brushes->Brush[Index] = Field.Bits;
    } else if (Field.Kind() != StyleFieldSame) {
      Brushes->Brush[Index] = (BRUSH_ID)FieldValue(Field);
    }
  }
  SendStateBrushes(Object, Step->Number, Brushes);
}

// Descriptors other than kind 2067 are written field by field, brushes made
// in Value order.
void RunDecorationStep(const STYLE_STEP *Step, UINT64 Object) {
  DECORATION_DESC Descriptor;
  Descriptor.Object = Object;
  Descriptor.Kind = kTableDecorationKinds | Step->Number;
  for (UINTN Index = 0; Index < 4; Index++) {
    Descriptor.Value[Index] = FieldValue(Step->Field[Index]);
  }
  Descriptor.Value[4] = 0;
  Descriptor.Value[5] = 0;
  HostUi()->ApplyDecoration(&Descriptor);
}

// The steps after a row's markers, up to the next row. The row is one case:
// it owns one brush set from its first state call to its last.
void RunSteps(const STYLE_TABLE *Table, const STYLE_STEP *Step, const STYLE_STEP *End, const STYLE_TARGET *Target) {
  STATE_BRUSHES Brushes = {};
  for (; Step != End && Step->Op != StyleOpRow; Step++) {
    switch (Step->Op) {
      case StyleOpState:
        RunStateStep(Step, Target->Object, &Brushes);
        break;
      case StyleOpRequest:
        SendRequest(Target->Object, Step->Field[1].Bits, Step->Number, FieldValue(Step->Field[0]));
        break;
      case StyleOpDecoration:
        RunDecorationStep(Step, Target->Object);
        break;
      case StyleOpOdd:
        if (!Table->RunOddStep(Step->Number, Target)) {
          return;
        }
        break;
      default:  // further keys of the row
        break;
    }
  }
}

// The marker of the next row after Step (a class line of the same key, or
// another key), or End.
const STYLE_STEP *NextRow(const STYLE_STEP *Step, const STYLE_STEP *End) {
  while (Step != End && Step->Op != StyleOpRow) {
    Step++;
  }
  return Step;
}

}  // namespace

void RunRow(const STYLE_TABLE *Table, const STYLE_STEP *Marker, const STYLE_TARGET *Target) {
  const UINT32 Key = RowKey(*Marker);
  const STYLE_STEP *End = Table->Steps + Table->Count;
  for (; Marker != End && RowKey(*Marker) == Key; Marker = NextRow(Marker + 1, End)) {
    if (RowHoldsForAnyClass(*Marker) || RowClass(*Marker) == Target->Class) {
      RunSteps(Table, Marker + 1, End, Target);
      return;
    }
  }
}
