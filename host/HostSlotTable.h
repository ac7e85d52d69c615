// How a host table is laid out from its slot list: the named operations
// overlay an array of all slots, each one after exactly as many pointers as
// its slot number, so the list alone places it.
#pragma once

#include "platform/uefi/UefiBase.h"

// One member of the overlay, for a slot list's entry.
#define HOST_SLOT_MEMBER(Number, Name, Type) \
  struct {                                   \
    VOID *Before##Name[Number];              \
    Type Name;                               \
  };

// Two operations never share a slot, and none lies past the table's end:
// the list's slot numbers rise strictly and stay below SlotCount.
template <UINTN Count>
constexpr bool HostSlotsRise(const UINTN (&Numbers)[Count], UINTN SlotCount) {
  for (UINTN Index = 1; Index < Count; Index++) {
    if (Numbers[Index] <= Numbers[Index - 1]) {
      return false;
    }
  }
  return Numbers[Count - 1] < SlotCount;
}
