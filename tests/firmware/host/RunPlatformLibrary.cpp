// The driver's platform library in real firmware: a HOB list of the host's
// own with heap HOBs in place while the driver loads (or, for a driver the
// firmware dispatched from flash, the platform's own HOB list), the
// heap-record list the driver built from it and published, and the run in
// which publishing fails under HaltOnError 1 so that the fatal-code display
// takes over.
#include "tests/firmware/host/Checks.h"
#include "tests/firmware/host/Console.h"
#include "tests/firmware/host/HostFirmware.h"
#include "tests/firmware/host/Run.h"
#include "tests/firmware/host/ShippingWays.h"

namespace {

// The platform's heap-record list and the heap HOBs its records come from,
// as the host knows them.
const EFI_GUID kHobListGuid = HOST_HOB_LIST_GUID;
// {D97D161A-16CD-4ADA-B9F6-AEC3F9FCCC2C}: the name of a heap HOB.
const EFI_GUID kHeapHobGuid = {0xD97D161A, 0x16CD, 0x4ADA, {0xB9, 0xF6, 0xAE, 0xC3, 0xF9, 0xFC, 0xCC, 0x2C}};
// {AF62673D-DEDA-43AE-8F03-9C2D89FD78DA}
const EFI_GUID kHeapRecordListGuid = {0xAF62673D, 0xDEDA, 0x43AE, {0x8F, 0x03, 0x9C, 0x2D, 0x89, 0xFD, 0x78, 0xDA}};
constexpr UINT32 kHeapSignature = 0x50414548;  // "HEAP"
constexpr UINT8 kRuntimePoolKind = 8;          // any other kind: boot-services data

// A heap HOB's data: this descriptor, then Size payload bytes.
typedef struct {
  UINT32 Signature;
  UINT32 Opaque1;  // copied, never read
  UINT32 Size;
  UINT8 PoolKind;
  UINT8 Active;    // only 1 is taken
  UINT8 Opaque2[2];
} HOST_HEAP_DESCRIPTOR;
static_assert(sizeof(HOST_HEAP_DESCRIPTOR) == 16);
static_assert(offsetof(HOST_HEAP_DESCRIPTOR, Size) == 8);
static_assert(offsetof(HOST_HEAP_DESCRIPTOR, PoolKind) == 12);
static_assert(offsetof(HOST_HEAP_DESCRIPTOR, Active) == 13);

typedef struct {
  HOST_HOB_GUID_TYPE Header;
  HOST_HEAP_DESCRIPTOR Descriptor;
} HOST_HEAP_HOB;
static_assert(sizeof(HOST_HEAP_HOB) == 40);
static_assert(offsetof(HOST_HEAP_HOB, Descriptor) == 24);

typedef struct HOST_LIST_LINK {
  struct HOST_LIST_LINK *ForwardLink;
  struct HOST_LIST_LINK *BackLink;
} HOST_LIST_LINK;
static_assert(sizeof(HOST_LIST_LINK) == 16);
static_assert(offsetof(HOST_LIST_LINK, BackLink) == 8);

// One record of the list: its link, a copy of the descriptor, then a copy
// of the payload.
typedef struct {
  HOST_LIST_LINK Link;
  HOST_HEAP_DESCRIPTOR Descriptor;
} HOST_HEAP_RECORD;
static_assert(sizeof(HOST_HEAP_RECORD) == 32);
static_assert(offsetof(HOST_HEAP_RECORD, Descriptor) == 16);

// The published list: a header word, then the list head.
typedef struct {
  UINT64 Header;
  HOST_LIST_LINK Head;
} HOST_HEAP_RECORD_LIST;
static_assert(sizeof(HOST_HEAP_RECORD_LIST) == 24);
static_assert(offsetof(HOST_HEAP_RECORD_LIST, Head) == 8);

// The heap HOBs the host adds, in list order. The driver takes the active
// ones with the right signature, whatever their pool kind.
typedef struct {
  HOST_HEAP_DESCRIPTOR Descriptor;
  UINT8 Payload[8];
  BOOLEAN Taken;
} HEAP_HOB_SOURCE;

constexpr HEAP_HOB_SOURCE kHeapHobs[] = {
    {{kHeapSignature, 0xA1A2A3A4, 8, 8, 1, {0xB1, 0xB2}}, {'R', 'U', 'N', 'T', 'I', 'M', 'E', '8'}, TRUE},
    {{kHeapSignature, 0xC1C2C3C4, 4, 7, 0, {0xD1, 0xD2}}, {'I', 'D', 'L', 'E'}, FALSE},
    {{kHeapSignature + 1, 0xC5C6C7C8, 4, 7, 1, {0xD5, 0xD6}}, {'F', 'O', 'R', 'N'}, FALSE},
    {{kHeapSignature, 0xE1E2E3E4, 5, 7, 1, {0xF1, 0xF2}}, {'B', 'O', 'O', 'T', '7'}, TRUE},
    {{kHeapSignature, 0x01020304, 0, 9, 1, {0x05, 0x06}}, {}, TRUE},
};
constexpr UINTN kHeapHobCount = sizeof(kHeapHobs) / sizeof(kHeapHobs[0]);
constexpr UINTN kHeapHobLength = sizeof(HOST_HEAP_HOB) + 8;  // payloads padded to 8 bytes

constinit VOID *mFirmwareHobList = nullptr;
constinit BOOLEAN mOwnHobListInstalled = FALSE;

constinit EFI_INSTALL_PROTOCOL_INTERFACE mFirmwareInstall = nullptr;
constinit UINTN mRefusedInstalls = 0;

// Bytes before the end-of-list HOB (or before a block too short to go on).
UINTN HobListLength(const VOID *List) {
  const auto *Start = static_cast<const UINT8 *>(List);
  const UINT8 *At = Start;
  for (;;) {
    const auto *Header = reinterpret_cast<const HOST_HOB_GENERIC_HEADER *>(At);
    if (Header->HobType == HOST_HOB_TYPE_END_OF_HOB_LIST || Header->HobLength < sizeof(HOST_HOB_GENERIC_HEADER)) {
      return (UINTN)(At - Start);
    }
    At += Header->HobLength;
  }
}

void AppendHeapHob(UINT8 *At, const HEAP_HOB_SOURCE &Source) {
  HOST_HEAP_HOB Hob = {};
  Hob.Header.Header = {HOST_HOB_TYPE_GUID_EXTENSION, (UINT16)kHeapHobLength, 0};
  Hob.Header.Name = kHeapHobGuid;
  Hob.Descriptor = Source.Descriptor;
  ZeroBytes(At, kHeapHobLength);
  CopyBytes(At, &Hob, sizeof(Hob));
  CopyBytes(At + sizeof(Hob), Source.Payload, Source.Descriptor.Size);
}

// The firmware's memory map, as far as the pool check needs it.
typedef struct {
  UINT32 Type;
  UINT32 Padding;
  EFI_PHYSICAL_ADDRESS PhysicalStart;
  UINT64 VirtualStart;
  UINT64 NumberOfPages;
  UINT64 Attribute;
} HOST_MEMORY_DESCRIPTOR;
static_assert(sizeof(HOST_MEMORY_DESCRIPTOR) == 40);
static_assert(offsetof(HOST_MEMORY_DESCRIPTOR, PhysicalStart) == 8);
static_assert(offsetof(HOST_MEMORY_DESCRIPTOR, NumberOfPages) == 24);
typedef EFI_STATUS(EFIAPI *HOST_GET_MEMORY_MAP)(UINTN *MapSize, VOID *Map, UINTN *MapKey, UINTN *DescriptorSize,
                                               UINT32 *DescriptorVersion);
constexpr UINT32 kUnmapped = 0xFFFFFFFF;

// The memory type of the range that holds Address, or kUnmapped.
UINT32 MemoryTypeAt(const VOID *Address) {
  auto GetMemoryMap = reinterpret_cast<HOST_GET_MEMORY_MAP>(gHostBootServices->GetMemoryMap);
  UINTN Size = 0, Key = 0, DescriptorSize = 0;
  UINT32 Version = 0;
  GetMemoryMap(&Size, nullptr, &Key, &DescriptorSize, &Version);
  Size += 8 * 64;  // the allocation below may split a range
  auto *Map = static_cast<UINT8 *>(AllocateHostPool(Size));
  UINT32 Type = kUnmapped;
  if (Map != nullptr && !EFI_ERROR(GetMemoryMap(&Size, Map, &Key, &DescriptorSize, &Version)) &&
      DescriptorSize >= sizeof(HOST_MEMORY_DESCRIPTOR)) {
    const UINT64 At = reinterpret_cast<UINT64>(Address);
    for (UINTN Offset = 0; Offset + DescriptorSize <= Size; Offset += DescriptorSize) {
      const auto *Range = reinterpret_cast<const HOST_MEMORY_DESCRIPTOR *>(Map + Offset);
      if (At >= Range->PhysicalStart && At - Range->PhysicalStart < Range->NumberOfPages * 4096) {
        Type = Range->Type;
      }
    }
  }
  if (Map != nullptr) {
    gHostBootServices->FreePool(Map);
  }
  return Type;
}

// Pool kind 8 is runtime-services data; every other kind boot-services data.
UINT32 ExpectedMemoryType(const HOST_HEAP_DESCRIPTOR &Descriptor) {
  return Descriptor.PoolKind == kRuntimePoolKind ? EfiRuntimeServicesData : EfiBootServicesData;
}

// A heap HOB the driver is to take, in HOB order: its descriptor, then its
// payload.
typedef struct {
  const HOST_HEAP_DESCRIPTOR *Descriptor;
  const UINT8 *Payload;
} EXPECTED_RECORD;
constexpr UINTN kExpectedRecordCapacity = 16;
static_assert(kHeapHobCount <= kExpectedRecordCapacity);

// The record matches its HOB: descriptor bytes and payload.
BOOLEAN RecordMatches(const HOST_HEAP_RECORD *Record, const EXPECTED_RECORD &Hob) {
  return SameBytes(&Record->Descriptor, Hob.Descriptor, sizeof(HOST_HEAP_DESCRIPTOR)) &&
         SameBytes(Record + 1, Hob.Payload, Hob.Descriptor->Size);
}

// An earlier load of the driver (by the boot manager) published the list
// before the host's heap HOBs existed; the host's load joins that list.
BOOLEAN JoinsEarlierList(const HOST_RUN *Run) { return Run->PriorDriverRecord != nullptr; }

// The heap HOBs the host added that the driver takes; none when the list
// was published before they existed.
UINTN HostHeapHobs(const HOST_RUN *Run, EXPECTED_RECORD *Records) {
  UINTN Count = 0;
  for (const HEAP_HOB_SOURCE &Hob : kHeapHobs) {
    if (Hob.Taken && !JoinsEarlierList(Run)) {
      Records[Count++] = EXPECTED_RECORD{&Hob.Descriptor, Hob.Payload};
    }
  }
  return Count;
}

// The platform's own heap HOBs that the driver takes: the active ones with
// the heap signature. *All counts every heap HOB found.
UINTN PlatformHeapHobs(EXPECTED_RECORD *Records, UINTN *All) {
  const auto *At = static_cast<const UINT8 *>(FindConfigurationTable(&kHobListGuid));
  const UINT8 *End = At != nullptr ? At + HobListLength(At) : nullptr;
  UINTN Count = 0;
  *All = 0;
  for (; At != End; At += reinterpret_cast<const HOST_HOB_GENERIC_HEADER *>(At)->HobLength) {
    const auto *Hob = reinterpret_cast<const HOST_HEAP_HOB *>(At);
    if (Hob->Header.Header.HobType != HOST_HOB_TYPE_GUID_EXTENSION || !GuidEquals(&Hob->Header.Name, &kHeapHobGuid) ||
        Hob->Header.Header.HobLength < sizeof(HOST_HEAP_HOB)) {
      continue;
    }
    ++*All;
    if (Hob->Descriptor.Signature == kHeapSignature && Hob->Descriptor.Active == 1 && Count < kExpectedRecordCapacity) {
      Records[Count++] = EXPECTED_RECORD{&Hob->Descriptor, At + sizeof(HOST_HEAP_HOB)};
    }
  }
  return Count;
}

void CheckRecords(const HOST_RUN *Run, HOST_HEAP_RECORD_LIST *List) {
  UINTN Count = 0;
  UINTN Matching = 0;
  BOOLEAN LinksHold = TRUE;
  BOOLEAN OutsideImage = TRUE;
  UINTN RightPool = 0;
  EXPECTED_RECORD Hobs[kExpectedRecordCapacity];
  UINTN Expected = 0;
  if (Run->InFlash) {
    UINTN All = 0;
    Expected = PlatformHeapHobs(Hobs, &All);
    Info("the platform's HOB list: %llu heap HOB(s), %llu of them active with the heap signature", (UINT64)All,
         (UINT64)Expected);
  } else {
    Expected = HostHeapHobs(Run, Hobs);
  }
  for (HOST_LIST_LINK *Link = List->Head.ForwardLink; Link != &List->Head && Count < 16; Link = Link->ForwardLink) {
    const auto *Record = reinterpret_cast<const HOST_HEAP_RECORD *>(Link);
    Matching += Count < Expected && RecordMatches(Record, Hobs[Count]) ? 1 : 0;
    LinksHold = LinksHold && Link->ForwardLink->BackLink == Link;
    OutsideImage = OutsideImage && !InsideDriverImage(Run, Record);
    RightPool += MemoryTypeAt(Record) == ExpectedMemoryType(Record->Descriptor) ? 1 : 0;
    Count++;
  }
  LinksHold = LinksHold && List->Head.BackLink->ForwardLink == &List->Head;
  Check(Count == Expected && Matching == Expected, "heap records built from the active heap HOBs, in HOB order",
        "%llu records, %llu matching descriptor and payload (expected %llu)", (UINT64)Count, (UINT64)Matching,
        (UINT64)Expected);
  Check(LinksHold, "heap-record list links both ways", "%s", LinksHold ? "forward and back links agree" : "broken");
  Check(OutsideImage, "heap records lie in pool memory", "%s", OutsideImage ? "outside the driver image" : "inside it");
  Check(RightPool == Count, "heap records in the pool of their kind", "%llu of %llu (kind 8 runtime-services data, "
        "others boot-services data)", (UINT64)RightPool, (UINT64)Count);
}

EFI_STATUS EFIAPI RefuseHeapRecordList(EFI_HANDLE *Handle, const EFI_GUID *Protocol, EFI_INTERFACE_TYPE Type,
                                      VOID *Interface) {
  if (GuidEquals(Protocol, &kHeapRecordListGuid)) {
    mRefusedInstalls++;
    return EFI_OUT_OF_RESOURCES;
  }
  return mFirmwareInstall(Handle, Protocol, Type, Interface);
}

}  // namespace

