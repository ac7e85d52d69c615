#include "fuzz/FuzzHost.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <utility>

namespace {

FuzzHost *gActiveHost = nullptr;
constexpr size_t kHostImageCount = 4;

[[noreturn]] void Fail(const char *What, UINT8 Table, UINT8 Slot) {
  const char *Name = HostSlotName(Table, Slot);
  fprintf(stderr, "fuzz host: %s: %s slot %u (%s)\n", What, Table == HostTableUi ? "UI" : "services", Slot,
          Name != nullptr ? Name : "unlisted");
  abort();
}

// Reads a record the plug-in passed in, whole, so that a pointer to too
// little memory is reported by the address sanitizer.
template <typename Record>
void ReadWhole(const Record *Pointer) {
  if (Pointer != nullptr) {
    Record Copy;
    memcpy(&Copy, Pointer, sizeof(Copy));
    asm volatile("" : : "r"(&Copy) : "memory");
  }
}
void Touch(STATE_BRUSHES *Brushes) { ReadWhole(Brushes); }
void Touch(DECORATION_DESC *Descriptor) { ReadWhole(Descriptor); }
void Touch(OBJECT_AREA *Area) { ReadWhole(Area); }
void Touch(HOST_RECT *Rect) { ReadWhole(Rect); }
void Touch(THEME_IMAGE *Image) { ReadWhole(Image); }
template <typename T>
void Touch(T) {}

FuzzedDataProvider &Input() { return FuzzHost::Active().Input(); }

void WriteFromInput(VOID *Destination, size_t Length) {
  if (Destination != nullptr) {
    const std::vector<uint8_t> Bytes = Input().ConsumeBytes<uint8_t>(Length);
    memset(Destination, 0, Length);
    if (!Bytes.empty()) {
      memcpy(Destination, Bytes.data(), Bytes.size());
    }
  }
}

template <UINT8 Table, UINT8 Slot>
struct SlotTag {};
#define UI_TAG(Name) SlotTag<HostTableUi, (UINT8)HostUiSlot::Name>
#define SERVICES_TAG(Name) SlotTag<HostTableServices, (UINT8)HostServicesSlot::Name>

// Operations that write through an out-parameter or act on a buffer; every
// other operation only answers from the input.
void Behave(UI_TAG(GetObjectArea), UINT64, VOID *Area) { WriteFromInput(Area, sizeof(OBJECT_AREA)); }
void Behave(UI_TAG(GetObjectRect), UINT64, HOST_RECT *Rect) { WriteFromInput(Rect, sizeof(HOST_RECT)); }
void Behave(UI_TAG(QueryObjectValue), UINT64, UINT32 *Value) { WriteFromInput(Value, sizeof(UINT32)); }
void Behave(UI_TAG(MeasureText), UINT64, CHAR16 *, VOID *Size) { WriteFromInput(Size, 8); }
void Behave(UI_TAG(AddEventHook), HOST_EVENT_HOOK, UINT32, UINT32, UINT16 *Handle) { WriteFromInput(Handle, sizeof(UINT16)); }
void Behave(SERVICES_TAG(ZeroBuffer), VOID *Buffer, UINTN Length) { memset(Buffer, 0, Length); }
void Behave(SERVICES_TAG(CopyBuffer), VOID *Destination, const VOID *Source, UINTN Length) { memmove(Destination, Source, Length); }

template <typename Result>
Result Answer() {
  if constexpr (std::is_same_v<Result, THEME_IMAGE *>) {
    return FuzzHost::Active().AnyImage();
  } else if constexpr (std::is_pointer_v<Result>) {
    return nullptr;
  } else if constexpr (std::is_same_v<Result, VOID>) {
    return;
  } else {
    return Input().ConsumeIntegral<Result>();
  }
}

template <UINT8 Table, UINT8 Slot, typename Operation>
struct FakeOperation;
template <UINT8 Table, UINT8 Slot, typename Result, typename... Arguments>
struct FakeOperation<Table, Slot, Result(EFIAPI *)(Arguments...)> {
  static Result EFIAPI Call(Arguments... Values) {
    FuzzHost::Active().Enter(Table, Slot);
    (Touch(Values), ...);
    if constexpr (requires { Behave(SlotTag<Table, Slot>{}, Values...); }) {
      Behave(SlotTag<Table, Slot>{}, Values...);
    }
    return Answer<Result>();
  }
};

// MakeBrush's slot returns UINT32 in RAX; the bits above 31 are junk, as a
// real host may leave them.
UINT64 EFIAPI MakeBrushWithJunkAbove32(THEME_IMAGE *Image, UINT32 Argb, UINT32 Modifier) {
  const UINT32 Brush = FakeOperation<HostTableUi, (UINT8)HostUiSlot::MakeBrush, HOST_MAKE_BRUSH>::Call(Image, Argb, Modifier);
  return (Input().ConsumeIntegral<UINT64>() << 32) | Brush;
}

struct StopAtUnlistedCall {
  [[noreturn]] static UINTN Called(UINT8 Table, UINT8 Slot) { Fail("call through a slot the lists do not name", Table, Slot); }
};

}  // namespace

