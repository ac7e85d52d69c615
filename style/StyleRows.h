// The row notation of the three styling stages, and how a stage finds a row.
// A stage's table is one array of steps: a Row marker names the key (object
// identifier, part code or class) and opens a row, the steps after it are
// the row's calls in order. Rows that do something no step can say call a
// named function of their stage through an Odd step. LinkRows turns the
// written table into the one the engine (style/StyleObject.cpp) runs: it
// closes it with an End step and writes into each marker where its line's
// steps start and where the next class line of its key lies, so the engine
// never walks a step it does not run.
//
// Each step is 10 bytes. A brush or value field is 16 bits: a kind and
// either an index into mStyleConstants (with a modifier index for colours) or
// an image id. The constructors below are consteval, so a colour missing from
// the constant list or a malformed row or table fails the build.
#pragma once

#include "host/HostTypes.h"

// Never defined: a consteval constructor that reaches it stops the build with
// the reason as its argument.
void StyleTableError(const char *Reason);

// Every 32-bit constant that the tables send, as a colour, a brush modifier,
// a request value or a plain brush field: 32, the last ones spare, so that
// an index is five bits. Order does not matter; a table names the value
// itself and the build finds it here.
inline constexpr UINT32 mStyleConstants[] = {
    0x00000000, 0x0000FFFF, 0xFF7A726F, 0xFF1E1B1A, 0xFFE5E2E1, 0xFFB1A6A2, 0xFFA0A0A0, 0xFF52525B,
    0x14000000, 0xFF484341, 0xFF968C88, 0xFF212121, 0xFFECEDEE, 0xFF3F3F46, 0xFFFFFFFF, 0xFFFF6A00,
    0xFFFF8333, 0xFF615B58, 0xFF5B6158, 0xFFE0E0E0, 0xFF7C726F, 0xFFE4E4E7, 0xFF000000, 0x1EFFFFFF,
    0x14FFFFFF, 0x2EFFFFFF, 0xFFE4E4E4, 0x00000001, 0x1FFFFFFF, 0x1F000000, 0, 0,
};
// Every five-bit index reads inside the list.
inline constexpr UINT16 kStyleConstantIndexMask = 0x1F;
static_assert(sizeof(mStyleConstants) / sizeof(mStyleConstants[0]) == kStyleConstantIndexMask + 1);

// The one brush modifier that is not a constant: a horizontal pixel length
// from ScaleX, asked for just before the brush is made.
inline constexpr INT32 kScaledModifierDesignUnits = 3;

// A field's kind is its top three bits. The engine tells the frequent kinds
// apart by range: below 0x2000 a constant, from 0x4000 to 0x5FFF a colour.
enum STYLE_FIELD_KIND : UINT8 {
  StyleFieldConstant,      // a number: BRUSH_NONE, an ARGB value, a request value
  StyleFieldSame,          // the brush the set held at its previous call
  StyleFieldColor,         // ColorBrush (constant, constant as modifier)
  StyleFieldHostImage,     // HostImageBrush (id)
  StyleFieldThemeImage,    // ThemeImageBrush (id)
  StyleFieldColorScaledX,  // ColorBrush (constant, ScaleX (3))
  StyleFieldKeep = 7,      // BRUSH_KEEP: all sixteen bits set, the field is its own brush id
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

// One brush field or request value of a step. A plain number converts
// implicitly, so tables write 0 (BRUSH_NONE) and ARGB values as they are.
struct STYLE_FIELD {
  UINT16 Bits = 0;

