// The four theme queries through the record: colours, image replacements,
// metrics and layout rectangles, with what each asked of the host.
#include "tests/firmware/host/CallLog.h"
#include "tests/firmware/host/Checks.h"
#include "tests/firmware/host/Console.h"
#include "tests/firmware/host/ExpectedFile.h"
#include "tests/firmware/host/ExpectedTheme.h"
#include "tests/firmware/host/HostImages.h"
#include "tests/firmware/host/HostTables.h"
#include "tests/firmware/host/Run.h"

namespace {

void QueryColors(const THEME_PROVIDER_PROTOCOL *Record) {
  UINTN Wrong = 0;
  for (const EXPECTED_COLOR &Expected : kColors) {
    const UINT32 Argb = Record->GetColor(Expected.Index);
    if (Argb != ThemedArgb(Expected.Argb)) {
      Wrong++;
      Check(FALSE, "colour", "index %d: expected 0x%08X, got 0x%08X", Expected.Index, ThemedArgb(Expected.Argb), Argb);
    }
  }
  const UINTN Count = sizeof(kColors) / sizeof(kColors[0]);
  Check(Wrong == 0, "colours", "%llu of %llu sample indices right (0 -> 0x%08X, 115 -> 0x%08X, 116 and -1 -> 0)",
        (UINT64)(Count - Wrong), (UINT64)Count, Record->GetColor(0), Record->GetColor(115));
}

void QueryMappings(const THEME_PROVIDER_PROTOCOL *Record) {
  UINTN Wrong = 0;
  for (const EXPECTED_MAPPING &Expected : kMappings) {
    const UINTN ThemeId = Record->MapImage(Expected.HostId);
    if (ThemeId != Expected.ThemeId) {
      Wrong++;
      Check(FALSE, "image map", "host image %u: expected %u, got %llu", Expected.HostId, Expected.ThemeId,
            (UINT64)ThemeId);
    }
  }
  const UINTN Count = sizeof(kMappings) / sizeof(kMappings[0]);
  Check(Wrong == 0, "image map", "%llu of %llu sample host ids right, misses included", (UINT64)(Count - Wrong),
        (UINT64)Count);
}

// Value 18 is a colour in both halves, so a theme changes it too.
UINT64 ThemedValue(const EXPECTED_VALUE &Expected) {
  if (Expected.Id != 18 || Expected.Value == Expected.Default) {
    return Expected.Value;
  }
  return (UINT64)ThemedArgb((UINT32)(Expected.Value >> 32)) << 32 | ThemedArgb((UINT32)Expected.Value);
}

void QueryValues(const THEME_PROVIDER_PROTOCOL *Record) {
  UINTN Wrong = 0;
  for (const EXPECTED_VALUE &Expected : kValues) {
    const UINT64 Value = Record->GetValue(Expected.Id, Expected.Default);
    if (Value != ThemedValue(Expected)) {
      Wrong++;
      Check(FALSE, "value table", "id %d default 0x%llX: expected 0x%llX, got 0x%llX", Expected.Id, Expected.Default,
            ThemedValue(Expected), Value);
    }
  }
  const UINTN Count = sizeof(kValues) / sizeof(kValues[0]);
  Check(Wrong == 0, "value table", "%llu of %llu sample ids right, defaults included", (UINT64)(Count - Wrong),
        (UINT64)Count);
}

// Every host id in 0..kMapScanEnd, the answers counted as a whole.
void ScanImageMap(const THEME_PROVIDER_PROTOCOL *Record) {
  BOOLEAN Named[256] = {};
  UINTN Mapped = 0;
  UINTN OutOfRange = 0;
  for (UINT32 HostId = 0; HostId <= kMapScanEnd; HostId++) {
    const UINTN ThemeId = Record->MapImage(HostId);
    if (ThemeId == 0) {
      continue;
    }
    Mapped++;
    if (ThemeId > 165) {
      OutOfRange++;
    } else {
      Named[ThemeId] = TRUE;
    }
  }
  UINTN Distinct = 0;
  for (const BOOLEAN IsNamed : Named) {
    Distinct += IsNamed ? 1 : 0;
  }
  UINTN UnnamedNamed = 0;
  for (const UINT32 Id : kUnnamedThemeImages) {
    UnnamedNamed += Id < 256 && Named[Id] ? 1 : 0;
  }
  Check(Mapped == kMappedHostIds && Distinct == kMappedThemeImages && OutOfRange == 0 && UnnamedNamed == 0,
        "image map as a whole",
        "%llu host ids of 0..%u mapped onto %llu theme images; %llu beyond 165, %llu of the unnamed images named",
        (UINT64)Mapped, kMapScanEnd, (UINT64)Distinct, (UINT64)OutOfRange, (UINT64)UnnamedNamed);
}

void QueryAdjustValue(const THEME_PROVIDER_PROTOCOL *Record) {
  HOST_RECT Target = {11, 22, 33, 44};
  const HOST_RECT Before = Target;
  const UINTN Mark = CallMark();
  const UINT64 Value = Record->GetValue(34, reinterpret_cast<UINT64>(&Target));
  CheckHex("value id 34 returns", 0, Value);
  const HOST_CALL *Call = CallAt(Mark, 0);
  const BOOLEAN One = CallsSince(Mark) == 1 && Call != nullptr && Call->Table == kHostTableServices && Call->Slot == 40;
  Check(One, "value id 34 reaches AdjustRect once", "%llu host call(s)%s", (UINT64)CallsSince(Mark),
        One ? ", AdjustRect" : "");
  if (One) {
    Check(Call->Argument[0] == reinterpret_cast<UINT64>(&Target) && Call->Argument[1] == 0 && Call->Argument[2] == 12,
          "AdjustRect arguments", "(0x%llX, %llu, %llu), expected (the caller's pointer, 0, 12)", Call->Argument[0],
          Call->Argument[1], Call->Argument[2]);
  }
  Check(Target.Left == Before.Left && Target.Top == Before.Top && Target.Right == Before.Right &&
            Target.Bottom == Before.Bottom,
        "value id 34 leaves the caller's memory to the host", "%s", "untouched by the plug-in");
}

void QueryRects(const THEME_PROVIDER_PROTOCOL *Record) {
  for (INT32 Index = 0; Index < 10; Index++) {
    HOST_RECT Buffer = {-7, -7, -7, -7};
    const UINTN Mark = CallMark();
    const EFI_STATUS Status = Record->GetRect(Index, &Buffer);
    const HOST_CALL *Call = CallAt(Mark, 0);
    const EXPECTED_RECT &Expected = kRects[Index];
    const BOOLEAN Scaled = CallsSince(Mark) == 1 && Call != nullptr && Call->Table == kHostTableServices &&
                           Call->Slot == 58 && Call->Argument[0] == reinterpret_cast<UINT64>(&Buffer);
    const THEME_RECT *Design = Scaled ? reinterpret_cast<const THEME_RECT *>(Call->Argument[1]) : nullptr;
    const BOOLEAN DesignRight = Design != nullptr && Design->X == Expected.X && Design->Y == Expected.Y &&
                                Design->Width == Expected.Width && Design->Height == Expected.Height;
    const HOST_RECT Pixels = {ScaleDesignX(Expected.X), ScaleDesignY(Expected.Y),
                              ScaleDesignX(Expected.X + Expected.Width), ScaleDesignY(Expected.Y + Expected.Height)};
    const BOOLEAN BufferRight = Buffer.Left == Pixels.Left && Buffer.Top == Pixels.Top &&
                                Buffer.Right == Pixels.Right && Buffer.Bottom == Pixels.Bottom;
    char Name[32];
    FormatTextTo(Name, sizeof(Name), "rectangle %d", Index);
    if (Status == EFI_SUCCESS && DesignRight && BufferRight) {
      Check(TRUE, Name, "design (%d, %d, %d x %d) -> pixels (%d, %d)-(%d, %d)", Expected.X, Expected.Y, Expected.Width,
            Expected.Height, Buffer.Left, Buffer.Top, Buffer.Right, Buffer.Bottom);
    } else {
      Check(FALSE, Name,
            "expected status 0, one ScaleRect of design (%d, %d, %d x %d) into the buffer; got status 0x%llX, %llu "
            "host call(s) (first: %s), design %s, buffer (%d, %d)-(%d, %d)",
            Expected.X, Expected.Y, Expected.Width, Expected.Height, Status, (UINT64)CallsSince(Mark),
            Call != nullptr ? SlotName(Call->Table, Call->Slot) : "none", DesignRight ? "right" : "wrong", Buffer.Left,
            Buffer.Top, Buffer.Right, Buffer.Bottom);
    }
  }
}

void QueryInvalidRects(const THEME_PROVIDER_PROTOCOL *Record) {
  struct {
    INT32 Index;
    BOOLEAN NullBuffer;
    const char *Name;
  } const Cases[] = {{10, FALSE, "rectangle index 10"},
                     {-1, FALSE, "rectangle index -1"},
                     {(INT32)0x80000000, FALSE, "rectangle index -2^31"},
                     {0, TRUE, "rectangle 0 into a null buffer"}};
  for (const auto &Case : Cases) {
    HOST_RECT Buffer = {-7, -7, -7, -7};
    const UINTN Mark = CallMark();
    const EFI_STATUS Status = Record->GetRect(Case.Index, Case.NullBuffer ? nullptr : &Buffer);
    const BOOLEAN Untouched = Buffer.Left == -7 && Buffer.Top == -7 && Buffer.Right == -7 && Buffer.Bottom == -7;
    if (Status == kInvalidParameter && CallsSince(Mark) == 0 && Untouched) {
      Check(TRUE, Case.Name, "0x%llX, no host call, buffer untouched", Status);
    } else {
      Check(FALSE, Case.Name, "expected 0x%llX with no host call; got 0x%llX, %llu host call(s), buffer %s",
            kInvalidParameter, Status, (UINT64)CallsSince(Mark), Untouched ? "untouched" : "written");
    }
  }
}

}  // namespace

