// Host tables wired from the slot lists. Every slot first gets a trap that
// logs the call as one the lists do not name; each listed slot is then set
// to a logging wrapper around the host's own operation of the same name.
// A call through a trap means the plug-in used a wrong offset.
#pragma once

#include "host/HostSlotTraps.h"
#include "tests/firmware/host/CallLog.h"

struct LogUnlistedSlotCall {
  static UINTN Called(UINT8 Table, UINT8 Slot) {
    LogUnlistedCall(Table, Slot);
    return 0;
  }
};

// The host's operation for one slot, called by the convention of the table,
// with the call logged: arguments and records as they arrive, then the result.
template <UINT8 Table, UINT8 Slot, typename Operation>
struct LoggedSlot;
template <UINT8 Table, UINT8 Slot, typename Result, typename... Arguments>
struct LoggedSlot<Table, Slot, Result(EFIAPI *)(Arguments...)> {
  template <Result (*Serve)(Arguments...)>
  static Result EFIAPI Call(Arguments... Values) {
    HOST_CALL Call;
    CaptureHostCall(&Call, Table, Slot, Values...);
    const Result Answer = Serve(Values...);
    CaptureHostResult(&Call, Answer);
    LogHostCall(Call);
    return Answer;
  }
};
