// The rest of a typical run: the lifecycle notifications, events while the
// theme is attached, styling of a few objects, and the checks over the run.
#include "tests/firmware/host/CallLog.h"
#include "tests/firmware/host/Checks.h"
#include "tests/firmware/host/Console.h"
#include "tests/firmware/host/EventHookChecks.h"
#include "tests/firmware/host/ExpectedFile.h"
#include "tests/firmware/host/ExpectedTheme.h"
#include "tests/firmware/host/HostImages.h"
#include "tests/firmware/host/HostTables.h"
#include "tests/firmware/host/MainScreenChecks.h"
#include "tests/firmware/host/PcdSubstitute.h"
#include "tests/firmware/host/Run.h"

namespace {

// The widths of the eight PCD reads, in read order; the tokens are those
// the driver was built with (ExpectedFile.h).
constexpr UINT8 kPcdReadWidths[EXPECTED_PCD_TOKEN_COUNT] = {
    PcdReadBool, PcdReadBool, PcdRead8, PcdRead32, PcdReadBool, PcdRead32, PcdRead32, PcdRead8,
};

// "AddEventHook x1, ThemeAttached x1" for the calls since Mark.
void DescribeCalls(UINTN Mark, char *Text, UINTN Capacity) {
  UINTN Length = 0;
  Text[0] = '\0';
  const UINTN Count = CallsSince(Mark);
  for (UINTN Index = 0; Index < Count && Length + 1 < Capacity; Index++) {
    const HOST_CALL *Call = CallAt(Mark, Index);
    if (Call == nullptr) {
      break;
    }
    BOOLEAN Seen = FALSE;
    for (UINTN Earlier = 0; Earlier < Index && !Seen; Earlier++) {
      const HOST_CALL *Other = CallAt(Mark, Earlier);
      Seen = Other->Table == Call->Table && Other->Slot == Call->Slot;
    }
    if (!Seen) {
      UINTN Times = 0;
      for (UINTN Later = Index; Later < Count; Later++) {
        const HOST_CALL *Other = CallAt(Mark, Later);
        Times += Other != nullptr && Other->Table == Call->Table && Other->Slot == Call->Slot ? 1 : 0;
      }
      Length += FormatTextTo(Text + Length, Capacity - Length, "%s%s x%llu", Length == 0 ? "" : ", ",
                             SlotName(Call->Table, Call->Slot), (UINT64)Times);
    }
  }
  if (Length == 0) {
    FormatTextTo(Text, Capacity, "none");
  }
}

void Notify(const THEME_PROVIDER_PROTOCOL *Record, UINT32 Type, const char *Meaning) {
  const UINTN Mark = CallMark();
  const EFI_STATUS Status = Record->Notify(Type);
  char Name[48];
  FormatTextTo(Name, sizeof(Name), "notify %u (%s)", Type, Meaning);
  CheckHex(Name, EFI_SUCCESS, Status);
  char Calls[256];
  DescribeCalls(Mark, Calls, sizeof(Calls));
  Info("notify %u made host calls: %s", Type, Calls);
}

void NotifyInvalid(const THEME_PROVIDER_PROTOCOL *Record, UINT32 Type) {
  const UINTN Mark = CallMark();
  const EFI_STATUS Status = Record->Notify(Type);
  char Name[40];
  FormatTextTo(Name, sizeof(Name), "notify 0x%X rejected", Type);
  if (Status == kInvalidParameter && CallsSince(Mark) == 0) {
    Check(TRUE, Name, "0x%llX, no host call", Status);
  } else {
    Check(FALSE, Name, "expected 0x%llX with no host call; got 0x%llX, %llu host call(s)", kInvalidParameter, Status,
          (UINT64)CallsSince(Mark));
  }
}

// Attaching registers the hook under the handle the host gives it and
// announces the record; detaching removes that handle and announces again.
void CheckAttachCalls(UINTN Mark) {
  char Expected[160];
  FormatTextTo(Expected, sizeof(Expected), "AddEventHook(ptr, 21, 0, ptr) -> %u\nThemeAttached(record) -> 0",
               HostState()->Hook.Handle);
  CheckCalls("notify 0 registers the hook, then announces", Mark, Expected);
}

void CheckDetachCalls(UINTN Mark, UINT16 Handle) {
  char Expected[160];
  FormatTextTo(Expected, sizeof(Expected), "RemoveEventHook(%u) -> 0\nThemeDetached(record) -> 0", Handle);
  CheckCalls("notify 3 removes the hook, then announces", Mark, Expected);
}

BOOLEAN SameText(const char *A, const char *B) {
  for (; *A != 0 && *A == *B; A++, B++) {
  }
  return *A == *B;
}

void CheckPcdReads() {
  const HOST_EXPECTATIONS *Expectations = HostExpectations();
  const UINTN Expected = Expectations->PcdReads ? EXPECTED_PCD_TOKEN_COUNT : 0;
  UINTN Matching = 0;
  for (UINTN Index = 0; Index < PcdReadCount() && Index < Expected; Index++) {
    const PCD_READ *Read = PcdReadAt(Index);
    if (Read != nullptr && Read->Token == Expectations->PcdTokens[Index] && Read->Width == kPcdReadWidths[Index]) {
      Matching++;
    } else {
      break;
    }
  }
  const BOOLEAN InOrder = PcdReadCount() == Expected && Matching == Expected;
  char Reads[200];
  UINTN Length = 0;
  Reads[0] = '\0';
  for (UINTN Index = 0; Index < PcdReadCount() && Index < 10; Index++) {
    const PCD_READ *Read = PcdReadAt(Index);
    Length += FormatTextTo(Reads + Length, sizeof(Reads) - Length, "%s%llu/%s", Index == 0 ? "" : " ",
                           (UINT64)Read->Token,
                           Read->Width == PcdReadBool ? "bool" : Read->Width == PcdRead8 ? "8" : Read->Width == PcdRead32 ? "32" : "other");
  }
  Info("PCD reads of the debug-setting tokens: %llu [%s]; other tokens: %llu", (UINT64)PcdReadCount(),
       Length == 0 ? "none" : Reads, (UINT64)PcdForeignReadCount());
  // The two presence look-ups, then the one that GetPcdProtocol keeps.
  const char *Lookups = Expectations->PcdReads ? "Pcd PiPcd Pcd" : "";
  Check(SameText(PcdLookupsSeen(), Lookups), "PCD protocols looked up while the driver started", "[%s], expected [%s]",
        PcdLookupsSeen(), Lookups);
  if (!Expectations->PcdReads) {
    Check(PcdReadCount() == 0, "no PCD read by a driver built without PCD tokens", "%llu reads",
          (UINT64)PcdReadCount());
  } else if (kDemandPcdReads) {
    char Name[120];
    UINTN At = FormatTextTo(Name, sizeof(Name), "PCD reads in order");
    for (UINTN Index = 0; Index < EXPECTED_PCD_TOKEN_COUNT; Index++) {
      At += FormatTextTo(Name + At, sizeof(Name) - At, "%s %u", Index == 0 ? "" : ",", Expectations->PcdTokens[Index]);
    }
    Check(InOrder, Name, "%llu reads, first %llu right", (UINT64)PcdReadCount(), (UINT64)Matching);
  } else {
    // Not demanded yet: none at all is accepted, but any reads must be the right ones.
    Check(PcdReadCount() == 0 || InOrder, "PCD reads (not demanded yet)", "%llu reads%s", (UINT64)PcdReadCount(),
          PcdReadCount() == 0 ? "" : InOrder ? ", in the expected order" : ", not in the expected order or widths");
  }
}

}  // namespace