void QueryBeforeTables(HOST_RUN *Run) {
  Step("queries before the host tables");
  const THEME_PROVIDER_PROTOCOL *Record = Run->Record;
  QueryColors(Record);
  QueryMappings(Record);
  QueryValues(Record);
  CheckDec("reserved operation", 0, Record->Reserved());
}

void AttachHostTables(HOST_RUN *Run) {
  Step("host tables");
  THEME_PROVIDER_PROTOCOL *Record = Run->Record;
  Record->ImageTable = ImageTable();
  Record->UiTable = HostUiTable();
  Record->ServiceTable = HostServicesTable();
  Info("host tables written: image table %u entries (%llu from the package), UI table %u slots, services %u slots",
       HOST_IMAGE_TABLE_ENTRIES, (UINT64)Run->PackageImages, HOST_UI_TABLE_SLOT_COUNT, HOST_SERVICES_TABLE_SLOT_COUNT);
}

void QueryWithTables(HOST_RUN *Run) {
  Step("queries");
  const THEME_PROVIDER_PROTOCOL *Record = Run->Record;
  const UINTN Mark = CallMark();
  QueryColors(Record);
  QueryMappings(Record);
  QueryValues(Record);
  ScanImageMap(Record);
  Check(CallsSince(Mark) == 0, "colour, image and value queries make no host call", "%llu call(s)",
        (UINT64)CallsSince(Mark));
  QueryAdjustValue(Record);
  QueryRects(Record);
  QueryInvalidRects(Record);
}
