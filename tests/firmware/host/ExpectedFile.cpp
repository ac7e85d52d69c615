#include "tests/firmware/host/ExpectedFile.h"

#include "tests/firmware/host/Checks.h"
#include "tests/firmware/host/DriverLoader.h"
#include "tests/firmware/host/HostFirmware.h"

namespace {

constinit HOST_EXPECTATIONS mExpected = {TRUE, {1055, 1427, 1346, 1430, 1428, 1355, 1354, 1429}};

// A cursor over one line of the file.
typedef struct {
  const char *At;
  const char *End;
} LINE_CURSOR;

BOOLEAN IsBlank(char Character) { return Character == ' ' || Character == '\t' || Character == ','; }

// The next word of the line (it ends at a blank or a comma); empty at the end.
LINE_CURSOR NextWord(LINE_CURSOR *Line) {
  while (Line->At < Line->End && IsBlank(*Line->At)) {
    Line->At++;
  }
  LINE_CURSOR Word = {Line->At, Line->At};
  while (Word.End < Line->End && !IsBlank(*Word.End)) {
    Word.End++;
  }
  Line->At = Word.End;
  return Word;
}

BOOLEAN WordIs(LINE_CURSOR Word, const char *Text) {
  for (; *Text != 0; Text++, Word.At++) {
    if (Word.At == Word.End || *Word.At != *Text) {
      return FALSE;
    }
  }
  return Word.At == Word.End;
}

// A decimal number of at most 32 bits, and nothing else.
BOOLEAN DecimalWord(LINE_CURSOR Word, UINT32 *Value) {
  UINT64 Number = 0;
  if (Word.At == Word.End) {
    return FALSE;
  }
  for (; Word.At < Word.End; Word.At++) {
    if (*Word.At < '0' || *Word.At > '9') {
      return FALSE;
    }
    Number = Number * 10 + (UINT64)(*Word.At - '0');
    if (Number > 0xFFFFFFFF) {
      return FALSE;
    }
  }
  *Value = (UINT32)Number;
  return TRUE;
}

BOOLEAN TakePcdTokens(LINE_CURSOR Line) {
  LINE_CURSOR Word = NextWord(&Line);
  if (WordIs(Word, "none") && NextWord(&Line).At == Line.End) {
    mExpected.PcdReads = FALSE;
    return TRUE;
  }
  UINT32 Tokens[EXPECTED_PCD_TOKEN_COUNT];
  for (UINTN Index = 0; Index < EXPECTED_PCD_TOKEN_COUNT; Index++, Word = NextWord(&Line)) {
    if (!DecimalWord(Word, &Tokens[Index])) {
      return FALSE;
    }
  }
  if (Word.At != Word.End) {
    return FALSE;
  }
  mExpected.PcdReads = TRUE;
  CopyBytes(mExpected.PcdTokens, Tokens, sizeof(Tokens));
  return TRUE;
}

// One line: blank, a comment, or a setting the host knows.
BOOLEAN TakeLine(LINE_CURSOR Line) {
  for (const char *At = Line.At; At < Line.End; At++) {
    if (*At == '#') {
      Line.End = At;
    }
  }
  LINE_CURSOR Key = NextWord(&Line);
  if (Key.At == Key.End) {
    return TRUE;
  }
  if (WordIs(Key, "pcd-tokens")) {
    return TakePcdTokens(Line);
  }
  return FALSE;
}

}  // namespace

const HOST_EXPECTATIONS *HostExpectations() { return &mExpected; }

void ReadExpectedFile() {
  DRIVER_LOAD File = {};
  File.Path = u"\\EFI\\BOOT\\Expected.txt";
  if (!ReadDriverFile(&File)) {
    Info("expectations: the default driver's");
    return;
  }
  const char *Text = static_cast<const char *>(File.File);
  const UINTN Size = File.FileSize;
  UINTN Number = 1;
  UINTN Refused = 0;
  for (const char *Start = Text; Start < Text + Size; Number++) {
    const char *End = Start;
    while (End < Text + Size && *End != '\n' && *End != '\r') {
      End++;
    }
    if (!TakeLine({Start, End})) {
      Refused++;
      Check(FALSE, "expectations file line taken", "line %llu of \\EFI\\BOOT\\Expected.txt", (UINT64)Number);
    }
    Start = End < Text + Size && *End == '\r' && End + 1 < Text + Size && End[1] == '\n' ? End + 2 : End + 1;
  }
  FreeHostPool(File.File);
  Info("expectations: \\EFI\\BOOT\\Expected.txt, %llu line(s) refused; PCD reads: %s", (UINT64)Refused,
       mExpected.PcdReads ? "the eight listed tokens" : "none");
}
