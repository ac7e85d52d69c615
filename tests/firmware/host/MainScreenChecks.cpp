#include "tests/firmware/host/MainScreenChecks.h"

#include "tests/firmware/host/CallLog.h"
#include "tests/firmware/host/Checks.h"
#include "tests/firmware/host/Console.h"
#include "tests/firmware/host/ExpectedFile.h"
#include "tests/firmware/host/ExpectedLines.h"
#include "tests/firmware/host/HostImages.h"

namespace {

constexpr UINT32 kAccentArgb = 0xFFFF8333;  // palette colour 108
constexpr UINT32 kPaleArgb = 0xFFE5E2E1;    // palette colour 104

typedef struct {
  UINT32 Width, Height;                // what the entry holds before the pass
  UINT32 TrimmedWidth, TrimmedHeight;  // and after it
  INT32 Side;                          // columns taken off each side
} EXPECTED_TRIM;

// Theme images 27 to 29 and 30 to 34, for the first and the second pass.
constexpr EXPECTED_TRIM kNarrowTrims[] = {{280, 46, 278, 44, 1}, {278, 44, 276, 42, 1}};
constexpr EXPECTED_TRIM kWideTrims[] = {{400, 60, 396, 56, 2}, {396, 56, 394, 54, 1}};  // 396 is under 400

const EXPECTED_TRIM &TrimOf(UINT32 ThemeImageId, UINTN Pass) {
  return ThemeImageId <= 29 ? kNarrowTrims[Pass - 1] : kWideTrims[Pass - 1];
}

typedef struct {
  UINT32 HostImageId;
  UINT32 Width, Height;
  UINT32 Argb;
} EXPECTED_SWATCH;

constexpr EXPECTED_SWATCH kSwatches[] = {{877, 48, 40, 0xFF666F75}, {876, 25, 25, 0xFFDDDDDD}};
constexpr UINT32 kFilledPanel = 3694, kFramedPanel = 3695;
constexpr UINT32 kFilledPanelArgb = 0xFF615B58, kFramedPanelArgb = 0xFF1E1B1A;
constexpr UINT32 kPanelFrame = 3;

constinit EXPECTED_LINES mExpected = {};

// A source the host lacks is not copied.
void ExpectCopy(const char *Operation, UINT32 Destination, const char *Source, BOOLEAN HasSource) {
  AddLine(&mExpected, "GetImageSlot(%u) -> HostImage(%u)", Destination, Destination);
  if (HasSource) {
    AddLine(&mExpected, "%s(HostImage(%u), %s) -> 0", Operation, Destination, Source);
  }
}

void ExpectSwatch(const EXPECTED_SWATCH &Swatch) {
  AddLine(&mExpected, "GetImageSlot(%u) -> HostImage(%u)", Swatch.HostImageId, Swatch.HostImageId);
  AddLine(&mExpected, "AllocImage(HostImage(%u), %u, %u) -> 0", Swatch.HostImageId, Swatch.Width, Swatch.Height);
  AddLine(&mExpected, "FillImage(HostImage(%u), null, 0x%X) -> 0", Swatch.HostImageId, Swatch.Argb);
}

void ExpectPanels(UINT32 Width, UINT32 Height) {
  ExpectSwatch(EXPECTED_SWATCH{kFilledPanel, Width, Height, kFilledPanelArgb});
  AddLine(&mExpected, "GetImageSlot(%u) -> HostImage(%u)", kFramedPanel, kFramedPanel);
  AddLine(&mExpected, "AllocImage(HostImage(%u), %u, %u) -> 0", kFramedPanel, Width, Height);
  AddLine(&mExpected, "SetRect(ptr, 0, 0, %u, %u) -> 0", Width, Height);
  AddLine(&mExpected, "InflateRect({0, 0, %u, %u}, -3, -3) -> 0", Width, Height);
  AddLine(&mExpected, "FillImage(HostImage(%u), {3, 3, %u, %u}, 0x%X) -> 0", kFramedPanel, Width - kPanelFrame,
          Height - kPanelFrame, kFramedPanelArgb);
}

// Every call of one notification, in order, from what the host holds now.
void ExpectMainScreen(UINTN Pass, UINT32 PanelWidth, UINT32 PanelHeight) {
  char Name[32];
  ClearLines(&mExpected);
  ExpectSwatch(kSwatches[0]);
  const BOOLEAN HasReference = ResolvedImageName(1039, Name, sizeof(Name));
  AddLine(&mExpected, "GetImage(1039) -> %s", Name);
  if (HasReference) {
    ExpectPanels(PanelWidth, PanelHeight);
  }
  AddLine(&mExpected, "RefreshImages() -> 0");
  ExpectSwatch(kSwatches[1]);
  const UINT32 PlainCopies[][2] = {{1046, 1049}, {1047, 1050}};
  for (const auto &Copy : PlainCopies) {
    const BOOLEAN HasSource = ResolvedImageName(Copy[1], Name, sizeof(Name));
    AddLine(&mExpected, "GetImage(%u) -> %s", Copy[1], Name);
    ExpectCopy("CopyImage", Copy[0], Name, HasSource);
  }
  for (UINT32 Id = 2198; Id <= 2210; Id++) {
    const BOOLEAN HasSource = ResolvedImageName(Id + 30, Name, sizeof(Name));
    AddLine(&mExpected, "GetImage(%u) -> %s", Id + 30, Name);
    ExpectCopy("CopyImageInto", Id, Name, HasSource);
    AddLine(&mExpected, "SetImageColor(%u, 0xFFFFFFFF, 0x%X) -> 0", Id, kAccentArgb);
    ExpectCopy("CopyImageInto", Id - 100, Name, HasSource);
    AddLine(&mExpected, "SetImageColor(%u, 0xFFFFFFFF, 0x%X) -> 0", Id - 100, kPaleArgb);
  }
  for (UINT32 Id = 808; Id <= 811; Id++) {
    ResolvedImageName(Id, Name, sizeof(Name));
    AddLine(&mExpected, "GetImage(%u) -> %s", Id, Name);
  }
  for (UINT32 Id = 27; Id <= 34; Id++) {
    const EXPECTED_TRIM &Trim = TrimOf(Id, Pass);
    AddLine(&mExpected, "AllocImage(ptr, %u, %u) -> 0", Trim.TrimmedWidth, Trim.TrimmedHeight);
    AddLine(&mExpected, "BlitImage(ptr, ThemeImage(%u), 0, 0, %d, 0, %u, %u, 0, null) -> 0", Id, Trim.Side,
            Trim.TrimmedWidth, Trim.TrimmedHeight);
    AddLine(&mExpected, "FreeImage(ThemeImage(%u)) -> 0", Id);
    AddLine(&mExpected, "CopyBuffer(ThemeImage(%u), ptr, 32) -> 0", Id);
  }
}

BOOLEAN EntriesHold(UINTN Pass, BOOLEAN Trimmed) {
  const THEME_IMAGE *Table = ImageTable();
  for (UINT32 Id = 27; Id <= 34; Id++) {
    const EXPECTED_TRIM &Trim = TrimOf(Id, Pass);
    const UINT32 Width = Trimmed ? Trim.TrimmedWidth : Trim.Width;
    const UINT32 Height = Trimmed ? Trim.TrimmedHeight : Trim.Height;
    if (Table[Id].Width != Width || Table[Id].Height != Height) {
      return FALSE;
    }
  }
  return TRUE;
}

// Pixels of Image inside Inner that hold Argb, and pixels outside it that do.
void CountFill(const THEME_IMAGE *Image, const HOST_RECT &Inner, UINT32 Argb, UINTN *Inside, UINTN *Outside) {
  *Inside = 0;
  *Outside = 0;
  for (UINT32 Y = 0; Y < Image->Height; Y++) {
    for (UINT32 X = 0; X < Image->Width; X++) {
      if (ImagePixel(Image, X, Y) != Argb) {
        continue;
      }
      const BOOLEAN In = (INT32)X >= Inner.Left && (INT32)X < Inner.Right && (INT32)Y >= Inner.Top && (INT32)Y < Inner.Bottom;
      *(In ? Inside : Outside) += 1;
    }
  }
}

void CheckSwatches() {
  for (const EXPECTED_SWATCH &Swatch : kSwatches) {
    const THEME_IMAGE *Image = HostImageSlot(Swatch.HostImageId);
    UINTN Inside = 0, Outside = 0;
    CountFill(Image, HOST_RECT{0, 0, (INT32)Swatch.Width, (INT32)Swatch.Height}, ThemedArgb(Swatch.Argb), &Inside,
              &Outside);
    char Name[64];
    FormatTextTo(Name, sizeof(Name), "swatch %u: %ux%u of 0x%X, mode 1", Swatch.HostImageId, Swatch.Width,
                 Swatch.Height, ThemedArgb(Swatch.Argb));
    Check(Image->Width == Swatch.Width && Image->Height == Swatch.Height && Inside == Swatch.Width * Swatch.Height &&
              Image->Mode == 1,
          Name, "%ux%u, %llu pixels of the colour, mode %u", Image->Width, Image->Height, (UINT64)Inside, Image->Mode);
  }
}

void CheckPanels(UINT32 Width, UINT32 Height) {
  const THEME_IMAGE *Filled = HostImageSlot(kFilledPanel);
  const THEME_IMAGE *Framed = HostImageSlot(kFramedPanel);
  const HOST_RECT Whole = {0, 0, (INT32)Width, (INT32)Height};
  const HOST_RECT Inner = {3, 3, (INT32)(Width - kPanelFrame), (INT32)(Height - kPanelFrame)};
  UINTN FilledInside = 0, FilledOutside = 0, FramedInside = 0, FramedOutside = 0;
  CountFill(Filled, Whole, ThemedArgb(kFilledPanelArgb), &FilledInside, &FilledOutside);
  CountFill(Framed, Inner, ThemedArgb(kFramedPanelArgb), &FramedInside, &FramedOutside);
  const UINTN InnerPixels = (UINTN)(Width - 2 * kPanelFrame) * (Height - 2 * kPanelFrame);
  Check(Filled->Width == Width && Filled->Height == Height && FilledInside == (UINTN)Width * Height, "panel 3694 filled",
        "%ux%u (expected %ux%u), %llu pixels of 0x%X", Filled->Width, Filled->Height, Width, Height,
        (UINT64)FilledInside, ThemedArgb(kFilledPanelArgb));
  Check(Framed->Width == Width && Framed->Height == Height && FramedInside == InnerPixels && FramedOutside == 0,
        "panel 3695 filled inside its 3-pixel frame", "%ux%u, %llu of %llu inner pixels dark, %llu in the frame",
        Framed->Width, Framed->Height, (UINT64)FramedInside, (UINT64)InnerPixels, (UINT64)FramedOutside);
}

void CheckSharedModes() {
  UINTN Marked = 0;
  for (UINT32 Id = 808; Id <= 811; Id++) {
    const THEME_IMAGE *Image = ResolveHostImage(Id);
    Marked += Image != nullptr && Image->Mode == 4 ? 1 : 0;
  }
  Check(Marked == 4, "mode 4 on images 808 to 811", "%llu of 4", (UINT64)Marked);
}

}  // namespace

