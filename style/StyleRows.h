// The row notation of the three styling stages, and the form of a table
// that the engine (style/StyleObject.cpp) runs.
//
// A stage writes its table as a list of steps. Row (key) opens a row that
// holds for every class; Row (part code, class) opens a line of a part
// code's row that holds for that class only, and the key's last line is a
// Row (part code) for every other class. Or (key) adds a key to the row just
// opened. The steps after a marker are the line's calls, in order: State,
// Req, Deco, Odd (a named function of the stage, for what no step can say)
// and RestyleAs.
//
// LinkRows checks the written table when the driver is built (a malformed
// row stops the build, naming its fault) and turns it into a linked table:
//   Steps       every line in written order, each opened by a Line or
//               ClassLine marker (which names the step of its key's next
//               line), the whole closed by End; Or is gone;
//   Keys        every key, in ascending order, with FirstSteps the index of
//               its row's first marker; where every key is below
//               kDirectKeyLimit (the classes), RowByKey also gives each
//               key's first marker by the key itself;
//   Values      the distinct values of the steps (numbers, keep, same and
//               the brushes to make); a step names its values by index;
//   Odds        the stage's named functions; an Odd step names one by index.
#pragma once

#include "data/ThemeColorMap.h"
#include "host/HostTypes.h"

// Never defined: a consteval function that reaches it stops the build with
// the reason as its argument.
void StyleTableError(const char *Reason);

// The one brush modifier that is not a constant: a horizontal pixel length
// from ScaleX, asked for just before the brush is made.
inline constexpr INT32 kScaledModifierDesignUnits = 3;

enum STYLE_VALUE_KIND : UINT8 {
  StyleValueNumber,        // the number itself: BRUSH_NONE in a brush set, a request or descriptor value
  StyleValueKeep,          // BRUSH_KEEP: the host leaves this brush of the state as it is
  StyleValueSame,          // the brush that this field of the set held at its previous call
  StyleValueColor,         // ColorBrush (Value, Modifier)
  StyleValueColorScaledX,  // ColorBrush (Value, ScaleX (3))
  StyleValueHostImage,     // HostImageBrush (Value)
  StyleValueThemeImage,    // ThemeImageBrush (Value)
};

// The modifiers that colour brushes pass to the host besides ScaleX (3): a
// number, or a translucent ARGB value of the host's. A colour value names
// its modifier by index in this list.
inline constexpr UINT32 kBrushModifiers[] = {0, 1, 0x2EFFFFFF, 0x14FFFFFF, 0x1FFFFFFF, 0x1F000000};

consteval UINT8 BrushModifierIndex(UINT32 Modifier) {
  for (UINT8 Index = 0; Index < sizeof(kBrushModifiers) / sizeof(kBrushModifiers[0]); Index++) {
    if (kBrushModifiers[Index] == Modifier) {
      return Index;
    }
  }
  StyleTableError("a brush modifier is one of kBrushModifiers or ScaleX (3)");
  return 0;
}

// One value of a step: a brush field, a request value or a descriptor value.
// A plain number converts implicitly, so tables write 0 (BRUSH_NONE) and
// other numbers as they are.
struct STYLE_VALUE {
  UINT32 Value;  // the number, the ARGB colour or the image id
  STYLE_VALUE_KIND Kind;
  UINT8 Modifier;  // a colour brush's modifier, by index in kBrushModifiers

  constexpr STYLE_VALUE() : Value(0), Kind(StyleValueNumber), Modifier(0) {}
  consteval STYLE_VALUE(UINT32 Number) : Value(Number), Kind(StyleValueNumber), Modifier(0) {}
  consteval STYLE_VALUE(STYLE_VALUE_KIND ValueKind, UINT32 ValueOrId, UINT8 ModifierIndex = 0)
      : Value(ValueOrId), Kind(ValueKind), Modifier(ModifierIndex) {}
  constexpr bool operator==(const STYLE_VALUE &) const = default;
};
static_assert(sizeof(STYLE_VALUE) == 8);

inline constexpr STYLE_VALUE Keep{StyleValueKeep, BRUSH_KEEP};
inline constexpr STYLE_VALUE Same{StyleValueSame, 0};

// The tag that ScaleX (3) stands for where it is a brush modifier.
struct SCALED_X_MODIFIER {
  INT32 DesignUnits;
};
consteval SCALED_X_MODIFIER ScaleX(INT32 DesignUnits) { return {DesignUnits}; }

