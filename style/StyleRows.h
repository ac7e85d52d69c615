// The row notation of the three styling stages and the small engine that
// runs it. A stage's table is one array of steps: a Row marker names the key
// (object identifier, part code or class) and opens a row, the steps after it
// are the row's calls in order. Rows that do something no step can say call a
// named function of their stage through an Odd step.
//
// Each step is 10 bytes. A brush or value field is 16 bits: a kind and
// either an index into mStyleConstants (with a modifier index for colours) or
// an image id. The constructors below are consteval, so a colour missing from
// the constant list or a malformed row fails the build.
#pragma once

#include "host/HostTypes.h"

// Never defined: a consteval constructor that reaches it stops the build with
// the reason as its argument.
void StyleTableError(const char *Reason);

// Every 32-bit constant that the tables send, as a colour brush, a request
// value or a plain brush field. Order does not matter; a table names the value
// itself and the build finds it here.
inline constexpr UINT32 mStyleConstants[] = {
    0x00000000, 0x0000FFFF, 0xFF7A726F, 0xFF1E1B1A, 0xFFE5E2E1, 0xFFB1A6A2, 0xFFA0A0A0,
    0xFF52525B, 0x14000000, 0xFF484341, 0xFF968C88, 0xFF212121, 0xFFECEDEE, 0xFF3F3F46,
    0xFFFFFFFF, 0xFFFF6A00, 0xFFFF8333, 0xFF615B58, 0xFF5B6158, 0xFFE0E0E0, 0xFF7C726F,
    0xFFE4E4E7, 0xFF000000, 0x1EFFFFFF, 0x14FFFFFF, 0x2EFFFFFF, 0xFFE4E4E4,
};

// The modifiers that colour brushes pass to MakeBrush, and one that is not a
// constant: a horizontal pixel length from ScaleX, asked for just before the
// brush is made.
inline constexpr UINT32 mBrushModifiers[] = {0, 1, 0x2EFFFFFF, 0x14FFFFFF, 0x1FFFFFFF, 0x1F000000};
inline constexpr UINT8 kModifierScaledX = sizeof(mBrushModifiers) / sizeof(mBrushModifiers[0]);
inline constexpr INT32 kScaledModifierDesignUnits = 3;

enum STYLE_FIELD_KIND : UINT8 {
  StyleFieldConstant,    // a number: BRUSH_KEEP, BRUSH_NONE, an ARGB value
  StyleFieldSame,        // the brush the set held at its previous call
  StyleFieldColor,       // ColorBrush (constant, modifier)
  StyleFieldHostImage,   // HostImageBrush (id)
  StyleFieldThemeImage,  // ThemeImageBrush (id)
  StyleFieldKeep = 7,    // BRUSH_KEEP: all sixteen bits set, the field is its own brush id
};

consteval UINT8 StyleConstantIndex(UINT32 Value) {
  for (UINT8 Index = 0; Index < sizeof(mStyleConstants) / sizeof(mStyleConstants[0]); Index++) {
    if (mStyleConstants[Index] == Value) {
      return Index;
    }
  }
  StyleTableError("value missing from mStyleConstants");
  return 0;
}

consteval UINT8 BrushModifierIndex(UINT32 Modifier) {
  for (UINT8 Index = 0; Index < kModifierScaledX; Index++) {
    if (mBrushModifiers[Index] == Modifier) {
      return Index;
    }
  }
  StyleTableError("modifier missing from mBrushModifiers");
  return 0;
}

// One brush field or request value of a step. A plain number converts
// implicitly, so tables write 0 (BRUSH_NONE) and ARGB values as they are.
struct STYLE_FIELD {
  UINT16 Bits;

  consteval STYLE_FIELD(UINT32 Constant) : Bits(Encode(StyleFieldConstant, StyleConstantIndex(Constant))) {}
  consteval STYLE_FIELD(STYLE_FIELD_KIND Kind, UINT16 Payload) : Bits(Encode(Kind, Payload)) {}
  // Sixteen bits as they stand: half of a row key, or a class.
  static consteval STYLE_FIELD Raw(UINT16 Bits) {
    STYLE_FIELD Field = 0;
    Field.Bits = Bits;
    return Field;
  }

  constexpr STYLE_FIELD_KIND Kind() const { return (STYLE_FIELD_KIND)(Bits >> 13); }
  constexpr UINT16 Payload() const { return Bits & 0x1FFF; }

 private:
  static consteval UINT16 Encode(STYLE_FIELD_KIND Kind, UINT16 Payload) {
    if (Payload > 0x1FFF) {
      StyleTableError("field payload wider than 13 bits");
    }
    return (UINT16)((Kind << 13) | Payload);
  }
};
static_assert(sizeof(STYLE_FIELD) == 2);

