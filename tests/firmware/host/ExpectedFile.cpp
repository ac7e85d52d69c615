#include "tests/firmware/host/ExpectedFile.h"

#include "tests/firmware/host/Checks.h"
#include "tests/firmware/host/Console.h"
#include "tests/firmware/host/DriverLoader.h"
#include "tests/firmware/host/ExpectedTheme.h"
#include "tests/firmware/host/HostFirmware.h"

namespace {

constinit HOST_EXPECTATIONS mExpected = {TRUE, {1055, 1427, 1346, 1430, 1428, 1355, 1354, 1429}, {}, 0, {}, FALSE, {}};
constinit BOOLEAN mNameGiven = FALSE;

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

// A number in hex, with or without 0x, of at most 32 bits.
BOOLEAN HexWord(LINE_CURSOR Word, UINT32 *Value) {
  if (Word.End - Word.At > 2 && Word.At[0] == '0' && (Word.At[1] == 'x' || Word.At[1] == 'X')) {
    Word.At += 2;
  }
  UINT64 Number = 0;
  if (Word.At == Word.End || Word.End - Word.At > 8) {
    return FALSE;
  }
  for (; Word.At < Word.End; Word.At++) {
    const char C = *Word.At;
    const UINT32 Digit = C >= '0' && C <= '9' ? (UINT32)(C - '0')
                         : C >= 'A' && C <= 'F' ? (UINT32)(C - 'A' + 10)
                         : C >= 'a' && C <= 'f' ? (UINT32)(C - 'a' + 10)
                                                : 16;
    if (Digit == 16) {
      return FALSE;
    }
    Number = Number * 16 + Digit;
  }
  *Value = (UINT32)Number;
  return TRUE;
}

BOOLEAN AtLineEnd(LINE_CURSOR Line) { return NextWord(&Line).At == Line.End; }

BOOLEAN TakeName(LINE_CURSOR Line) {
  CHAR16 Name[EXPECTED_NAME_LENGTH] = {};
  UINTN Length = 0;
  for (LINE_CURSOR Word = NextWord(&Line); Word.At != Word.End; Word = NextWord(&Line)) {
    UINT32 Unit = 0;
    if (Length + 1 >= EXPECTED_NAME_LENGTH || !HexWord(Word, &Unit) || Unit > 0xFFFF) {
      return FALSE;
    }
    Name[Length++] = (CHAR16)Unit;
  }
  if (Length == 0) {
    return FALSE;
  }
  CopyBytes(mExpected.Name, Name, sizeof(Name));
  mNameGiven = TRUE;
  return TRUE;
}

BOOLEAN TakeColour(LINE_CURSOR Line) {
  EXPECTED_THEME_COLOUR Colour = {};
  if (mExpected.ColourCount == EXPECTED_COLOUR_CAPACITY || !HexWord(NextWord(&Line), &Colour.Default) ||
      !HexWord(NextWord(&Line), &Colour.Theme) || !AtLineEnd(Line)) {
    return FALSE;
  }
  mExpected.Colours[mExpected.ColourCount++] = Colour;
  return TRUE;
}

BOOLEAN TakeImage(LINE_CURSOR Line) {
  UINT32 Id = 0;
  EXPECTED_IMAGE_FILE File = {TRUE, 0, 0};
  if (!DecimalWord(NextWord(&Line), &Id) || Id == 0 || Id >= EXPECTED_IMAGE_CAPACITY ||
      !DecimalWord(NextWord(&Line), &File.Size) || !HexWord(NextWord(&Line), &File.Crc) || !AtLineEnd(Line)) {
    return FALSE;
  }
  mExpected.Images[Id] = File;
  mExpected.ImagesListed = TRUE;
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
  if (WordIs(Key, "name")) {
    return TakeName(Line);
  }
  if (WordIs(Key, "colour")) {
    return TakeColour(Line);
  }
  if (WordIs(Key, "image")) {
    return TakeImage(Line);
  }
  return FALSE;
}

}  // namespace

const HOST_EXPECTATIONS *HostExpectations() {
  if (!mNameGiven) {
    for (UINTN Index = 0; Index < EXPECTED_NAME_LENGTH && kThemeName[Index] != 0; Index++) {
      mExpected.Name[Index] = (CHAR16)kThemeName[Index];
    }
  }
  return &mExpected;
}

UINT32 ThemedArgb(UINT32 DefaultArgb) {
  for (UINTN Index = 0; Index < mExpected.ColourCount; Index++) {
    if (mExpected.Colours[Index].Default == DefaultArgb) {
      return mExpected.Colours[Index].Theme;
    }
  }
  return DefaultArgb;
}

void ThemeExpectedText(const char *Text, char *Out, UINTN Capacity) {
  UINTN Length = 0;
  while (*Text != 0 && Length + 1 < Capacity) {
    UINTN Digits = 0;
    if (Text[0] == '0' && Text[1] == 'x') {
      while (Digits < 9 && ((Text[2 + Digits] >= '0' && Text[2 + Digits] <= '9') ||
                            (Text[2 + Digits] >= 'A' && Text[2 + Digits] <= 'F'))) {
        Digits++;
      }
    }
    UINT32 Value = 0;
    if (Digits == 8 && HexWord({Text, Text + 10}, &Value) && ThemedArgb(Value) != Value) {
      Length += FormatTextTo(Out + Length, Capacity - Length, "0x%08X", ThemedArgb(Value));
      Text += 10;
      continue;
    }
    const UINTN Copy = Digits > 0 ? Digits + 2 : 1;  // a hex word that stays is copied whole
    for (UINTN Index = 0; Index < Copy && Length + 1 < Capacity; Index++) {
      Out[Length++] = *Text++;
    }
  }
  Out[Length] = 0;
}

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
  Info("expectations: \\EFI\\BOOT\\Expected.txt, %llu line(s) refused; PCD reads: %s; %llu theme colour(s); "
       "image files %s", (UINT64)Refused, mExpected.PcdReads ? "the eight listed tokens" : "none",
       (UINT64)mExpected.ColourCount, mExpected.ImagesListed ? "listed" : "not listed");
}
