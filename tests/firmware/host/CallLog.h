// Every call that the plug-in makes into the host's two tables, in order,
// with its arguments, its result and a copy of any record it passed, so that
// a run can check what an operation asked of the host, record contents
// included.
#pragma once

#include "tests/hostcalls/HostCall.h"

void LogHostCall(const HOST_CALL &Call);
void LogUnlistedCall(UINT8 Table, UINT8 Slot);

// A mark is the number of calls logged so far.
UINTN CallMark();
UINTN CallsSince(UINTN Mark);
// The call at Mark + Offset, or null past the end.
const HOST_CALL *CallAt(UINTN Mark, UINTN Offset);
UINTN CountCalls(UINTN Mark, UINT8 Table, UINT8 Slot);
UINTN UnlistedCalls();
const HOST_CALL *FirstUnlistedCall();
// Calls that no longer fit the log; they are counted, not kept.
UINTN DroppedCalls();

// The operation's name, or "unlisted UI slot" / "unlisted service slot".
const char *SlotName(UINT8 Table, UINT8 Slot);

// The call as one line in the notation of the unit tests' traces, with the
// host's objects, draw contexts, images and the record named.
UINTN DescribeCall(const HOST_CALL *Call, char *Text, UINTN Capacity);

// Checks that the calls since Mark are exactly the lines of Expected (one
// call per line, leading blanks ignored). On a mismatch it names the first
// line that differs and lists the calls made.
BOOLEAN CheckCalls(const char *Name, UINTN Mark, const char *Expected);