  STYLE_FIELD() = default;
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

// A colour field's low byte is its colour's index, the low five bits of its
// high byte its modifier's index, so each index takes a load and a mask.
constexpr UINT32 ColorFieldArgb(UINT16 Bits) { return mStyleConstants[Bits & 0xFF]; }
constexpr UINT32 ColorFieldModifier(UINT16 Bits) { return mStyleConstants[(Bits >> 8) & kStyleConstantIndexMask]; }

inline constexpr STYLE_FIELD Keep{StyleFieldKeep, 0x1FFF};
static_assert(Keep.Bits == BRUSH_KEEP);
inline constexpr STYLE_FIELD Same{StyleFieldSame, 0};

// The tag that ScaleX (3) stands for where it is a brush modifier.
struct SCALED_X_MODIFIER {
  INT32 DesignUnits;
};
consteval SCALED_X_MODIFIER ScaleX(INT32 DesignUnits) { return {DesignUnits}; }

consteval STYLE_FIELD Color(UINT32 Argb, UINT32 Modifier = 0) {
  return {StyleFieldColor, (UINT16)((StyleConstantIndex(Modifier) << 8) | StyleConstantIndex(Argb))};
}
consteval STYLE_FIELD Color(UINT32 Argb, SCALED_X_MODIFIER Modifier) {
  if (Modifier.DesignUnits != kScaledModifierDesignUnits) {
    StyleTableError("only ScaleX (3) is a brush modifier");
  }
  return {StyleFieldColorScaledX, StyleConstantIndex(Argb)};
}
consteval STYLE_FIELD HostImage(UINT16 HostImageId) { return {StyleFieldHostImage, HostImageId}; }
consteval STYLE_FIELD ThemeImage(UINT16 ThemeImageId) { return {StyleFieldThemeImage, ThemeImageId}; }

enum STYLE_OP : UINT8 {
  StyleOpEnd,          // after a table's last row
  StyleOpRow,          // opens a line of a row: Field[0..1] the key, Field[2] the class (see Row below)
  StyleOpOr,           // one more key of the row just opened
  StyleOpRequest,      // ObjectRequest (Object, Field[1], Number, Field[0])
  StyleOpOdd,          // the stage's named function Odd; FALSE ends the row
  StyleOpRestyle,      // ends a line: on with the line for class Field[1] of the row Field[2] bytes on
  // ApplyDecoration of kind 0x800 + Number, Value[0..3] from Field. The low
  // four bits of the op mark the values that are brushes made now; the
  // others are constants.
  StyleOpDecoration = 0x10,
  // SetStateBrushes (Object, state, the case's set). The low four bits of
  // the op mark the fields whose brush is made now, the high four bits of
  // Number those that keep the set's previous brush ("same"), its low bits
  // are the state; the other fields (keep, 0) are their own BRUSH_ID bits
  // and are copied in one piece.
  StyleOpState = 0x20,
};

// A marker's Number: 0 for a line that holds for every class; otherwise the
// line holds for class Field[2] only, and Number is the distance in bytes to
// the next line of its key (LinkRows fills it in). A marker's Field[3] is the
// distance in bytes to its line's first step, past the row's further keys.
inline constexpr UINT8 kAnyClass = 0;
inline constexpr UINT8 kClassLine = 0xFF;  // as written, before LinkRows
// The decoration kinds that tables send (2084, 2085) share their upper bits.
inline constexpr UINT16 kTableDecorationKinds = 0x800;
// Kind 2067 shares them too, but its descriptor is built on a buffer that
// the host clears, which no table step does.
inline constexpr UINT16 kClearedDecorationKind = 2067;

// A named function of a stage for a row that no step can say; FALSE ends the
// row there. It gets the object and the identifier. Called from the record
// operation with the record's convention, like a host operation, so that the
// styling frame saves the same registers in the driver and in host builds.
typedef BOOLEAN(EFIAPI *STYLE_ODD_STEP)(UINT64 Object, UINT32 ObjectId);

// Packed: an Odd step holds its function unaligned, which costs nothing on
// this processor.
struct __attribute__((packed)) STYLE_STEP {
  UINT8 Op;
  UINT8 Number;
  union {
    STYLE_FIELD Field[4];
    STYLE_ODD_STEP Odd;  // an Odd step's only field
  };
};
static_assert(sizeof(STYLE_STEP) == 10);

// A row for every class; with a class, a part-code line that holds for that
// class only. The last line of a key holds for every class (an empty one
// where the other classes get nothing), so that a class always finds a line.
consteval STYLE_STEP Row(UINT32 Key) {
  return {StyleOpRow, kAnyClass, {{STYLE_FIELD::Raw((UINT16)Key), STYLE_FIELD::Raw((UINT16)(Key >> 16)), 0, 0}}};
}
consteval STYLE_STEP Row(UINT16 PartCode, UINT16 Class) {
  return {StyleOpRow, kClassLine, {{STYLE_FIELD::Raw(PartCode), STYLE_FIELD::Raw(0), STYLE_FIELD::Raw(Class), 0}}};
}
consteval STYLE_STEP Or(UINT32 Key) {
  return {StyleOpOr, kAnyClass, {{STYLE_FIELD::Raw((UINT16)Key), STYLE_FIELD::Raw((UINT16)(Key >> 16)), 0, 0}}};
}
consteval STYLE_STEP State(UINT8 StateNumber, STYLE_FIELD B0, STYLE_FIELD B1, STYLE_FIELD B2, STYLE_FIELD B3) {
  if (StateNumber > 6) {
    StyleTableError("states are 0..6");
  }
  // A set's fields that make no brush are keep, 0 or same; keep and 0 are
  // then their own BRUSH_ID bits, which the engine copies as they stand.
  const STYLE_FIELD Fields[4] = {B0, B1, B2, B3};
  UINT8 Op = StyleOpState;
  UINT8 Number = StateNumber;
  for (UINT8 Index = 0; Index < 4; Index++) {
    const STYLE_FIELD Field = Fields[Index];
    if (Field.Kind() == StyleFieldConstant && Field.Bits != BRUSH_NONE) {
      StyleTableError("a brush set field is keep, 0, same or a brush");
    }
    if (Field.Kind() == StyleFieldSame) {
      Number |= (UINT8)(0x10u << Index);
    } else if (Field.Kind() != StyleFieldConstant && Field.Kind() != StyleFieldKeep) {
      Op |= (UINT8)(1u << Index);
    }
  }
  return {Op, Number, {{B0, B1, B2, B3}}};
}
consteval STYLE_STEP Req(UINT16 Code, UINT8 Index, STYLE_FIELD Value) {
  if (Value.Kind() == StyleFieldSame || Value.Kind() == StyleFieldKeep) {
    StyleTableError("a request value is a number or a brush");
  }
  return {StyleOpRequest, Index, {{Value, STYLE_FIELD::Raw(Code), 0, 0}}};
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
  if (Kind == kClearedDecorationKind) {
    StyleTableError("a kind 2067 descriptor is cleared by the host first: an odd row");
  }
  const STYLE_FIELD Values[4] = {V0, V1, V2, V3};
  UINT8 Op = StyleOpDecoration;
  for (UINT8 Index = 0; Index < 4; Index++) {
    const STYLE_FIELD Value = Values[Index];
    if (Value.Kind() == StyleFieldSame || Value.Kind() == StyleFieldKeep) {
      StyleTableError("a descriptor value is a number or a brush");
    }
    if (Value.Kind() != StyleFieldConstant) {
      Op |= (UINT8)(1u << Index);
    }
  }
  return {Op, (UINT8)Kind, {{V0, V1, V2, V3}}};
}
consteval STYLE_STEP Odd(STYLE_ODD_STEP Function) {
  STYLE_STEP Step = {StyleOpOdd, 0, {{0, 0, 0, 0}}};
  Step.Odd = Function;
  return Step;
}
// Ends a line with the look of another row of the same table, chosen as for
// class Class: a new case, as if the stage had been called for that key and
// class. LinkRows finds the row.
consteval STYLE_STEP RestyleAs(UINT16 Key, UINT16 Class) {
  return {StyleOpRestyle, 0, {{STYLE_FIELD::Raw(Key), STYLE_FIELD::Raw(Class), 0, 0}}};
}

// A row's key as the tables hold it, and its class condition.
constexpr BOOLEAN IsRowMarker(const STYLE_STEP &Step) { return Step.Op == StyleOpRow || Step.Op == StyleOpOr; }
constexpr UINT32 RowKey(const STYLE_STEP &Step) { return Step.Field[0].Bits | ((UINT32)Step.Field[1].Bits << 16); }
constexpr BOOLEAN RowHoldsForAnyClass(const STYLE_STEP &Step) { return Step.Number == kAnyClass; }
constexpr UINT16 RowClass(const STYLE_STEP &Step) { return Step.Field[2].Bits; }

// A table as the engine runs it: the written steps, then End. End carries
// the key of the first row, and the row index sends keys that have no row
// to End: a key that lands there cannot be End's own key, since that key's
// slot holds its row.
template <UINTN Count>
struct STYLE_STEPS {
  STYLE_STEP Step[Count + 1];
};

template <UINTN Count>
consteval STYLE_STEPS<Count> LinkRows(const STYLE_STEP (&Rows)[Count]) {
  STYLE_STEPS<Count> Linked = {};
  for (UINTN Index = 0; Index < Count; Index++) {
    Linked.Step[Index] = Rows[Index];
  }
  if (!IsRowMarker(Rows[0])) {
    StyleTableError("a table starts with a row");
  }
  Linked.Step[Count] = {StyleOpEnd, 0, {{Rows[0].Field[0], Rows[0].Field[1], 0, 0}}};
  for (UINTN Index = 0; Index < Count; Index++) {
    if (Rows[Index].Op == StyleOpRestyle) {
      UINTN Target = 0;
      while (Target < Count && !(Rows[Target].Op == StyleOpRow && RowKey(Rows[Target]) == Rows[Index].Field[0].Bits)) {
        Target++;
      }
      if (Target == Count || Index + 1 == Count || Rows[Index + 1].Op != StyleOpRow) {
        StyleTableError("RestyleAs ends a line and names a row of its table");
      }
      Linked.Step[Index].Field[2] = STYLE_FIELD::Raw((UINT16)((Target - Index) * sizeof(STYLE_STEP)));
    }
    STYLE_STEP &Marker = Linked.Step[Index];
    if (!IsRowMarker(Marker)) {
      continue;
    }
    if (Marker.Op == StyleOpOr && !IsRowMarker(Linked.Step[Index - 1])) {
      StyleTableError("Or follows a row's marker");
    }
    UINTN First = Index + 1;
    while (Linked.Step[First].Op == StyleOpOr) {
      First++;
    }
    Marker.Field[3] = STYLE_FIELD::Raw((UINT16)((First - Index) * sizeof(STYLE_STEP)));
    if (Marker.Number == kAnyClass) {
      continue;
    }
    UINTN Next = First;
    while (Linked.Step[Next].Op != StyleOpRow && Linked.Step[Next].Op != StyleOpEnd) {
      Next++;
    }
    if (Linked.Step[Next].Op != StyleOpRow || RowKey(Linked.Step[Next]) != RowKey(Marker) ||
        (Next - Index) * sizeof(STYLE_STEP) > 0xFF) {
      StyleTableError("a class line is followed by another line of its key");
    }
    Marker.Number = (UINT8)((Next - Index) * sizeof(STYLE_STEP));
  }
  // FindRow gives a key's first marker and FindLine goes on from there, so
  // the lines of a key lie together.
  for (UINTN Index = 0; Index < Count; Index++) {
    for (UINTN Later = Index + 1; Later < Count && IsRowMarker(Rows[Index]); Later++) {
      if (IsRowMarker(Rows[Later]) && RowKey(Rows[Later]) == RowKey(Rows[Index])) {
        for (UINTN Between = Index + 1; Between < Later; Between++) {
          if (IsRowMarker(Rows[Between]) && RowKey(Rows[Between]) != RowKey(Rows[Index])) {
            StyleTableError("the lines of a key lie together");
          }
        }
      }
    }
  }
  return Linked;
}

// A row is found without walking the table: a multiplicative hash of the
// key picks one of 64 slots, which holds the step of the first marker with
// that key, or End's, and the step's own key confirms the match. The build
// searches for a multiplier under which no two keys share a slot.
inline constexpr UINT8 kRowIndexBits = 6;

typedef struct {
  UINT32 Multiplier;
  UINT8 FirstMarker[1u << kRowIndexBits];
} STYLE_ROW_INDEX;

constexpr UINT32 RowSlot(UINT32 Key, UINT32 Multiplier) { return (UINT32)(Key * Multiplier) >> (32 - kRowIndexBits); }

template <UINTN Count>
consteval STYLE_ROW_INDEX IndexRows(const STYLE_STEPS<Count> &Linked) {
  static_assert(Count <= 0xFF, "a step index must fit in a byte");
  const STYLE_STEP(&Steps)[Count + 1] = Linked.Step;
  for (UINT32 Multiplier = 0x9E3779B1; Multiplier < 0x9E3779B1 + 20000; Multiplier += 2) {
    STYLE_ROW_INDEX Index = {Multiplier, {}};
    BOOLEAN Used[1u << kRowIndexBits] = {};
    BOOLEAN Perfect = TRUE;
    for (UINTN Step = 0; Step < Count && Perfect; Step++) {
      if (!IsRowMarker(Steps[Step])) {
        continue;
      }
      const UINT32 Slot = RowSlot(RowKey(Steps[Step]), Multiplier);
      if (!Used[Slot]) {
        Used[Slot] = TRUE;
        Index.FirstMarker[Slot] = (UINT8)Step;
      } else if (RowKey(Steps[Index.FirstMarker[Slot]]) != RowKey(Steps[Step])) {
        Perfect = FALSE;
      }
    }
    if (Perfect) {
      for (UINT32 Slot = 0; Slot < (1u << kRowIndexBits); Slot++) {
        if (!Used[Slot]) {
          Index.FirstMarker[Slot] = (UINT8)Count;
        }
      }
      return Index;
    }
  }
  StyleTableError("no multiplier separates the row keys");
  return {};
}

struct STYLE_TABLE {
  STYLE_ROW_INDEX Index;
  const STYLE_STEP *Steps;  // linked, ending in End
};

// The first marker of Key's row, or null when the table has no row for Key
// (the stage does not claim the object).
inline const STYLE_STEP *FindRow(const STYLE_TABLE &Table, UINT32 Key) {
  const STYLE_STEP *Marker = &Table.Steps[Table.Index.FirstMarker[RowSlot(Key, Table.Index.Multiplier)]];
  // A found row is never null; the compiler cannot see that through a table
  // defined elsewhere, and would test it again.
  __builtin_assume(Marker != nullptr);
  return RowKey(*Marker) == Key ? Marker : nullptr;
}

// The step Bytes on from Step: the links between steps are kept in bytes,
// which spares a multiplication at every use.
inline const STYLE_STEP *StepsOn(const STYLE_STEP *Step, INT32 Bytes) {
  return (const STYLE_STEP *)((const UINT8 *)Step + Bytes);
}

// The line of the row at Marker whose class condition holds for Class: its
// first step, which is the next row's marker or End when the line is empty.
// The row has claimed the object even then.
inline const STYLE_STEP *FindLine(const STYLE_STEP *Marker, UINT16 Class) {
  while (!RowHoldsForAnyClass(*Marker) && RowClass(*Marker) != Class) {
    Marker = StepsOn(Marker, Marker->Number);
  }
  return StepsOn(Marker, Marker->Field[3].Bits);
}