void NotifyMainScreen(const THEME_PROVIDER_PROTOCOL *Record, UINTN Pass) {
  const THEME_IMAGE *Reference = ResolveHostImage(1039);
  const UINT32 PanelWidth = Reference != nullptr ? Reference->Width : 0;
  const UINT32 PanelHeight = Reference != nullptr ? 3 * Reference->Height : 0;
  char Name[64];
  FormatTextTo(Name, sizeof(Name), "theme images 27 to 34 before main screen %llu", (UINT64)Pass);
  Check(EntriesHold(Pass, FALSE), Name, "%ux%u and %ux%u", TrimOf(27, Pass).Width, TrimOf(27, Pass).Height,
        TrimOf(34, Pass).Width, TrimOf(34, Pass).Height);
  ExpectMainScreen(Pass, PanelWidth, PanelHeight);

  const UINTN Mark = CallMark();
  const EFI_STATUS Status = Record->Notify(1);
  FormatTextTo(Name, sizeof(Name), "notify 1 (main screen %llu)", (UINT64)Pass);
  CheckHex(Name, EFI_SUCCESS, Status);
  FormatTextTo(Name, sizeof(Name), "main screen %llu: every host call in order", (UINT64)Pass);
  CheckCalls(Name, Mark, mExpected.Text);

  FormatTextTo(Name, sizeof(Name), "theme images 27 to 34 trimmed (pass %llu)", (UINT64)Pass);
  const THEME_IMAGE *Table = ImageTable();
  Check(EntriesHold(Pass, TRUE), Name, "27 %ux%u, 29 %ux%u, 30 %ux%u, 34 %ux%u", Table[27].Width, Table[27].Height,
        Table[29].Width, Table[29].Height, Table[30].Width, Table[30].Height, Table[34].Width, Table[34].Height);
  CheckSwatches();
  CheckPanels(PanelWidth, PanelHeight);
  CheckSharedModes();
}
