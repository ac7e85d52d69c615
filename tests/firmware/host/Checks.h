// One serial line per check, in a form the runner parses:
//   STEP <name>                       a step of the run begins
//   PASS <check>: <detail>
//   FAIL <check>: expected X, got Y   (or another detail)
//   N/A  <check>: <reason>            the firmware cannot support the check
//   INFO <fact>                       what the host saw, not judged
//   SUMMARY: N passed, M failed[, K not applicable]   once, at the end
#pragma once

#include "platform/uefi/UefiBase.h"

#define HOST_FORMAT(N) __attribute__((format(printf, N, N + 1)))

void Step(const char *Name);
void Info(const char *Format, ...) HOST_FORMAT(1);

// Records a verdict; the detail follows the check's name after a colon.
BOOLEAN Check(BOOLEAN Passed, const char *Name, const char *Format, ...) HOST_FORMAT(3);

// A check this firmware cannot support, with the reason: neither passed nor
// failed, and the runner accepts it only from firmware known to lack it.
void NotApplicable(const char *Name, const char *Format, ...) HOST_FORMAT(2);

// Equality checks print "expected E, got A" when they fail and the value
// when they pass.
BOOLEAN CheckHex(const char *Name, UINT64 Expected, UINT64 Actual);
BOOLEAN CheckDec(const char *Name, INT64 Expected, INT64 Actual);

UINTN PassedChecks();
UINTN FailedChecks();

// Prints the summary line; true when nothing failed.
BOOLEAN FinishChecks();