void RunLifecycle(HOST_RUN *Run) {
  Step("lifecycle");
  const THEME_PROVIDER_PROTOCOL *Record = Run->Record;
  UINTN Mark = CallMark();
  Notify(Record, 0, "attach");
  CheckAttachCalls(Mark);
  CheckEventHook(Run);
  NotifyMainScreen(Record, 1);
  NotifyMainScreen(Record, 2);
  Notify(Record, 2, "no-op");
  const UINT16 Handle = HostState()->Hook.Handle;
  Mark = CallMark();
  Notify(Record, 3, "detach");
  CheckDetachCalls(Mark, Handle);
  NotifyInvalid(Record, 4);
  NotifyInvalid(Record, 0xFFFFFFFF);
  const HOST_STATE *State = HostState();
  Check(!State->Hook.Registered, "no event hook left registered after detaching", "%llu added, %llu removed",
        (UINT64)State->HooksAdded, (UINT64)State->HooksRemoved);
  Check(State->Attached == State->Detached, "attach and detach announcements balance", "%llu attached, %llu detached",
        (UINT64)State->Attached, (UINT64)State->Detached);
  CheckDec("reserved operation after the run", 0, Record->Reserved());
}

void FinishRun(HOST_RUN *Run) {
  Step("end of run");
  if (Run->InFlash) {
    Info("PCD look-ups and reads not watched: the driver made them when the DXE core dispatched it (a DEBUG "
         "PCD driver's ASSERT on them shows in the firmware's debug log)");
  } else {
    CheckPcdReads();
  }
  const HOST_CALL *Unlisted = FirstUnlistedCall();
  if (Unlisted == nullptr) {
    Check(TRUE, "no call through a slot the host tables do not name", "%llu host calls in all", (UINT64)CallMark());
  } else {
    Check(FALSE, "no call through a slot the host tables do not name", "%llu such call(s), first: %s slot %u",
          (UINT64)UnlistedCalls(), Unlisted->Table == kHostTableUi ? "UI" : "services", Unlisted->Slot);
  }
  CheckDec("draw contexts left open", 0, HostState()->DrawContextsOpen);
  Info("host images resolved: %llu to theme images, %llu to the host's own, %llu to none", (UINT64)ResolvedToTheme(),
       (UINT64)ResolvedToHost(), (UINT64)ResolvedToNothing());
  if (DroppedCalls() != 0) {
    Info("call log full: %llu calls counted but not kept", (UINT64)DroppedCalls());
  }
  if (!Run->InFlash) {
    const EFI_STATUS Status = RemovePcdSubstitute();
    Check(!EFI_ERROR(Status), "firmware PCD protocol restored", "status 0x%llX", Status);
  }
}
