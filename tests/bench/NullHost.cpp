#include "bench/NullHost.h"

#include <utility>

#include "hostcalls/HostCall.h"

NULL_HOST_ANSWERS gNullHostAnswers;
UINT64 gNullHostCalls;

namespace {

HOST_UI_TABLE mUi;
HOST_SERVICES_TABLE mServices;
THEME_IMAGE mImageTable[169];
THEME_IMAGE mHostImage;

template <typename Result>
Result Answer() {
  if constexpr (std::is_pointer_v<Result>) {
    return reinterpret_cast<Result>(&mHostImage);
  } else {
    return Result{};
  }
}

template <UINT8 Slot, typename Operation>
struct NullUi;
template <UINT8 Slot, typename Result, typename... Arguments>
struct NullUi<Slot, Result(EFIAPI *)(Arguments...)> {
  static Result EFIAPI Call(Arguments...) {
    gNullHostCalls++;
    if constexpr (Slot == (UINT8)HostUiSlot::GetObjectTag) {
      return gNullHostAnswers.ObjectTag;
    } else if constexpr (Slot == (UINT8)HostUiSlot::ObjectRequest) {
      return gNullHostAnswers.RequestResult;
    } else if constexpr (Slot == (UINT8)HostUiSlot::MakeBrush) {
      return 0x1001;
    } else {
      return Answer<Result>();
    }
  }
};

template <typename Operation>
struct NullServices;
template <typename Result, typename... Arguments>
struct NullServices<Result(EFIAPI *)(Arguments...)> {
  static Result EFIAPI Call(Arguments...) {
    gNullHostCalls++;
    return Answer<Result>();
  }
};

}  // namespace

void AttachNullHost(THEME_PROVIDER_PROTOCOL *Record) {
#define HOST_UI_SLOT(Number, Name, Type) mUi.Name = &NullUi<Number, Type>::Call;
#include "host/HostUiSlots.def"
#undef HOST_UI_SLOT
#define HOST_SERVICES_SLOT(Number, Name, Type) mServices.Name = &NullServices<Type>::Call;
#include "host/HostServicesSlots.def"
#undef HOST_SERVICES_SLOT
  Record->ImageTable = mImageTable;
  Record->UiTable = &mUi;
  Record->ServiceTable = &mServices;
}
