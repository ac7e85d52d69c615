// The rest of a typical run: the lifecycle notifications, events while the
// theme is attached, styling of a few objects, and the checks over the run.
#include "tests/firmware/host/CallLog.h"
#include "tests/firmware/host/Checks.h"
#include "tests/firmware/host/Console.h"
#include "tests/firmware/host/ExpectedTheme.h"
#include "tests/firmware/host/HostImages.h"
#include "tests/firmware/host/HostTables.h"
#include "tests/firmware/host/PcdSubstitute.h"
#include "tests/firmware/host/Run.h"

namespace {

constexpr UINT64 HookNotHandled = 0x7FFFFFFFFFFFFFE0ULL;
constexpr UINT64 UnhandledEventCode = 513;

constexpr EXPECTED_PCD_READ kPcdReads[] = {
    {1055, PcdReadBool}, {1427, PcdReadBool}, {1346, PcdRead8},    {1430, PcdRead32},
    {1428, PcdReadBool}, {1355, PcdRead32},   {1354, PcdRead32},   {1429, PcdRead8},
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

// While attached, an event the theme does not handle must come back
// unhandled and untouched. Runs only once the theme registers a hook.
void DispatchUnhandledEvent() {
  const HOST_STATE *State = HostState();
  if (!State->Hook.Registered) {
    Info("event hook: none registered after notify 0; no events dispatched");
    return;
  }
  Info("event hook: registered with group %u, flags %u, handle 0x%X", State->Hook.Group, State->Hook.Flags,
       State->Hook.Handle);
  HOST_EVENT Event = {};
  Event.Target = CreateHostObject(2, 0, 0, 0);
  Event.Code = UnhandledEventCode;
  Event.Result = 0x5A5A5A5A5A5A5A5AULL;
  const UINTN Mark = CallMark();
  const UINT64 Result = State->Hook.Hook(&Event);
  Check(Result == HookNotHandled && Event.Result == 0x5A5A5A5A5A5A5A5AULL && CallsSince(Mark) == 0,
        "event 513 passed back unhandled", "result 0x%llX, record result 0x%llX, %llu host call(s)", Result,
        Event.Result, (UINT64)CallsSince(Mark));
}

void ReportTrimmedEntries() {
  const THEME_IMAGE *Table = ImageTable();
  if (Table == nullptr) {
    return;
  }
  Info("image table after notify 1: 27 %ux%u, 28 %ux%u, 29 %ux%u, 30 %ux%u, 34 %ux%u", Table[27].Width,
       Table[27].Height, Table[28].Width, Table[28].Height, Table[29].Width, Table[29].Height, Table[30].Width,
       Table[30].Height, Table[34].Width, Table[34].Height);
}

void CheckPcdReads() {
  const UINTN Expected = sizeof(kPcdReads) / sizeof(kPcdReads[0]);
  UINTN Matching = 0;
  for (UINTN Index = 0; Index < PcdReadCount() && Index < Expected; Index++) {
    const PCD_READ *Read = PcdReadAt(Index);
    if (Read != nullptr && Read->Token == kPcdReads[Index].Token && Read->Width == kPcdReads[Index].Width) {
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
  if (kDemandPcdReads) {
    Check(InOrder, "PCD reads in order 1055, 1427, 1346, 1430, 1428, 1355, 1354, 1429", "%llu reads, first %llu right",
          (UINT64)PcdReadCount(), (UINT64)Matching);
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
  Notify(Record, 0, "attach");
  DispatchUnhandledEvent();
  Notify(Record, 1, "main screen");
  ReportTrimmedEntries();
  Notify(Record, 2, "no-op");
  Notify(Record, 3, "detach");
  NotifyInvalid(Record, 4);
  NotifyInvalid(Record, 0xFFFFFFFF);
  const HOST_STATE *State = HostState();
  Check(!State->Hook.Registered, "no event hook left registered after detaching", "%llu added, %llu removed",
        (UINT64)State->HooksAdded, (UINT64)State->HooksRemoved);
  Check(State->Attached == State->Detached, "attach and detach announcements balance", "%llu attached, %llu detached",
        (UINT64)State->Attached, (UINT64)State->Detached);
  CheckDec("reserved operation after the run", 0, Record->Reserved());
}

void StyleObjects(HOST_RUN *Run) {
  Step("styling");
  const THEME_PROVIDER_PROTOCOL *Record = Run->Record;
  const UINT64 Parent = CreateHostObject(1, 0, 0x39000000, 0);
  for (const EXPECTED_STYLED_OBJECT &Object : kStyledObjects) {
    const UINT64 Handle = CreateHostObject(Object.Class, Object.PartCode, Object.ObjectId, Parent);
    const UINTN Mark = CallMark();
    const UINTN Result = Record->StyleObject(Handle, Object.Class, Object.PartCode, Object.ObjectId);
    char Name[96];
    FormatTextTo(Name, sizeof(Name), "style %s (class %u, part 0x%X, id 0x%X)", Object.Label, Object.Class,
                 Object.PartCode, Object.ObjectId);
    char Calls[256];
    DescribeCalls(Mark, Calls, sizeof(Calls));
    Check(Result == 0, Name, "returned %llu; host calls: %s", (UINT64)Result, Calls);
  }
}

void FinishRun(HOST_RUN *Run) {
  (void)Run;
  Step("end of run");
  CheckPcdReads();
  const HOST_CALL *Unlisted = FirstUnlistedCall();
  if (Unlisted == nullptr) {
    Check(TRUE, "no call through a slot the host tables do not name", "%llu host calls in all", (UINT64)CallMark());
  } else {
    Check(FALSE, "no call through a slot the host tables do not name", "%llu such call(s), first: %s slot %u",
          (UINT64)UnlistedCalls(), Unlisted->Table == HostTableUi ? "UI" : "services", Unlisted->Slot);
  }
  CheckDec("draw contexts left open", 0, HostState()->DrawContextsOpen);
  Info("host images resolved: %llu to theme images, %llu to the host's own, %llu to none", (UINT64)ResolvedToTheme(),
       (UINT64)ResolvedToHost(), (UINT64)ResolvedToNothing());
  if (DroppedCalls() != 0) {
    Info("call log full: %llu calls counted but not kept", (UINT64)DroppedCalls());
  }
  const EFI_STATUS Status = RemovePcdSubstitute();
  Check(!EFI_ERROR(Status), "firmware PCD protocol restored", "status 0x%llX", Status);
}
