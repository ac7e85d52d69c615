#include "tests/firmware/host/CallLog.h"

#include "tests/firmware/host/Checks.h"
#include "tests/firmware/host/Console.h"
#include "tests/firmware/host/ExpectedFile.h"
#include "tests/firmware/host/HostTables.h"

namespace {

constexpr UINTN kLogCapacity = 4096;
constexpr UINTN kLineCapacity = 256;

constinit HOST_CALL mCalls[kLogCapacity] = {};
constinit UINTN mCallCount = 0;  // including dropped ones
constinit UINTN mUnlisted = 0;
constinit HOST_CALL mFirstUnlisted = {};

void Append(const HOST_CALL &Call) {
  if (mCallCount < kLogCapacity) {
    mCalls[mCallCount] = Call;
  }
  mCallCount++;
}

BOOLEAN NameForLog(VOID *, UINT64 Value, CHAR8 *Name, UINTN Capacity) { return NameHostValue(Value, Name, Capacity); }

// The next line of Text without leading blanks; advances Text past it.
// Returns FALSE at the end of Text.
BOOLEAN NextExpectedLine(const char **Text, char *Line, UINTN Capacity) {
  const char *Cursor = *Text;
  while (*Cursor == ' ' || *Cursor == '\n') {
    Cursor++;
  }
  if (*Cursor == 0) {
    *Text = Cursor;
    return FALSE;
  }
  UINTN Length = 0;
  while (*Cursor != 0 && *Cursor != '\n') {
    if (Length + 1 < Capacity) {
      Line[Length++] = *Cursor;
    }
    Cursor++;
  }
  while (Length > 0 && Line[Length - 1] == ' ') {
    Length--;
  }
  Line[Length] = 0;
  *Text = Cursor;
  return TRUE;
}

BOOLEAN SameText(const char *Left, const char *Right) {
  while (*Left != 0 && *Left == *Right) {
    Left++;
    Right++;
  }
  return *Left == *Right;
}

void ListCalls(UINTN Mark) {
  char Line[kLineCapacity];
  for (UINTN Index = 0; Index < CallsSince(Mark); Index++) {
    const HOST_CALL *Call = CallAt(Mark, Index);
    if (Call == nullptr) {
      Info("  call %llu: not kept (log full)", (UINT64)Index);
      continue;
    }
    DescribeCall(Call, Line, sizeof(Line));
    Info("  %s", Line);
  }
}

}  // namespace

void LogHostCall(const HOST_CALL &Call) { Append(Call); }

void LogUnlistedCall(UINT8 Table, UINT8 Slot) {
  HOST_CALL Call;
  CaptureHostCall(&Call, Table, Slot);
  if (mUnlisted == 0) {
    mFirstUnlisted = Call;
  }
  mUnlisted++;
  Append(Call);
}

UINTN CallMark() { return mCallCount; }
UINTN CallsSince(UINTN Mark) { return mCallCount - Mark; }

const HOST_CALL *CallAt(UINTN Mark, UINTN Offset) {
  const UINTN Index = Mark + Offset;
  return Index < mCallCount && Index < kLogCapacity ? &mCalls[Index] : nullptr;
}

UINTN CountCalls(UINTN Mark, UINT8 Table, UINT8 Slot) {
  UINTN Count = 0;
  for (UINTN Index = Mark; Index < mCallCount && Index < kLogCapacity; Index++) {
    if (mCalls[Index].Table == Table && mCalls[Index].Slot == Slot) {
      Count++;
    }
  }
  return Count;
}

UINTN UnlistedCalls() { return mUnlisted; }
const HOST_CALL *FirstUnlistedCall() { return mUnlisted != 0 ? &mFirstUnlisted : nullptr; }
UINTN DroppedCalls() { return mCallCount > kLogCapacity ? mCallCount - kLogCapacity : 0; }

const char *SlotName(UINT8 Table, UINT8 Slot) {
  if (const char *Name = HostSlotName(Table, Slot)) {
    return Name;
  }
  return Table == kHostTableUi ? "unlisted UI slot" : "unlisted service slot";
}

UINTN DescribeCall(const HOST_CALL *Call, char *Text, UINTN Capacity) {
  return FormatHostCall(Call, &NameForLog, nullptr, Text, Capacity);
}

BOOLEAN CheckCalls(const char *Name, UINTN Mark, const char *DefaultExpected) {
  // The lines are written with the default theme's colours.
  static char Themed[16384];
  ThemeExpectedText(DefaultExpected, Themed, sizeof(Themed));
  const char *Expected = Themed;
  char Wanted[kLineCapacity];
  char Actual[kLineCapacity];
  UINTN Index = 0;
  for (; NextExpectedLine(&Expected, Wanted, sizeof(Wanted)); Index++) {
    const HOST_CALL *Call = CallAt(Mark, Index);
    if (Call == nullptr) {
      Check(FALSE, Name, "call %llu: expected %s, got no call", (UINT64)Index, Wanted);
      ListCalls(Mark);
      return FALSE;
    }
    DescribeCall(Call, Actual, sizeof(Actual));
    if (!SameText(Wanted, Actual)) {
      Check(FALSE, Name, "call %llu: expected %s, got %s", (UINT64)Index, Wanted, Actual);
      ListCalls(Mark);
      return FALSE;
    }
  }
  if (CallsSince(Mark) != Index) {
    const HOST_CALL *Extra = CallAt(Mark, Index);
    if (Extra != nullptr) {
      DescribeCall(Extra, Actual, sizeof(Actual));
    }
    Check(FALSE, Name, "%llu calls expected, got %llu; the first extra: %s", (UINT64)Index, (UINT64)CallsSince(Mark),
          Extra != nullptr ? Actual : "not kept");
    ListCalls(Mark);
    return FALSE;
  }
  return Check(TRUE, Name, "%llu host call(s) as expected", (UINT64)Index);
}
