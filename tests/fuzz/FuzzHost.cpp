#include "fuzz/FuzzHost.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <utility>

#include "fakes/FakeHostTables.h"

namespace {

FuzzHost *gActiveHost = nullptr;
constexpr size_t kHostImageCount = 4;

[[noreturn]] void Fail(const char *What, UINT8 Table, UINT8 Slot) {
  const char *Name = HostSlotName(Table, Slot);
  fprintf(stderr, "fuzz host: %s: %s slot %u (%s)\n", What, Table == kHostTableUi ? "UI" : "services", Slot,
          Name != nullptr ? Name : "unlisted");
  abort();
}

// Reads each record the plug-in passes in whole (the records a host call
// decodes, and images), so that a pointer to too little memory is reported
// by the address sanitizer.
void ReadWhole(const VOID *Record, size_t Length) {
  if (Record != nullptr) {
    UINT8 Copy[HOST_CALL_RECORD_BYTES];
    memcpy(Copy, Record, Length);
    asm volatile("" : : "r"(Copy) : "memory");
  }
}
template <typename T>
void Touch(T Value) {
  const host_call::ARGUMENT Argument = host_call::Classify(Value);
  ReadWhole(Argument.Record, Argument.RecordBytes);
}
static_assert(sizeof(THEME_IMAGE) <= HOST_CALL_RECORD_BYTES);
void Touch(THEME_IMAGE *Image) { ReadWhole(Image, sizeof(*Image)); }

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

// The fuzz host's operations, wired by WireFakeHostTables.
struct Fuzzed {
  // Operations that write through an out-parameter or act on a buffer; every
  // other operation only answers from the input.
  static void Behave(UI_TAG(GetObjectArea), UINT64, VOID *Area) { WriteFromInput(Area, sizeof(OBJECT_AREA)); }
  static void Behave(UI_TAG(GetObjectRect), UINT64, HOST_RECT *Rect) { WriteFromInput(Rect, sizeof(HOST_RECT)); }
  static void Behave(UI_TAG(QueryObjectValue), UINT64, UINT32 *Value) { WriteFromInput(Value, sizeof(UINT32)); }
  static void Behave(UI_TAG(MeasureText), UINT64, CHAR16 *, VOID *Size) { WriteFromInput(Size, 8); }
  static void Behave(UI_TAG(AddEventHook), HOST_EVENT_HOOK, UINT32, UINT32, UINT16 *Handle) { WriteFromInput(Handle, sizeof(UINT16)); }
  static void Behave(SERVICES_TAG(ZeroBuffer), VOID *Buffer, UINTN Length) { memset(Buffer, 0, Length); }
  static void Behave(SERVICES_TAG(CopyBuffer), VOID *Destination, const VOID *Source, UINTN Length) { memmove(Destination, Source, Length); }

  template <UINT8 Table, UINT8 Slot, typename Result, typename... Arguments>
  static Result Operate(Arguments... Values) {
    FuzzHost::Active().Enter(Table, Slot);
    (Touch(Values), ...);
    BehaveAt<Fuzzed, Table, Slot, Result>(Values...);
    return Answer<Result>();
  }

  // MakeBrush's slot returns UINT32 in RAX; the bits above 31 are junk, as a
  // real host may leave them.
  static UINT64 JunkAbove32() { return Input().ConsumeIntegral<UINT64>() << 32; }

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
  WireFakeHostTables<Fuzzed>(&Ui_, &Services_);
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
  const bool Allowed = Table == kHostTableUi ? UiAllowed_[Slot] : ServicesAllowed_[Slot];
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
