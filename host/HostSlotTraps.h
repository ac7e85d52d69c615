// For hosts built against the slot lists (the test hosts, the preview): every
// slot of a table first gets a trap, then the listed slots get the host's
// operations. A call through a wrong offset then reaches
// OnUnlisted::Called (Table, Slot) instead of a null pointer. The driver
// itself never fills a table.
#pragma once

#include "platform/uefi/UefiBase.h"

// Which of the two host tables a slot belongs to.
constexpr UINT8 kHostTableUi = 0;
constexpr UINT8 kHostTableServices = 1;

namespace host_slot_traps {

template <typename T, T... N>
struct Sequence {};

template <typename OnUnlisted, UINT8 Table, UINTN Slot>
UINTN EFIAPI Trap() {
  return OnUnlisted::Called(Table, (UINT8)Slot);
}

template <typename OnUnlisted, UINT8 Table, UINTN... N>
void Fill(VOID **Slots, Sequence<UINTN, N...>) {
  ((Slots[N] = reinterpret_cast<VOID *>(&Trap<OnUnlisted, Table, N>)), ...);
}

}  // namespace host_slot_traps

template <typename OnUnlisted, UINT8 Table, UINTN SlotCount>
void FillWithSlotTraps(VOID **Slots) {
  host_slot_traps::Fill<OnUnlisted, Table>(Slots, __make_integer_seq<host_slot_traps::Sequence, UINTN, SlotCount>{});
}
