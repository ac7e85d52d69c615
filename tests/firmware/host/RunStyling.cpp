// Styling through the installed record in real firmware: rows of each
// stage, the conditions each way, the 0x2400 recursion, a kind-2067
// descriptor, "same" brushes and this host's wide brush ids. Every call the
// plug-in makes, records decoded, is checked against lines written from the
// styling tables.
//
// Lines hold a few tokens that only the run can fill in:
//   <obj> <child> <parent> <sibling>  the case's host objects by log name
//   <B1>..<B9>                         the n-th brush of the case, all 32 bits
//   <b1>..<b9>                         its low 16 bits, as a brush set holds it
//   <img<id>>                          what GetImage resolves host image id to
//   <x<n>> <y<n>>                      ScaleX (n), ScaleY (n) on this screen
//   <v>                                the Vertical the case computes
#include "tests/firmware/host/CallLog.h"
#include "tests/firmware/host/Checks.h"
#include "tests/firmware/host/Console.h"
#include "tests/firmware/host/ExpectedLines.h"
#include "tests/firmware/host/HostImages.h"
#include "tests/firmware/host/HostTables.h"
#include "tests/firmware/host/Run.h"

namespace {

constexpr UINT32 kSiblingId = 0x39001004;
constexpr UINT32 kChildId = 0x01100000;

typedef struct {
  UINT64 Object;
  UINT64 Child;
  UINT64 Parent;
  UINT64 Sibling;
  UINTN BrushesBefore;
  INT32 Vertical;
} STYLING_CONTEXT;

typedef struct {
  const char *Name;
  UINT16 Class;
  UINT16 PartCode;
  UINT32 ObjectId;
  const char *Expected;
  // Makes the case's objects beyond the styled one, sets what it answers,
  // and computes <v>.
  void (*Prepare)(STYLING_CONTEXT *Context, HOST_OBJECT *Object);
} STYLING_CASE;

UINT32 Brush(const STYLING_CONTEXT *Context, UINTN Ordinal) {
  return HostBrushId(Context->BrushesBefore + Ordinal - 1);
}

UINTN ReadNumber(const char **Text) {
  UINTN Value = 0;
  while (**Text >= '0' && **Text <= '9') {
    Value = Value * 10 + (UINTN)(*(*Text)++ - '0');
  }
  return Value;
}

void AppendText(char *Out, UINTN Capacity, UINTN *Length, const char *Text) {
  while (*Text != 0 && *Length + 1 < Capacity) {
    Out[(*Length)++] = *Text++;
  }
  Out[*Length] = 0;
}

// One token at Text (past its '<'), written into Piece.
void ExpandToken(const char **Text, const STYLING_CONTEXT *Context, char *Piece, UINTN Capacity) {
  const char *Token = *Text;
  Piece[0] = 0;
  auto Named = [&](const char *Name, UINT64 Handle) {
    UINTN Length = 0;
    for (; Name[Length] != 0; Length++) {
      if (Token[Length] != Name[Length]) {
        return FALSE;
      }
    }
    *Text = Token + Length;
    if (!NameHostValue(Handle, Piece, Capacity)) {
      FormatTextTo(Piece, Capacity, "%llu", Handle);
    }
    return TRUE;
  };
  if (Named("obj", Context->Object) || Named("child", Context->Child) || Named("parent", Context->Parent) ||
      Named("sibling", Context->Sibling)) {
    return;
  }
  const char Kind = *(*Text)++;
  if (Kind == 'v') {
    FormatTextTo(Piece, Capacity, "%d", Context->Vertical);
    return;
  }
  if (Kind == 'i') {  // img<id>
    *Text += 2;
    ResolvedImageName((UINT32)ReadNumber(Text), Piece, Capacity);
    return;
  }
  const UINTN Number = ReadNumber(Text);
  switch (Kind) {
    case 'B': FormatTextTo(Piece, Capacity, "0x%X", Brush(Context, Number)); return;
    case 'b': FormatTextTo(Piece, Capacity, "0x%X", Brush(Context, Number) & 0xFFFF); return;
    case 'x': FormatTextTo(Piece, Capacity, "%d", ScaleDesignX((INT32)Number)); return;
    case 'y': FormatTextTo(Piece, Capacity, "%d", ScaleDesignY((INT32)Number)); return;
    default: FormatTextTo(Piece, Capacity, "<?>"); return;
  }
}

void Expand(const char *Template, const STYLING_CONTEXT *Context, char *Out, UINTN Capacity) {
  UINTN Length = 0;
  Out[0] = 0;
  for (const char *Text = Template; *Text != 0;) {
    if (*Text != '<') {
      const char One[2] = {*Text++, 0};
      AppendText(Out, Capacity, &Length, One);
      continue;
    }
    Text++;
    char Piece[48];
    ExpandToken(&Text, Context, Piece, sizeof(Piece));
    AppendText(Out, Capacity, &Length, Piece);
    if (*Text == '>') {
      Text++;
    }
  }
}

// The object's area as this host creates it: 400 x 60 design units.
INT32 CreatedVertical() { return ScaleDesignY(60); }

void ShrinkingArea(STYLING_CONTEXT *Context, HOST_OBJECT *) {
  Context->Vertical = CreatedVertical() - 2 * ScaleDesignY(24);
}

void WithChild(STYLING_CONTEXT *Context, HOST_OBJECT *) {
  Context->Child = CreateHostObject(0, 0, kChildId, Context->Object);
}

void SelectedThird(STYLING_CONTEXT *, HOST_OBJECT *Object) { Object->SelectedIndex = 3; }

void SiblingWithTallerArea(STYLING_CONTEXT *Context, HOST_OBJECT *Object) {
  Object->Tag = 1599;
  Context->Sibling = CreateHostObject(0, 0, kSiblingId, Context->Parent);
  HOST_OBJECT *Sibling = FindHostObject(Context->Sibling);
  if (Sibling != nullptr) {
    Sibling->AreaVertical = ScaleDesignY(96);
    Context->Vertical = Sibling->AreaVertical;
  }
}

void Tag1598(STYLING_CONTEXT *, HOST_OBJECT *Object) { Object->Tag = 1598; }
void WithPicture(STYLING_CONTEXT *, HOST_OBJECT *Object) { Object->HasPicture = 1; }
void LoweredArea(STYLING_CONTEXT *Context, HOST_OBJECT *) { Context->Vertical = CreatedVertical() + ScaleDesignY(118); }
void Tagged(STYLING_CONTEXT *, HOST_OBJECT *Object) { Object->Tag = 7; }

const STYLING_CASE kCases[] = {
    {"identifier 0x20241079: theme-image brushes as request values", 2, 0x2200, 0x20241079, R"(
      MakeBrush(ThemeImage(168), 0, 0) -> <B1>
      ObjectRequest(<obj>, 642, 5, <B1>) -> 0
      MakeBrush(ThemeImage(167), 0, 0) -> <B2>
      ObjectRequest(<obj>, 642, 2, <B2>) -> 0
    )", nullptr},
    {"identifier 0x39001004: area less twice ScaleY (24)", 9, 0, 0x39001004, R"(
      GetObjectArea(<obj>, ptr) -> 0
      ScaleY(24) -> <y24>
      SetObjectArea(<obj>, 0, {Horizontal <x400>, Vertical <v>}, 0) -> 0
      ScaleY(24) -> <y24>
      ObjectRequest(<obj>, 524, <y24>, 0xFF212121) -> 0
    )", ShrinkingArea},
    {"identifier 0x39000000: request to the child", 9, 0, 0x39000000, R"(
      FindChild(<obj>, 0x1100000) -> <child>
      ObjectRequest(<child>, 521, 0, 0) -> 0
      SetStateBrushes(<obj>, 0, [keep, keep, keep, 0]) -> 0
      SetStateBrushes(<obj>, 1, [keep, keep, keep, 0]) -> 0
    )", WithChild},
    {"part code 0x1102 with no selection: nothing more", 9, 0x1102, 0, R"(
      ObjectRequest(<obj>, 1550, 0, 0) -> 0xFFFFFFFF
    )", nullptr},
    {"part code 0x1102 with selection 3: images 2231 and 2201, same brushes", 9, 0x1102, 0, R"(
      ObjectRequest(<obj>, 1550, 0, 0) -> 3
      GetImage(1055) -> <img1055>
      MakeBrush(<img1055>, 0, 0) -> <B1>
      GetImage(2231) -> <img2231>
      MakeBrush(<img2231>, 0, 0) -> <B2>
      MakeBrush(null, 0xFFFFFFFF, 0) -> <B3>
      SetStateBrushes(<obj>, 5, [<b3>, <b1>, <b2>, keep]) -> 0
      SetStateBrushes(<obj>, 3, [<b3>, <b1>, <b2>, keep]) -> 0
      GetImage(2201) -> <img2201>
      MakeBrush(<img2201>, 0, 0) -> <B4>
      MakeBrush(null, 0xFFFF6A00, 0) -> <B5>
      SetStateBrushes(<obj>, 2, [<b5>, keep, <b4>, keep]) -> 0
    )", SelectedThird},
    {"part code 0x1304: ScaleX (3) as a modifier, same brushes", 9, 0x1304, 0, R"(
      MakeBrush(null, 0xFFE5E2E1, 0) -> <B1>
      SetStateBrushes(<obj>, 6, [<b1>, keep, keep, keep]) -> 0
      MakeBrush(null, 0xFF968C88, 0) -> <B2>
      SetStateBrushes(<obj>, 4, [<b2>, keep, keep, keep]) -> 0
      SetStateBrushes(<obj>, 2, [<b2>, keep, keep, keep]) -> 0
      ScaleX(3) -> <x3>
      MakeBrush(null, 0xFFFF8333, <x3>) -> <B3>
      SetStateBrushes(<obj>, 3, [keep, keep, keep, <b3>]) -> 0
      SetStateBrushes(<obj>, 5, [keep, keep, keep, <b3>]) -> 0
    )", nullptr},
    {"part code 0x3003 class 2: cleared kind-2067 descriptor", 2, 0x3003, 0, R"(
      ZeroBuffer(ptr, 64) -> 0
      ApplyDecoration(<obj>, 2067, [0, 0, 0xFF1E1B1A, 0xFF1E1B1A, 1, 0]) -> 0
      MakeBrush(null, 0xFFE5E2E1, 0) -> <B1>
      SetStateBrushes(<obj>, 0, [<b1>, keep, keep, keep]) -> 0
      MakeBrush(null, 0xFFE5E2E1, 0) -> <B2>
      MakeBrush(null, 0xFF1E1B1A, 0x2EFFFFFF) -> <B3>
      SetStateBrushes(<obj>, 2, [<b2>, <b3>, keep, keep]) -> 0
      ObjectRequest(<obj>, 2077, 0, 0xFF615B58) -> 0
    )", nullptr},
    {"part code 0x2080 class 5: claimed, nothing done", 5, 0x2080, 0, "", nullptr},
    {"class 30", 30, 0, 0, R"(
      MakeBrush(null, 0xFFE5E2E1, 0) -> <B1>
      SetStateBrushes(<obj>, 0, [<b1>, 0, keep, 0]) -> 0
      MakeBrush(null, 0xFFE5E2E1, 0) -> <B2>
      MakeBrush(null, 0xFF1E1B1A, 0) -> <B3>
      MakeBrush(null, 0xFF615B58, 1) -> <B4>
      SetStateBrushes(<obj>, 4, [<b2>, <b3>, keep, <b4>]) -> 0
    )", nullptr},
    {"class 16 with tag 1599: the sibling's area", 16, 0, 0, R"(
      GetObjectTag(<obj>) -> 1599
      GetObjectParent(<obj>) -> <parent>
      FindChild(<parent>, 0x39001004) -> <sibling>
      GetObjectArea(<sibling>, ptr) -> 0
      SetObjectArea(<obj>, 0, {Horizontal <x400>, Vertical <v>}, 0) -> 0
    )", SiblingWithTallerArea},
    {"class 16 with tag 1598: nothing more", 16, 0, 0, "GetObjectTag(<obj>) -> 1598", Tag1598},
    {"class 68 with a picture: one brush for two states", 68, 0, 0, R"(
      ObjectRequest(<obj>, 0xD012D, 0, 0) -> 1
      GetImage(2569) -> <img2569>
      MakeBrush(<img2569>, 0, 0) -> <B1>
      SetStateBrushes(<obj>, 2, [keep, keep, <b1>, keep]) -> 0
      SetStateBrushes(<obj>, 5, [keep, keep, <b1>, keep]) -> 0
    )", WithPicture},
    {"class 68 without a picture: nothing more", 68, 0, 0, "ObjectRequest(<obj>, 0xD012D, 0, 0) -> 0", nullptr},
    {"class 74 with tag 0: area lowered by ScaleY (118)", 74, 0, 0, R"(
      GetObjectTag(<obj>) -> 0
      GetObjectArea(<obj>, ptr) -> 0
      ScaleY(118) -> <y118>
      SetObjectArea(<obj>, 0, {Horizontal <x400>, Vertical <v>}, 0) -> 0
      SetStateBrushes(<obj>, 6, [keep, 0, keep, keep]) -> 0
    )", LoweredArea},
    {"class 74 with another tag: nothing more", 74, 0, 0, "GetObjectTag(<obj>) -> 7", Tagged},
    {"class 101: request 1538 carries the brush in its upper half", 101, 0, 0, R"(
      ObjectRequest(<obj>, 1540, 6, 0xFFE5E2E1) -> 0
      MakeBrush(null, 0xFF484341, 0) -> <B1>
      ObjectRequest(<obj>, 1538, 6, <B1>00000000) -> 0
      MakeBrush(null, 0xFF484341, 0x14FFFFFF) -> <B2>
      SetStateBrushes(<obj>, 2, [keep, <b2>, keep, keep]) -> 0
      MakeBrush(null, 0xFF484341, 0x14FFFFFF) -> <B3>
      MakeBrush(null, 0xFF7A726F, 1) -> <B4>
      SetStateBrushes(<obj>, 5, [keep, <b3>, keep, <b4>]) -> 0
    )", nullptr},
    {"an object no stage claims", 0x7FFF, 0x7FFF, 0x12345678, "", nullptr},
    // Part code 0x2400 with class 15: the two requests, then the whole look
    // of part code 0x1101, once.
    {"part code 0x2400 class 15: the look of 0x1101 after two requests", 15, 0x2400, 0, R"(
      ObjectRequest(<obj>, 1540, 6, 0xFFE5E2E1) -> 0
      ObjectRequest(<obj>, 1540, 1, 0xFFA0A0A0) -> 0
      MakeBrush(null, 0xFFECEDEE, 0) -> <B1>
      GetImage(1104) -> <img1104>
      MakeBrush(<img1104>, 0, 0) -> <B2>
      SetStateBrushes(<obj>, 6, [<b1>, <b2>, keep, keep]) -> 0
      GetImage(1105) -> <img1105>
      MakeBrush(<img1105>, 0, 0) -> <B3>
      SetStateBrushes(<obj>, 2, [<b1>, <b3>, keep, keep]) -> 0
      GetImage(1106) -> <img1106>
      MakeBrush(<img1106>, 0, 0) -> <B4>
      SetStateBrushes(<obj>, 5, [<b1>, <b4>, keep, keep]) -> 0
      GetImage(1108) -> <img1108>
      MakeBrush(<img1108>, 0, 0) -> <B5>
      SetStateBrushes(<obj>, 3, [<b1>, <b5>, keep, keep]) -> 0
      MakeBrush(null, 0xFF3F3F46, 0) -> <B6>
      GetImage(1107) -> <img1107>
      MakeBrush(<img1107>, 0, 0) -> <B7>
      SetStateBrushes(<obj>, 1, [<b6>, <b7>, keep, keep]) -> 0
    )", nullptr},
};

void StyleOne(const THEME_PROVIDER_PROTOCOL *Record, const STYLING_CASE &Case, STYLING_CONTEXT *Context) {
  char Lines[2048];
  Expand(Case.Expected, Context, Lines, sizeof(Lines));
  const UINTN Mark = CallMark();
  const UINTN Result = Record->StyleObject(Context->Object, Case.Class, Case.PartCode, Case.ObjectId);
  CheckCalls(Case.Name, Mark, Lines);
  if (Result != 0) {
    Check(FALSE, Case.Name, "returned %llu, expected 0", (UINT64)Result);
  }
}

STYLING_CONTEXT NewContext(const STYLING_CASE &Case) {
  STYLING_CONTEXT Context = {};
  Context.Parent = CreateHostObject(1, 0, 0, 0);
  Context.Object = CreateHostObject(Case.Class, Case.PartCode, Case.ObjectId, Context.Parent);
  Context.Vertical = CreatedVertical();
  if (Case.Prepare != nullptr) {
    Case.Prepare(&Context, FindHostObject(Context.Object));
  }
  Context.BrushesBefore = HostState()->BrushesMade;
  return Context;
}

}  // namespace

void StyleObjects(HOST_RUN *Run) {
  Step("styling");
  const THEME_PROVIDER_PROTOCOL *Record = Run->Record;
  for (const STYLING_CASE &Case : kCases) {
    STYLING_CONTEXT Context = NewContext(Case);
    StyleOne(Record, Case, &Context);
  }
}