inline constexpr STYLE_FIELD Keep{StyleFieldKeep, 0x1FFF};
static_assert(Keep.Bits == BRUSH_KEEP);
inline constexpr STYLE_FIELD Same{StyleFieldSame, 0};

// The tag that ScaleX (3) stands for where it is a brush modifier.
struct SCALED_X_MODIFIER {
  INT32 DesignUnits;
};
consteval SCALED_X_MODIFIER ScaleX(INT32 DesignUnits) { return {DesignUnits}; }

// Colour payload: modifier index in bits 8..12, constant index in bits 0..7.
consteval STYLE_FIELD Color(UINT32 Argb, UINT32 Modifier = 0) {
  return {StyleFieldColor, (UINT16)((BrushModifierIndex(Modifier) << 8) | StyleConstantIndex(Argb))};
}
consteval STYLE_FIELD Color(UINT32 Argb, SCALED_X_MODIFIER Modifier) {
  if (Modifier.DesignUnits != kScaledModifierDesignUnits) {
    StyleTableError("only ScaleX (3) is a brush modifier");
  }
  return {StyleFieldColor, (UINT16)((kModifierScaledX << 8) | StyleConstantIndex(Argb))};
}
consteval STYLE_FIELD HostImage(UINT16 HostImageId) { return {StyleFieldHostImage, HostImageId}; }
consteval STYLE_FIELD ThemeImage(UINT16 ThemeImageId) { return {StyleFieldThemeImage, ThemeImageId}; }

enum STYLE_OP : UINT8 {
  StyleOpRow,         // opens a row: Field[0..1] hold the key, Field[2] the class
  StyleOpOr,          // one more key of the row just opened
  StyleOpState,       // SetStateBrushes (Object, Number, the case's set)
  StyleOpRequest,     // ObjectRequest (Object, Field[1], Number, Field[0])
  StyleOpDecoration,  // ApplyDecoration of kind 0x800 + Number, Value[0..3] from Field
  StyleOpOdd,         // the stage's named function Number; FALSE ends the row
};

inline constexpr UINT8 kAnyClass = 1;  // Number of a row that holds for every class
// The decoration kinds that tables send (2084, 2085) share their upper bits.
inline constexpr UINT16 kTableDecorationKinds = 0x800;

struct STYLE_STEP {
  UINT8 Op;
  UINT8 Number;
  STYLE_FIELD Field[4];
};
static_assert(sizeof(STYLE_STEP) == 10);

// A row for every class; with a class, a part-code row that holds for that
// class only.
consteval STYLE_STEP Row(UINT32 Key) {
  return {StyleOpRow, kAnyClass, {STYLE_FIELD::Raw((UINT16)Key), STYLE_FIELD::Raw((UINT16)(Key >> 16)), 0, 0}};
}
consteval STYLE_STEP Row(UINT16 PartCode, UINT16 Class) {
  return {StyleOpRow, 0, {STYLE_FIELD::Raw(PartCode), STYLE_FIELD::Raw(0), STYLE_FIELD::Raw(Class), 0}};
}
consteval STYLE_STEP Or(UINT32 Key) {
  return {StyleOpOr, kAnyClass, {STYLE_FIELD::Raw((UINT16)Key), STYLE_FIELD::Raw((UINT16)(Key >> 16)), 0, 0}};
}
consteval STYLE_STEP State(UINT8 StateNumber, STYLE_FIELD B0, STYLE_FIELD B1, STYLE_FIELD B2, STYLE_FIELD B3) {
  if (StateNumber > 6) {
    StyleTableError("states are 0..6");
  }
  // A set's fields that make no brush are keep, 0 or same; keep and 0 are
  // then their own BRUSH_ID bits, which the engine copies as they stand.
  const STYLE_FIELD Fields[4] = {B0, B1, B2, B3};
  for (const STYLE_FIELD Field : Fields) {
    if (Field.Kind() == StyleFieldConstant && Field.Bits != BRUSH_NONE) {
      StyleTableError("a brush set field is keep, 0, same or a brush");
    }
  }
  return {StyleOpState, StateNumber, {B0, B1, B2, B3}};
}
consteval STYLE_STEP Req(UINT16 Code, UINT8 Index, STYLE_FIELD Value) {
  if (Value.Kind() == StyleFieldSame) {
    StyleTableError("a request value is never same");
  }
  return {StyleOpRequest, Index, {Value, STYLE_FIELD::Raw(Code), 0, 0}};
}
// Value[4] and Value[5] are 0 in every descriptor a table sends; a row that
// needs more is an odd row.
consteval STYLE_STEP Deco(UINT16 Kind, STYLE_FIELD V0, STYLE_FIELD V1, STYLE_FIELD V2, STYLE_FIELD V3, STYLE_FIELD V4,
                          STYLE_FIELD V5) {
  const STYLE_FIELD Zero = 0;
  if (V4.Bits != Zero.Bits || V5.Bits != Zero.Bits) {
    StyleTableError("Value[4] and Value[5] of a table descriptor are 0");
  }
  if ((Kind & 0xFF00) != kTableDecorationKinds) {
    StyleTableError("a table decoration kind lies in 0x800..0x8FF");
  }
  return {StyleOpDecoration, (UINT8)Kind, {V0, V1, V2, V3}};
}
consteval STYLE_STEP Odd(UINT8 Which) { return {StyleOpOdd, Which, {0, 0, 0, 0}}; }