FuzzHost::FuzzHost(const uint8_t *Data, size_t Size)
    : ImageTable(new THEME_IMAGE[kImageTableEntries]()), Input_(Data, Size), Ui_{}, Services_{},
      HostImages_(new THEME_IMAGE[kHostImageCount]()) {
  if (gActiveHost != nullptr) {
    abort();
  }
  gActiveHost = this;
  FillWithSlotTraps<StopAtUnlistedCall, HostTableUi, HOST_UI_TABLE_SLOT_COUNT>(Ui_.Slot);
  FillWithSlotTraps<StopAtUnlistedCall, HostTableServices, HOST_SERVICES_TABLE_SLOT_COUNT>(Services_.Slot);
#define HOST_UI_SLOT(Number, Name, Type) Ui_.Name = &FakeOperation<HostTableUi, Number, Type>::Call;
#include "host/HostUiSlots.def"
#undef HOST_UI_SLOT
#define HOST_SERVICES_SLOT(Number, Name, Type) Services_.Name = &FakeOperation<HostTableServices, Number, Type>::Call;
#include "host/HostServicesSlots.def"
#undef HOST_SERVICES_SLOT
  Ui_.MakeBrush = reinterpret_cast<HOST_MAKE_BRUSH>(reinterpret_cast<VOID *>(&MakeBrushWithJunkAbove32));
}

FuzzHost::~FuzzHost() {
  delete[] ImageTable;
  delete[] HostImages_;
  gActiveHost = nullptr;
}

FuzzHost &FuzzHost::Active() {
  if (gActiveHost == nullptr) {
    fprintf(stderr, "fuzz host: a host table was called with no host\n");
    abort();
  }
  return *gActiveHost;
}

void FuzzHost::AttachTo(THEME_PROVIDER_PROTOCOL *Record) {
  Record->ImageTable = ImageTable;
  Record->UiTable = &Ui_;
  Record->ServiceTable = &Services_;
}

void FuzzHost::Allow(std::initializer_list<HostUiSlot> Slots) {
  for (HostUiSlot Slot : Slots) {
    UiAllowed_[(UINT8)Slot] = true;
  }
}

void FuzzHost::Allow(std::initializer_list<HostServicesSlot> Slots) {
  for (HostServicesSlot Slot : Slots) {
    ServicesAllowed_[(UINT8)Slot] = true;
  }
}

void FuzzHost::Enter(UINT8 Table, UINT8 Slot) {
  const bool Allowed = Table == HostTableUi ? UiAllowed_[Slot] : ServicesAllowed_[Slot];
  if (!Allowed) {
    Fail("call outside the operations this target may reach", Table, Slot);
  }
  if (++Calls_ > CallLimit_) {
    Fail("more host calls than the target allows", Table, Slot);
  }
}

THEME_IMAGE *FuzzHost::AnyImage() {
  const size_t Choice = Input_.ConsumeIntegralInRange<size_t>(0, kHostImageCount);
  return Choice == kHostImageCount ? nullptr : &HostImages_[Choice];
}
