#include "tests/firmware/host/Checks.h"

#include "tests/firmware/host/Console.h"

namespace {

constinit UINTN mPassed = 0;
constinit UINTN mFailed = 0;
constinit UINTN mNotApplicable = 0;

constexpr UINTN kLineCapacity = 512;

void EmitLine(const char *Prefix, const char *Name, const char *Format, __builtin_va_list Arguments) {
  char Line[kLineCapacity];
  UINTN Length = FormatTextTo(Line, sizeof(Line), "%s%s%s", Prefix, Name, Name[0] != '\0' ? ": " : "");
  if (Length < sizeof(Line)) {
    FormatText(Line + Length, sizeof(Line) - Length, Format, Arguments);
  }
  ConsoleWrite(Line);
  ConsoleWrite("\n");
}

BOOLEAN Verdict(BOOLEAN Passed) {
  if (Passed) {
    mPassed++;
  } else {
    mFailed++;
  }
  return Passed;
}

}  // namespace

void Step(const char *Name) {
  ConsoleWrite("STEP ");
  ConsoleWrite(Name);
  ConsoleWrite("\n");
}

void Info(const char *Format, ...) {
  __builtin_va_list Arguments;
  __builtin_va_start(Arguments, Format);
  EmitLine("INFO ", "", Format, Arguments);
  __builtin_va_end(Arguments);
}

BOOLEAN Check(BOOLEAN Passed, const char *Name, const char *Format, ...) {
  __builtin_va_list Arguments;
  __builtin_va_start(Arguments, Format);
  EmitLine(Passed ? "PASS " : "FAIL ", Name, Format, Arguments);
  __builtin_va_end(Arguments);
  return Verdict(Passed);
}

void NotApplicable(const char *Name, const char *Format, ...) {
  __builtin_va_list Arguments;
  __builtin_va_start(Arguments, Format);
  EmitLine("N/A  ", Name, Format, Arguments);
  __builtin_va_end(Arguments);
  mNotApplicable++;
}

BOOLEAN CheckHex(const char *Name, UINT64 Expected, UINT64 Actual) {
  if (Expected == Actual) {
    return Check(TRUE, Name, "0x%llX", Actual);
  }
  return Check(FALSE, Name, "expected 0x%llX, got 0x%llX", Expected, Actual);
}

BOOLEAN CheckDec(const char *Name, INT64 Expected, INT64 Actual) {
  if (Expected == Actual) {
    return Check(TRUE, Name, "%lld", Actual);
  }
  return Check(FALSE, Name, "expected %lld, got %lld", Expected, Actual);
}

UINTN PassedChecks() { return mPassed; }
UINTN FailedChecks() { return mFailed; }

BOOLEAN FinishChecks() {
  char Line[128];
  if (mNotApplicable == 0) {
    FormatTextTo(Line, sizeof(Line), "SUMMARY: %llu passed, %llu failed\n", (UINT64)mPassed, (UINT64)mFailed);
  } else {
    FormatTextTo(Line, sizeof(Line), "SUMMARY: %llu passed, %llu failed, %llu not applicable\n", (UINT64)mPassed,
                 (UINT64)mFailed, (UINT64)mNotApplicable);
  }
  ConsoleWrite(Line);
  return mFailed == 0 && mPassed > 0;
}