// A row's key as the tables hold it, and its class condition.
constexpr BOOLEAN IsRowMarker(const STYLE_STEP &Step) { return Step.Op == StyleOpRow || Step.Op == StyleOpOr; }
constexpr UINT32 RowKey(const STYLE_STEP &Step) { return Step.Field[0].Bits | ((UINT32)Step.Field[1].Bits << 16); }
constexpr BOOLEAN RowHoldsForAnyClass(const STYLE_STEP &Step) { return Step.Number == kAnyClass; }
constexpr UINT16 RowClass(const STYLE_STEP &Step) { return Step.Field[2].Bits; }

// What a stage was given, for its steps and named functions.
typedef struct {
  UINT64 Object;
  UINT32 ObjectId;
  UINT16 Class;
  UINT16 PartCode;
} STYLE_TARGET;

// A stage's named function for an Odd step; FALSE ends the row there.
typedef BOOLEAN (*STYLE_ODD_STEP)(UINT8 Which, const STYLE_TARGET *Target);

// A row is found without walking the table: a multiplicative hash of the
// key picks one of 64 slots, which holds the step of the first marker with
// that key (or kNoRow), and the marker's own key confirms the match. The
// build searches for a multiplier under which no two keys share a slot.
inline constexpr UINT8 kRowIndexBits = 6;
inline constexpr UINT8 kNoRow = 0xFF;

typedef struct {
  UINT32 Multiplier;
  UINT8 FirstMarker[1u << kRowIndexBits];
} STYLE_ROW_INDEX;

constexpr UINT32 RowSlot(UINT32 Key, UINT32 Multiplier) { return (UINT32)(Key * Multiplier) >> (32 - kRowIndexBits); }

template <UINTN Count>
consteval STYLE_ROW_INDEX IndexRows(const STYLE_STEP (&Steps)[Count]) {
  static_assert(Count < kNoRow, "a step index must fit in a byte");
  for (UINT32 Multiplier = 0x9E3779B1; Multiplier < 0x9E3779B1 + 20000; Multiplier += 2) {
    STYLE_ROW_INDEX Index = {Multiplier, {}};
    for (UINT8 &Slot : Index.FirstMarker) {
      Slot = kNoRow;
    }
    BOOLEAN Perfect = TRUE;
    for (UINTN Step = 0; Step < Count && Perfect; Step++) {
      if (!IsRowMarker(Steps[Step])) {
        continue;
      }
      UINT8 &Slot = Index.FirstMarker[RowSlot(RowKey(Steps[Step]), Multiplier)];
      if (Slot == kNoRow) {
        Slot = (UINT8)Step;
      } else if (RowKey(Steps[Slot]) != RowKey(Steps[Step])) {
        Perfect = FALSE;
      }
    }
    if (Perfect) {
      return Index;
    }
  }
  StyleTableError("no multiplier separates the row keys");
  return {};
}

typedef struct {
  const STYLE_STEP *Steps;
  UINTN Count;
  const STYLE_ROW_INDEX *Index;
  STYLE_ODD_STEP RunOddStep;
} STYLE_TABLE;

// The first marker of Key's row, or null when the table has no row for Key
// (the stage does not claim the object). Inline, so that a stage looks its
// own table up with the index and multiplier as constants.
inline const STYLE_STEP *FindRow(const STYLE_TABLE &Table, UINT32 Key) {
  const UINT8 First = Table.Index->FirstMarker[RowSlot(Key, Table.Index->Multiplier)];
  if (First == kNoRow || RowKey(Table.Steps[First]) != Key) {
    return nullptr;
  }
  return &Table.Steps[First];
}

// Runs the first line of the row at Marker whose class condition holds for
// Target; when none holds, the row does nothing, but it has still claimed
// the object.
void RunRow(const STYLE_TABLE *Table, const STYLE_STEP *Marker, const STYLE_TARGET *Target);