void InstallHeapHobList(HOST_RUN *Run) {
  Step("HOB list");
  if (Run->InFlash) {
    Info("the platform's own HOB list left in place: the driver read it when the DXE core dispatched it");
    return;
  }
  mFirmwareHobList = FindConfigurationTable(&kHobListGuid);
  const UINTN Kept = mFirmwareHobList != nullptr ? HobListLength(mFirmwareHobList) : 0;
  const UINTN Size = Kept + kHeapHobCount * kHeapHobLength + sizeof(HOST_HOB_GENERIC_HEADER);
  auto *List = static_cast<UINT8 *>(AllocateHostPool(Size));
  if (!Check(List != nullptr, "HOB list with heap HOBs built", "%llu bytes", (UINT64)Size)) {
    return;
  }
  if (Kept != 0) {
    CopyBytes(List, mFirmwareHobList, Kept);
  }
  for (UINTN Index = 0; Index < kHeapHobCount; Index++) {
    AppendHeapHob(List + Kept + Index * kHeapHobLength, kHeapHobs[Index]);
  }
  const HOST_HOB_GENERIC_HEADER End = {HOST_HOB_TYPE_END_OF_HOB_LIST, sizeof(HOST_HOB_GENERIC_HEADER), 0};
  CopyBytes(List + Size - sizeof(End), &End, sizeof(End));
  const EFI_STATUS Status = gHostBootServices->InstallConfigurationTable(&kHobListGuid, List);
  mOwnHobListInstalled = !EFI_ERROR(Status);
  Check(mOwnHobListInstalled, "HOB list with heap HOBs installed in the configuration table",
        "%llu bytes of the firmware's HOBs, then %llu heap HOBs (status 0x%llX)", (UINT64)Kept,
        (UINT64)kHeapHobCount, Status);
}

