// Every call that the plug-in makes into the host's two tables, in order,
// with up to four arguments, so that the run can check what an operation
// asked of the host.
#pragma once

#include "platform/uefi/UefiBase.h"

enum : UINT8 { HostTableUi = 0, HostTableServices = 1 };

typedef struct {
  UINT8 Table;
  UINT8 Slot;
  BOOLEAN Listed;  // false: a slot that the host tables do not name
  UINT64 Args[4];
} HOST_CALL;

void LogCall(UINT8 Table, UINT8 Slot, UINT64 A0 = 0, UINT64 A1 = 0, UINT64 A2 = 0, UINT64 A3 = 0);
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

const char *SlotName(UINT8 Table, UINT8 Slot);
