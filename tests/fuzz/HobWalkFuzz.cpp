// Library set-up on any HOB list: the walk, the records and the publication.
// The input is the list; an end-of-list area follows it, so every chain of
// block lengths ends inside the buffer, and the sanitizers catch any read
// outside it. The first input byte chooses the PCD protocols (and so
// HaltOnError), the joined list, and which allocations fail.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

#include "fakes/SimulatedMachine.h"
#include "fuzz/FreshState.h"
#include "platform/DebugSettings.h"
#include "platform/FirmwareTables.h"
#include "platform/HeapRecords.h"
#include "platform/PlatformLibrary.h"

namespace {

struct World {
  UINT8 Flags = 0;
  UINT32 Allocations = 0;
  std::set<VOID *> Pool;
  PCD_PROTOCOL Pcd{};
  HEAP_RECORD_LIST_PROTOCOL Joined{};
};
World *gWorld;

EFI_STATUS EFIAPI FuzzLocateProtocol(const EFI_GUID *Protocol, VOID *, VOID **Interface) {
  const bool Pcds = (gWorld->Flags & 1) != 0;
  if (Pcds && (GuidEquals(Protocol, &gPcdProtocolGuid) || GuidEquals(Protocol, &gEfiPcdProtocolGuid))) {
    *Interface = &gWorld->Pcd;
    return EFI_SUCCESS;
  }
  if ((gWorld->Flags & 2) != 0 && GuidEquals(Protocol, &gHeapRecordListProtocolGuid)) {
    *Interface = &gWorld->Joined;
    return EFI_SUCCESS;
  }
  return EFI_NOT_FOUND;
}

// Bits 2..7 of the flags fail the first six allocations one by one.
EFI_STATUS EFIAPI FuzzAllocatePool(EFI_MEMORY_TYPE, UINTN Size, VOID **Buffer) {
  const UINT32 Index = gWorld->Allocations++;
  if (Index < 6 && (gWorld->Flags >> (2 + Index) & 1) != 0) {
    return EFI_OUT_OF_RESOURCES;
  }
  *Buffer = malloc(Size);
  gWorld->Pool.insert(*Buffer);
  return EFI_SUCCESS;
}

EFI_STATUS EFIAPI FuzzInstallProtocolInterface(EFI_HANDLE *Handle, const EFI_GUID *, EFI_INTERFACE_TYPE, VOID *) {
  static UINT8 NewHandle;
  *Handle = &NewHandle;
  return EFI_SUCCESS;
}

UINT8 EFIAPI PcdZero8(UINTN) { return 0; }
UINT32 EFIAPI PcdZero32(UINTN) { return 0; }
BOOLEAN EFIAPI PcdFalse(UINTN) { return FALSE; }

void Check(bool Holds, const char *What) {
  if (!Holds) {
    fprintf(stderr, "HOB walk: %s\n", What);
    abort();
  }
}

// Every record in the list is one that set-up allocated, each once.
void CheckList(const World &State) {
  std::set<const VOID *> Seen;
  for (LIST_ENTRY *Link = gHeapRecordListHead->ForwardLink; Link != gHeapRecordListHead; Link = Link->ForwardLink) {
    Check(State.Pool.count(Link) == 1, "a record that was not allocated");
    Check(Seen.insert(Link).second, "a record linked twice");
    Check(Link->ForwardLink->BackLink == Link, "broken back link");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size) {
  if (Size < 1) {
    return 0;
  }
  static SimulatedMachine *Machine = new SimulatedMachine;
  RestoreFreshDriverState();
  Machine->ClearObservations();
  Machine->ProbeSi = 1;

  World State;
  gWorld = &State;
  State.Flags = Data[0];
  State.Pcd.Get8 = PcdZero8;
  State.Pcd.Get32 = PcdZero32;
  State.Pcd.GetBool = PcdFalse;
  State.Joined = {1, {&State.Joined.Head, &State.Joined.Head}};

  // The list, then an end-of-list area longer than any block can jump.
  constexpr size_t kEndArea = 0x10000 + sizeof(EFI_HOB_GENERIC_HEADER);
  std::vector<UINT64> List((Size - 1 + kEndArea + 7) / 8);
  memset(List.data(), 0xFF, List.size() * 8);
  memcpy(List.data(), Data + 1, Size - 1);

  EFI_BOOT_SERVICES Boot{};
  Boot.LocateProtocol = FuzzLocateProtocol;
  Boot.AllocatePool = FuzzAllocatePool;
  Boot.InstallProtocolInterface = FuzzInstallProtocolInterface;
  EFI_CONFIGURATION_TABLE Configuration = {gEfiHobListGuid, List.data()};
  EFI_RUNTIME_SERVICES Runtime{};
  EFI_SYSTEM_TABLE System{};
  System.BootServices = &Boot;
  System.RuntimeServices = &Runtime;
  System.NumberOfTableEntries = 1;
  System.ConfigurationTable = &Configuration;

  InitializePlatformLibrary(nullptr, &System);

  CheckList(State);
  for (VOID *Buffer : State.Pool) {
    free(Buffer);
  }
  return 0;
}
