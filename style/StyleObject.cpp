// The record operation that styles one host object, and the engine that
// runs the stages' tables (written in the notation of style/StyleRows.h).
//
// How an object flows through it:
// - The stages are tried in turn: by object identifier, by part code, by
//   class (only the low 16 bits of class and part code count). The first
//   whose table has a row for its key claims the object, even when that row
//   then does nothing for the object's class; an object no stage claims
//   keeps the host's defaults.
// - A row is one or more lines: class lines that hold for one class each,
//   then a line for every class. The first line that holds for the object's
//   class is run, step by step, up to the next line's marker.
// - A line is one case: it owns one brush set from its first state call to
//   its last, so that "same" gives the brush of the set's previous call.
//   RestyleAs starts a new case with another row's line.
#include "data/ThemeQueries.h"
#include "host/HostAccess.h"
#include "style/Style.h"
#include "style/StyleCalls.h"
#include "style/StyleStages.h"

namespace {

// The first marker of Key's row, or null when the table has none: the stage
// does not claim the object. The identifier and part-code tables are found
// by a binary search over their sorted keys; a key outside their range is
// turned away at once. Inlined into its two uses (60 bytes): an object that
// no stage claims then costs 137 instructions instead of 154 (bench case
// "unclaimed, class 100"; the goal is 150).
__attribute__((always_inline)) inline const STYLE_STEP *SearchRow(const STYLE_TABLE &Table, UINT32 Key) {
  if (Key < Table.Keys[0] || Key > Table.Keys[Table.KeyCount - 1]) {
    return nullptr;
  }
  // Key, if listed, is one of the Count keys from First on; each pass keeps
  // the half that can hold it.
  UINT32 First = 0;
  UINT32 Count = Table.KeyCount;
  while (Count > 1) {
    const UINT32 Half = Count / 2;
    if (Table.Keys[First + Half] <= Key) {
      First += Half;
    }
    Count -= Half;
  }
  if (Table.Keys[First] != Key) {
    return nullptr;
  }
  return &Table.Steps[Table.FirstSteps[First]];
}

// Classes are small numbers: the class table gives a class's first marker
// by the class itself (style/StyleByClass.cpp makes sure it can).
const STYLE_STEP *ClassRow(UINT16 Class) {
  if (Class >= kStyleByClass.RowByKeyCount || kStyleByClass.RowByKey[Class] == kNoRow) {
    return nullptr;
  }
  return &kStyleByClass.Steps[kStyleByClass.RowByKey[Class]];
}

// The first step of the line of the row at Marker that holds for Class: a
// class line names the step of its key's next line, and the build made sure
// that a key's last line holds for every class.
const STYLE_STEP *FindLine(const STYLE_TABLE &Table, const STYLE_STEP *Marker, UINT16 Class) {
  while (Marker->Op == StyleOpClassLine && Marker->Code != Class) {
    Marker = &Table.Steps[Marker->Number];
  }
  return Marker + 1;
}

// The brush that a value of one of the brush kinds stands for, made now.
UINT32 BrushOf(const STYLE_VALUE &Value) {
  switch (Value.Kind) {
    case StyleValueNumber:
    case StyleValueKeep:
    case StyleValueSame:
      break;  // not brushes: see ValueOf
    case StyleValueColor:
      return ColorBrush(Value.Value, kBrushModifiers[Value.Modifier]);
    case StyleValueColorScaledX:
      return ColorBrush(Value.Value, (UINT32)HostServices()->ScaleX(kScaledModifierDesignUnits));
    case StyleValueHostImage:
      return HostImageBrush(Value.Value);
    case StyleValueThemeImage:
      return ThemeImageBrush(Value.Value);
  }
  return 0;
}

// A request or descriptor value, or a brush set field other than "same":
// the number as it stands (keep is BRUSH_KEEP), or a brush made now.
inline UINT32 ValueOf(const STYLE_VALUE &Value) { return IsBrush(Value) ? BrushOf(Value) : Value.Value; }

// Value Index of Step, from the table's list.
const STYLE_VALUE &StepValue(const STYLE_TABLE &Table, const STYLE_STEP *Step, UINTN Index) {
  return Table.Values[Step->Value[Index]];
}

// Runs one line of Table from Step until the next line, the table's end, or
// an odd step that ends it.
void RunLine(const STYLE_TABLE &Table, const STYLE_STEP *Step, UINT64 Object, UINT32 ObjectId) {
  STATE_BRUSHES Brushes = {};
  for (;; Step++) {
    switch (Step->Op) {
      case StyleOpState:
        // SetStateBrushes (Object, Number, set): each field of the set takes
        // its Value, made in field order, except where the Value is "same".
        for (UINTN Field = 0; Field < 4; Field++) {
          const STYLE_VALUE &Value = StepValue(Table, Step, Field);
          if (Value.Kind != StyleValueSame) {
            Brushes.Brush[Field] = (BRUSH_ID)ValueOf(Value);
          }
        }
        HostUi()->SetStateBrushes(Object, Step->Number, &Brushes);
        break;

      case StyleOpRequest:
        // ObjectRequest (Object, Code, Number, Value[0]); the result is not read.
        HostUi()->ObjectRequest(Object, Step->Code, Step->Number, ValueOf(StepValue(Table, Step, 0)));
        break;

      case StyleOpDecoration: {
        // ApplyDecoration of kind Code: Value[0..3] in order, then 0 and 0.
        DECORATION_DESC Descriptor;
        Descriptor.Object = Object;
        Descriptor.Kind = Step->Code;
        for (UINTN Index = 0; Index < 4; Index++) {
          Descriptor.Value[Index] = ValueOf(StepValue(Table, Step, Index));
        }
        Descriptor.Value[4] = 0;
        Descriptor.Value[5] = 0;
        HostUi()->ApplyDecoration(&Descriptor);
        break;
      }

      case StyleOpOdd:
        // The stage's named function Odds[Code] (Object, ObjectId); FALSE ends the line.
        if (!Table.Odds[Step->Code](Object, ObjectId)) {
          return;
        }
        break;

      case StyleOpRestyle:
        // A new case, as for class Code: the line of the row at step Number.
        Brushes = {};
        Step = FindLine(Table, &Table.Steps[Step->Number], Step->Code) - 1;
        break;

      case StyleOpLine:
      case StyleOpClassLine:
      case StyleOpEnd:
      case StyleOpOr:  // never in a linked table
        // The next line's marker or the table's end: this line is done.
        return;
    }
  }
}

}  // namespace

UINTN EFIAPI ThemeStyleObject(UINT64 Object, UINT16 Class, UINT16 PartCode, UINT32 ObjectId) {
  const STYLE_TABLE *Table = &kStyleById;
  const STYLE_STEP *Row = SearchRow(*Table, ObjectId);
  if (Row == nullptr) {
    Table = &kStyleByPartCode;
    Row = SearchRow(*Table, PartCode);
  }
  if (Row == nullptr) {
    Table = &kStyleByClass;
    Row = ClassRow(Class);
  }
  if (Row != nullptr) {
    RunLine(*Table, FindLine(*Table, Row, Class), Object, ObjectId);
  }
  return 0;
}