// A colour brush. The colour is the theme's (Argb); the modifier, a number
// or a translucent ARGB value of the host's, passes through unchanged.
consteval STYLE_VALUE Color(UINT32 DefaultArgb, UINT32 Modifier = 0) {
  return {StyleValueColor, Argb(DefaultArgb), BrushModifierIndex(Modifier)};
}
consteval STYLE_VALUE Color(UINT32 DefaultArgb, SCALED_X_MODIFIER Modifier) {
  if (Modifier.DesignUnits != kScaledModifierDesignUnits) {
    StyleTableError("only ScaleX (3) is a brush modifier");
  }
  return {StyleValueColorScaledX, Argb(DefaultArgb)};
}
consteval STYLE_VALUE HostImage(UINT32 HostImageId) { return {StyleValueHostImage, HostImageId}; }
consteval STYLE_VALUE ThemeImage(UINT32 ThemeImageId) { return {StyleValueThemeImage, ThemeImageId}; }

constexpr BOOLEAN IsBrush(const STYLE_VALUE &Value) {
  return Value.Kind != StyleValueNumber && Value.Kind != StyleValueKeep && Value.Kind != StyleValueSame;
}

// A named function of a stage, for a row that no step can say. It gets the
// object and its identifier; FALSE ends the line there.
typedef BOOLEAN (*STYLE_ODD_STEP)(UINT64 Object, UINT32 ObjectId);

// The ops, with the operands each reads in a linked table.
enum STYLE_OP : UINT8 {
  StyleOpEnd,         // ends the table, and with it the last line
  StyleOpLine,        // opens a line that holds for every class
  StyleOpClassLine,   // opens a line that holds for class Code only; the key's next line is step Number
  StyleOpState,       // SetStateBrushes for state Number, the set updated from Value[0..3]
  StyleOpRequest,     // ObjectRequest with request Code, index Number and Value[0]
  StyleOpDecoration,  // ApplyDecoration of kind Code with Value[0..3], then 0 and 0
  StyleOpOdd,         // the stage's named function Odds[Code]; FALSE ends the line
  StyleOpRestyle,     // a new case: the line for class Code of the row that starts at step Number
  StyleOpOr,          // as written only: one more key of the row just opened
};

// A step as a table writes it; LinkRows turns the table into STYLE_STEPs.
struct STYLE_WRITTEN_STEP {
  STYLE_OP Op;
  UINT8 Number = 0;
  UINT16 Code = 0;
  UINT32 Key = 0;  // markers and RestyleAs: a row's key
  STYLE_VALUE Value[4] = {};
  STYLE_ODD_STEP Odd = nullptr;
};

// A step as the engine runs it: the op and its operands (see STYLE_OP).
struct STYLE_STEP {
  STYLE_OP Op;
  UINT8 Number;
  UINT16 Code;
  UINT8 Value[4];  // indices into the table's Values
};
static_assert(sizeof(STYLE_STEP) == 8);

// A row for every class, and a part code's line for one class.
consteval STYLE_WRITTEN_STEP Row(UINT32 Key) { return {.Op = StyleOpLine, .Key = Key}; }
consteval STYLE_WRITTEN_STEP Row(UINT16 PartCode, UINT16 Class) {
  return {.Op = StyleOpClassLine, .Code = Class, .Key = PartCode};
}
consteval STYLE_WRITTEN_STEP Or(UINT32 Key) { return {.Op = StyleOpOr, .Key = Key}; }

consteval STYLE_WRITTEN_STEP State(UINT8 StateNumber, STYLE_VALUE B0, STYLE_VALUE B1, STYLE_VALUE B2,
                                   STYLE_VALUE B3) {
  if (StateNumber > 6) {
    StyleTableError("states are 0..6");
  }
  const STYLE_VALUE Fields[4] = {B0, B1, B2, B3};
  for (const STYLE_VALUE &Field : Fields) {
    if (Field.Kind == StyleValueNumber && Field.Value != BRUSH_NONE) {
      StyleTableError("a brush set field is keep, 0, same or a brush");
    }
  }
  return {.Op = StyleOpState, .Number = StateNumber, .Value = {B0, B1, B2, B3}};
}

consteval STYLE_WRITTEN_STEP Req(UINT16 Code, UINT8 Index, STYLE_VALUE Value) {
  if (Value.Kind == StyleValueSame || Value.Kind == StyleValueKeep) {
    StyleTableError("a request value is a number or a brush");
  }
  return {.Op = StyleOpRequest, .Number = Index, .Code = Code, .Value = {Value, 0, 0, 0}};
}

