// Fills every slot of a host table with a trap that logs the call as one
// the tables do not name; the named slots are then set over it. A call
// through a trap means the plug-in used a wrong offset.
#pragma once

#include "tests/firmware/host/CallLog.h"

namespace slot_traps {

template <UINT8 Table, UINTN Slot>
UINTN EFIAPI UnlistedSlot() {
  LogUnlistedCall(Table, (UINT8)Slot);
  return 0;
}

template <typename T, T... N>
struct SlotSequence {};

template <UINT8 Table, UINTN... N>
void Fill(VOID **Slots, SlotSequence<UINTN, N...>) {
  ((Slots[N] = reinterpret_cast<VOID *>(&UnlistedSlot<Table, N>)), ...);
}

}  // namespace slot_traps

template <UINT8 Table, UINTN SlotCount>
void FillWithSlotTraps(VOID **Slots) {
  slot_traps::Fill<Table>(Slots, __make_integer_seq<slot_traps::SlotSequence, UINTN, SlotCount>{});
}