void CheckHeapRecordList(HOST_RUN *Run) {
  Step("heap-record list");
  UINTN Count = 0;
  EFI_HANDLE *Handles = nullptr;
  EFI_STATUS Status = gHostBootServices->LocateHandleBuffer(ByProtocol, &kHeapRecordListGuid, nullptr, &Count, &Handles);
  Check(!EFI_ERROR(Status) && Count == 1, "heap-record list published once", "%llu handle(s), status 0x%llX",
        (UINT64)Count, Status);
  if (!EFI_ERROR(Status) && Count >= 1) {
    Check(Handles[0] != Run->Load.ImageHandle, "heap-record list on a handle of its own", "%s",
          Handles[0] != Run->Load.ImageHandle ? "not the image handle" : "on the image handle");
    VOID *Interface = nullptr;
    Status = gHostBootServices->HandleProtocol(Handles[0], &kHeapRecordListGuid, &Interface);
    auto *List = static_cast<HOST_HEAP_RECORD_LIST *>(Interface);
    if (Check(!EFI_ERROR(Status) && List != nullptr, "heap-record list interface", "status 0x%llX", Status)) {
      CheckHex("heap-record list header", 1, List->Header);
      Check(JoinsEarlierList(Run) ? InsideImageOf(Run->PriorDriverRecord->ImageHandle, List)
                                  : InsideDriverImage(Run, List),
            JoinsEarlierList(Run) ? "heap-record list lies in the earlier load's static data"
                                  : "heap-record list lies in the driver's static data",
            "at 0x%llX",
            reinterpret_cast<UINT64>(List));
      CheckRecords(Run, List);
    }
  }
  if (Handles != nullptr) {
    gHostBootServices->FreePool(Handles);
  }
  if (mOwnHobListInstalled) {
    Status = gHostBootServices->InstallConfigurationTable(&kHobListGuid, mFirmwareHobList);
    Check(!EFI_ERROR(Status), "firmware's HOB list put back", "%s (status 0x%llX)",
          mFirmwareHobList != nullptr ? "its own entry again" : "the host's entry removed", Status);
  }
}

void RunIntoFatalDisplay(HOST_RUN *Run) {
  Step("fatal-code display");
  Info("the firmware refuses the heap-record list; with HaltOnError 1 the driver shows code 0x00080225 and halts");
  mFirmwareInstall = gHostBootServices->InstallProtocolInterface;
  gHostBootServices->InstallProtocolInterface = RefuseHeapRecordList;
  LoadAndStartDriver(Run);
  gHostBootServices->InstallProtocolInterface = mFirmwareInstall;
  Check(FALSE, "driver halts at the fatal code", "driver start returned after %llu refused install(s)",
        (UINT64)mRefusedInstalls);
}