// Kind 2067 is built on a descriptor that the host clears first, which no
// table step does.
inline constexpr UINT16 kClearedDecorationKind = 2067;

// Value[4] and Value[5] are 0 in every descriptor a table sends; a row that
// needs more is an odd row.
consteval STYLE_WRITTEN_STEP Deco(UINT16 Kind, STYLE_VALUE V0, STYLE_VALUE V1, STYLE_VALUE V2, STYLE_VALUE V3,
                                  STYLE_VALUE V4, STYLE_VALUE V5) {
  if (!(V4 == STYLE_VALUE(0)) || !(V5 == STYLE_VALUE(0))) {
    StyleTableError("Value[4] and Value[5] of a table descriptor are 0");
  }
  if (Kind == kClearedDecorationKind) {
    StyleTableError("a kind 2067 descriptor is cleared by the host first: an odd row");
  }
  const STYLE_VALUE Values[4] = {V0, V1, V2, V3};
  for (const STYLE_VALUE &Value : Values) {
    if (Value.Kind == StyleValueSame || Value.Kind == StyleValueKeep) {
      StyleTableError("a descriptor value is a number or a brush");
    }
  }
  return {.Op = StyleOpDecoration, .Code = Kind, .Value = {V0, V1, V2, V3}};
}

consteval STYLE_WRITTEN_STEP Odd(STYLE_ODD_STEP Function) { return {.Op = StyleOpOdd, .Odd = Function}; }

// Ends a line with the look of another row of the same table, chosen as for
// class Class: a new case, as if the stage had been called for that key and
// class.
consteval STYLE_WRITTEN_STEP RestyleAs(UINT32 Key, UINT16 Class) {
  return {.Op = StyleOpRestyle, .Code = Class, .Key = Key};
}

// A linked table's parts; see the top of this file.
// Keys this small index a table directly; a step index that names no row.
inline constexpr UINT32 kDirectKeyLimit = 256;
inline constexpr UINT8 kNoRow = 0xFF;

struct STYLE_TABLE {
  const STYLE_STEP *Steps;
  const UINT32 *Keys;  // ascending
  const UINT8 *FirstSteps;
  UINT32 KeyCount;
  const UINT8 *RowByKey;  // small keys only: RowByKeyCount first markers by key (kNoRow: none)
  UINT32 RowByKeyCount;
  const STYLE_VALUE *Values;
  const STYLE_ODD_STEP *Odds;
};

// ---------------------------------------------------------------------------
// LinkRows: build-time checks and linking. Nothing below runs in the driver.

constexpr BOOLEAN IsMarker(STYLE_OP Op) { return Op == StyleOpLine || Op == StyleOpClassLine || Op == StyleOpOr; }
// A marker that opens a line, as Or does not.
constexpr BOOLEAN OpensLine(STYLE_OP Op) { return Op == StyleOpLine || Op == StyleOpClassLine; }

// How many of each part a written table links to.
struct STYLE_TABLE_SIZES {
  UINTN Steps;
  UINTN Keys;
  UINTN RowByKey;  // the largest key plus one where all keys are small, else 0
  UINTN Values;
  UINTN Odds;
};

template <STYLE_TABLE_SIZES Sizes>
struct STYLE_LINKED_TABLE {
  STYLE_STEP Steps[Sizes.Steps];
  UINT32 Keys[Sizes.Keys];
  UINT8 FirstSteps[Sizes.Keys];
  UINT8 RowByKey[Sizes.RowByKey > 0 ? Sizes.RowByKey : 1];
  STYLE_VALUE Values[Sizes.Values > 0 ? Sizes.Values : 1];
  STYLE_ODD_STEP Odds[Sizes.Odds + 1];  // a table may have none; the last entry stays null

  constexpr STYLE_TABLE Table() const {
    return {Steps, Keys, FirstSteps, Sizes.Keys, Sizes.RowByKey > 0 ? RowByKey : nullptr,
            (UINT32)Sizes.RowByKey, Values, Odds};
  }
};

// The values a written step sends, which the linked table lists.
constexpr UINTN ValueCountOf(STYLE_OP Op) {
  return Op == StyleOpState || Op == StyleOpDecoration ? 4 : Op == StyleOpRequest ? 1 : 0;
}

template <typename T, UINTN Capacity>
struct STYLE_LIST {
  T Item[Capacity] = {};
  UINTN Count = 0;

