// The skeleton that the test hosts (the recording host, the fuzz host) share.
// A host is a type Fake with:
//
//   static UINTN Called(UINT8 Table, UINT8 Slot);     // a slot the lists do not name
//   template <UINT8 Table, UINT8 Slot, typename Result, typename... Arguments>
//   static Result Operate(Arguments... Values);        // every listed operation
//   static UINT64 JunkAbove32();                       // what MakeBrush leaves above bit 31
//   static ... Behave(UI_TAG(Name), <arguments>);      // optional, per operation
//
// Behave is what an operation does besides answering (writing an
// out-parameter, acting on a buffer); Operate runs it with BehaveAt.
// Framework-free, so that the fuzz targets can use it.
#pragma once

#include <type_traits>

#include "hostcalls/HostCall.h"

template <UINT8 Table, UINT8 Slot>
struct SlotTag {};

#define UI_TAG(Name) SlotTag<kHostTableUi, (UINT8)HostUiSlot::Name>
#define SERVICES_TAG(Name) SlotTag<kHostTableServices, (UINT8)HostServicesSlot::Name>

// Runs Fake's Behave for the slot where it declares one and returns its
// result; Result{} where it declares none or its Behave returns nothing.
template <typename Fake, UINT8 Table, UINT8 Slot, typename Result, typename... Arguments>
Result BehaveAt(Arguments... Values) {
  if constexpr (requires { Fake::Behave(SlotTag<Table, Slot>{}, Values...); }) {
    if constexpr (std::is_void_v<decltype(Fake::Behave(SlotTag<Table, Slot>{}, Values...))>) {
      Fake::Behave(SlotTag<Table, Slot>{}, Values...);
    } else {
      return Fake::Behave(SlotTag<Table, Slot>{}, Values...);
    }
  }
  return Result{};
}

// The function wired into one listed slot, of the slot's own type.
template <typename Fake, UINT8 Table, UINT8 Slot, typename Operation>
struct FakeOperation;
template <typename Fake, UINT8 Table, UINT8 Slot, typename Result, typename... Arguments>
struct FakeOperation<Fake, Table, Slot, Result(EFIAPI *)(Arguments...)> {
  static Result EFIAPI Call(Arguments... Values) { return Fake::template Operate<Table, Slot, Result>(Values...); }
};

// MakeBrush's slot returns UINT32, so a correct plug-in reads EAX only. This
// is wired into that slot although it returns UINT64 (the Microsoft x64
// convention returns both in RAX): the junk above bit 31 would reach the
// calls of a plug-in that widened the result.
template <typename Fake>
UINT64 EFIAPI MakeBrushWithJunkAbove32(THEME_IMAGE *Image, UINT32 Argb, UINT32 Modifier) {
  const UINT32 Brush = FakeOperation<Fake, kHostTableUi, (UINT8)HostUiSlot::MakeBrush, HOST_MAKE_BRUSH>::Call(Image, Argb, Modifier);
  return Fake::JunkAbove32() | Brush;
}

// Fills both tables: a trap in every slot, then Fake's operation in each
// listed slot, MakeBrush's with junk above bit 31.
template <typename Fake>
void WireFakeHostTables(HOST_UI_TABLE *Ui, HOST_SERVICES_TABLE *Services) {
  FillWithSlotTraps<Fake, kHostTableUi, HOST_UI_TABLE_SLOT_COUNT>(Ui->Slot);
  FillWithSlotTraps<Fake, kHostTableServices, HOST_SERVICES_TABLE_SLOT_COUNT>(Services->Slot);
#define HOST_UI_SLOT(Number, Name, Type) Ui->Name = &FakeOperation<Fake, kHostTableUi, Number, Type>::Call;
#include "host/HostUiSlots.def"
#undef HOST_UI_SLOT
#define HOST_SERVICES_SLOT(Number, Name, Type) Services->Name = &FakeOperation<Fake, kHostTableServices, Number, Type>::Call;
#include "host/HostServicesSlots.def"
#undef HOST_SERVICES_SLOT
  Ui->MakeBrush = reinterpret_cast<HOST_MAKE_BRUSH>(reinterpret_cast<VOID *>(&MakeBrushWithJunkAbove32<Fake>));
}