  constexpr UINTN IndexOf(const T &Wanted) const {
    for (UINTN Index = 0; Index < Count; Index++) {
      if (Item[Index] == Wanted) {
        return Index;
      }
    }
    return Count;
  }
  // Wanted's index, added at the end when the list lacks it.
  constexpr UINTN Add(const T &Wanted) {
    const UINTN Index = IndexOf(Wanted);
    if (Index == Count) {
      Item[Count++] = Wanted;
    }
    return Index;
  }
};

// The distinct values and odd functions of a table, in first-use order.
template <UINTN Count>
struct STYLE_TABLE_POOLS {
  STYLE_LIST<STYLE_VALUE, 4 * Count> Values;
  STYLE_LIST<STYLE_ODD_STEP, Count> Odds;
};

template <UINTN Count>
constexpr STYLE_TABLE_POOLS<Count> PoolsOf(const STYLE_WRITTEN_STEP (&Rows)[Count]) {
  STYLE_TABLE_POOLS<Count> Pools;
  for (const STYLE_WRITTEN_STEP &Step : Rows) {
    for (UINTN Index = 0; Index < ValueCountOf(Step.Op); Index++) {
      Pools.Values.Add(Step.Value[Index]);
    }
    if (Step.Op == StyleOpOdd) {
      Pools.Odds.Add(Step.Odd);
    }
  }
  return Pools;
}

// The written index of the first marker of the row that holds Key, or Count.
template <UINTN Count>
constexpr UINTN RowOfKey(const STYLE_WRITTEN_STEP (&Rows)[Count], UINT32 Key) {
  for (UINTN Index = 0; Index < Count; Index++) {
    if (IsMarker(Rows[Index].Op) && Rows[Index].Key == Key) {
      UINTN First = Index;
      while (First > 0 && IsMarker(Rows[First - 1].Op) && Rows[First].Op == StyleOpOr) {
        First--;
      }
      return First;
    }
  }
  return Count;
}

// The rules that hold the engine to the table as a reviewer reads it.
template <UINTN Count>
constexpr void CheckRows(const STYLE_WRITTEN_STEP (&Rows)[Count]) {
  if (Count == 0 || !IsMarker(Rows[0].Op) || Rows[0].Op == StyleOpOr) {
    StyleTableError("a table starts with a row");
  }
  if (Count >= kNoRow) {
    StyleTableError("a table holds fewer than 255 steps");
  }
  for (UINTN Index = 0; Index < Count; Index++) {
    const STYLE_WRITTEN_STEP &Step = Rows[Index];
    if (Step.Op == StyleOpOr && !IsMarker(Rows[Index - 1].Op)) {
      StyleTableError("Or follows a row's marker");
    }
    // A key's lines lie together: no line of another key between them.
    if (OpensLine(Step.Op) && RowOfKey(Rows, Step.Key) < Index) {
      for (UINTN Between = RowOfKey(Rows, Step.Key); Between < Index; Between++) {
        if (OpensLine(Rows[Between].Op) && Rows[Between].Key != Step.Key) {
          StyleTableError("the lines of a key lie together");
        }
      }
    }
    if (OpensLine(Step.Op)) {
      UINTN Next = Index + 1;
      while (Next < Count && !OpensLine(Rows[Next].Op)) {
        Next++;
      }
      const BOOLEAN SameKeyFollows = Next < Count && Rows[Next].Key == Step.Key;
      // A class finds its line by walking the key's lines, which must end in
      // one for every class; a line after that could never run.
      if (Step.Op == StyleOpClassLine && !SameKeyFollows) {
        StyleTableError("a class line is followed by another line of its key");
      }
      if (Step.Op == StyleOpLine && SameKeyFollows) {
        StyleTableError("a line for every class ends its key's lines");
      }
    }
    if (Step.Op == StyleOpRestyle) {
      const UINTN Target = RowOfKey(Rows, Step.Key);
      if (Target == Count || (Index + 1 < Count && !IsMarker(Rows[Index + 1].Op))) {
        StyleTableError("RestyleAs ends a line and names a row of its table");
      }
      for (UINTN Later = Target + 1; Later < Count && !(OpensLine(Rows[Later].Op) && Rows[Later].Key != Rows[Target].Key);
           Later++) {
        if (Rows[Later].Op == StyleOpRestyle) {
          StyleTableError("RestyleAs names a row that does not restyle");
        }
      }
    }
  }
}

template <UINTN Count>
consteval STYLE_TABLE_SIZES MeasureRows(const STYLE_WRITTEN_STEP (&Rows)[Count]) {
  CheckRows(Rows);
  STYLE_TABLE_SIZES Sizes = {1, 0, 0, 0, 0};  // End
  UINT32 LargestKey = 0;
  for (UINTN Index = 0; Index < Count; Index++) {
    Sizes.Steps += Rows[Index].Op == StyleOpOr ? 0 : 1;
    LargestKey = IsMarker(Rows[Index].Op) && Rows[Index].Key > LargestKey ? Rows[Index].Key : LargestKey;
    Sizes.Keys += IsMarker(Rows[Index].Op) && RowOfKey(Rows, Rows[Index].Key) == Index ? 1 : 0;
    Sizes.Keys += Rows[Index].Op == StyleOpOr ? 1 : 0;
  }
  if (LargestKey < kDirectKeyLimit) {
    Sizes.RowByKey = LargestKey + 1;
  }
  const STYLE_TABLE_POOLS<Count> Pools = PoolsOf(Rows);
  Sizes.Values = Pools.Values.Count;
  Sizes.Odds = Pools.Odds.Count;
  return Sizes;
}

template <STYLE_TABLE_SIZES Sizes, UINTN Count>
consteval STYLE_LINKED_TABLE<Sizes> LinkRows(const STYLE_WRITTEN_STEP (&Rows)[Count]) {
  const STYLE_TABLE_POOLS<Count> Pools = PoolsOf(Rows);
  STYLE_LINKED_TABLE<Sizes> Linked = {};
  for (UINTN Index = 0; Index < Sizes.Values; Index++) {
    Linked.Values[Index] = Pools.Values.Item[Index];
  }
  for (UINTN Index = 0; Index < Sizes.Odds; Index++) {
    Linked.Odds[Index] = Pools.Odds.Item[Index];
  }
  // A written step's index in the linked steps, which have no Or.
  UINTN LinkedIndex[Count + 1] = {};
  for (UINTN Index = 0, Linking = 0; Index <= Count; Index++) {
    LinkedIndex[Index] = Linking;
    Linking += Index < Count && Rows[Index].Op == StyleOpOr ? 0 : 1;
  }
  UINTN Keys = 0;
  for (UINTN Index = 0; Index < Count; Index++) {
    const STYLE_WRITTEN_STEP &Written = Rows[Index];
    if (Written.Op == StyleOpOr || (IsMarker(Written.Op) && RowOfKey(Rows, Written.Key) == Index)) {
      // Insertion into the ascending keys.
      UINTN At = Keys++;
      for (; At > 0 && Linked.Keys[At - 1] > Written.Key; At--) {
        Linked.Keys[At] = Linked.Keys[At - 1];
        Linked.FirstSteps[At] = Linked.FirstSteps[At - 1];
      }
      Linked.Keys[At] = Written.Key;
      Linked.FirstSteps[At] = (UINT8)LinkedIndex[RowOfKey(Rows, Written.Key)];
    }
    if (Written.Op == StyleOpOr) {
      continue;
    }
    STYLE_STEP &Step = Linked.Steps[LinkedIndex[Index]];
    Step.Op = Written.Op;
    Step.Number = Written.Number;
    Step.Code = Written.Code;
    for (UINTN Field = 0; Field < ValueCountOf(Written.Op); Field++) {
      Step.Value[Field] = (UINT8)Pools.Values.IndexOf(Written.Value[Field]);
    }
    if (Written.Op == StyleOpOdd) {
      Step.Code = (UINT16)Pools.Odds.IndexOf(Written.Odd);
    }
    if (Written.Op == StyleOpRestyle) {
      Step.Number = (UINT8)LinkedIndex[RowOfKey(Rows, Written.Key)];
    }
    if (Written.Op == StyleOpClassLine) {
      UINTN Next = Index + 1;
      while (!OpensLine(Rows[Next].Op)) {  // CheckRows: a line of the key follows
        Next++;
      }
      Step.Number = (UINT8)LinkedIndex[Next];
    }
  }
  for (UINTN Index = 1; Index < Keys; Index++) {
    if (Linked.Keys[Index] == Linked.Keys[Index - 1]) {
      StyleTableError("the lines of a key lie together");
    }
  }
  for (UINTN Key = 0; Key < Sizes.RowByKey; Key++) {
    Linked.RowByKey[Key] = kNoRow;
  }
  for (UINTN Slot = 0; Slot < Keys && Sizes.RowByKey > 0; Slot++) {
    Linked.RowByKey[Linked.Keys[Slot]] = Linked.FirstSteps[Slot];
  }
  Linked.Steps[Sizes.Steps - 1] = {StyleOpEnd, 0, 0, {0, 0, 0, 0}};
  return Linked;
}
