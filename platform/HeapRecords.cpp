// The heap-record list: the HOB walk, the records, and joining or
// publishing the list.
#include "platform/HeapRecords.h"

#include "platform/Cpu.h"
#include "platform/DebugSettings.h"
#include "platform/DriverState.h"
#include "platform/FirmwareTables.h"

DRIVER_STATE constinit VOID *gHobList = nullptr;
DRIVER_STATE constinit LIST_ENTRY *gHeapRecordListHead = nullptr;
DRIVER_STATE constinit HEAP_RECORD_LIST_PROTOCOL mHeapRecordList = {1, {nullptr, nullptr}};

constinit const EFI_GUID gEfiHobListGuid = EFI_HOB_LIST_GUID;
constinit const EFI_GUID gHeapRecordListProtocolGuid = HEAP_RECORD_LIST_PROTOCOL_GUID;
constinit const EFI_GUID gHeapRecordHobGuid = HEAP_RECORD_HOB_GUID;

EFI_STATUS LocateHobList() {
  gHobList = nullptr;
  const EFI_CONFIGURATION_TABLE *Table = gLibSystemTable->ConfigurationTable;
  for (UINTN Index = 0; Index < gLibSystemTable->NumberOfTableEntries; Index++) {
    if (GuidEquals(&Table[Index].VendorGuid, &gEfiHobListGuid)) {
      gHobList = Table[Index].VendorTable;
      return EFI_SUCCESS;
    }
  }
  return EFI_NOT_FOUND;
}

namespace {

// Blocks are 8-byte aligned and at least a header long. A length that breaks
// this would stall the walk (zero) or lead it into the middle of a block, so
// the list is taken to end there.
BOOLEAN WalkCanContinue(const EFI_HOB_GENERIC_HEADER *Header) {
  return Header->HobLength >= sizeof(EFI_HOB_GENERIC_HEADER) && Header->HobLength % 8 == 0;
}

// The first heap HOB at or after Hob; null at the end of the list, or at a
// block whose length is shorter than its header or not a multiple of 8 (the
// walk could not go on from there).
VOID *NextHeapHob(VOID *Hob) {
  auto *Header = static_cast<EFI_HOB_GENERIC_HEADER *>(Hob);
  while (Header->HobType != EFI_HOB_TYPE_END_OF_HOB_LIST && WalkCanContinue(Header)) {
    const auto *Guided = reinterpret_cast<const EFI_HOB_GUID_TYPE *>(Header);
    if (Header->HobType == EFI_HOB_TYPE_GUID_EXTENSION && Header->HobLength >= sizeof(EFI_HOB_GUID_TYPE) &&
        GuidEquals(&Guided->Name, &gHeapRecordHobGuid)) {
      return Header;
    }
    Header = reinterpret_cast<EFI_HOB_GENERIC_HEADER *>(reinterpret_cast<UINT8 *>(Header) + Header->HobLength);
  }
  return nullptr;
}

// Pool memory from the library's boot services, or null on any error.
VOID *AllocatePoolOfType(EFI_MEMORY_TYPE PoolType, UINTN Size) {
  VOID *Buffer = nullptr;
  if (EFI_ERROR(gLibBootServices->AllocatePool(PoolType, Size, &Buffer))) {
    return nullptr;
  }
  return Buffer;
}

// A pool record holding a copy of Descriptor, linked at the tail of the list
// in use. EFI_UNSUPPORTED when no memory was had (*Record then unchanged);
// the payload is the caller's to copy.
EFI_STATUS AddHeapRecord(const HEAP_DESCRIPTOR *Descriptor, HEAP_RECORD **Record) {
  const BOOLEAN Runtime = Descriptor->PoolKind == HEAP_POOL_KIND_RUNTIME;
  auto *New = static_cast<HEAP_RECORD *>(AllocatePoolOfType(Runtime ? EfiRuntimeServicesData : EfiBootServicesData,
                                                            (UINT64)Descriptor->Size + sizeof(HEAP_RECORD)));
  if (New == nullptr) {
    ReportFailure(Runtime ? FATAL_NO_RUNTIME_HEAP_RECORD : FATAL_NO_BOOT_HEAP_RECORD);
    return EFI_UNSUPPORTED;
  }
  *Record = New;
  CopyMem(&New->Descriptor, Descriptor, sizeof(HEAP_DESCRIPTOR));
  LIST_ENTRY *Head = gHeapRecordListHead;
  New->Link.ForwardLink = Head;
  New->Link.BackLink = Head->BackLink;
  Head->BackLink->ForwardLink = &New->Link;
  Head->BackLink = &New->Link;
  return EFI_SUCCESS;
}

// A descriptor whose payload runs past its own block is malformed; copying
// it would read beyond the HOB.
BOOLEAN TakeHeapHob(const HEAP_HOB *Hob) {
  return Hob->Header.Header.HobLength >= sizeof(HEAP_HOB) &&
         Hob->Descriptor.Signature == HEAP_DESCRIPTOR_SIGNATURE && Hob->Descriptor.Active == 1 &&
         (UINT64)Hob->Descriptor.Size <= Hob->Header.Header.HobLength - sizeof(HEAP_HOB);
}

void CollectHeapRecords() {
  if (gHobList == nullptr) {
    return;
  }
  for (auto *Hob = static_cast<HEAP_HOB *>(NextHeapHob(gHobList)); Hob != nullptr;
       Hob = static_cast<HEAP_HOB *>(NextHeapHob(reinterpret_cast<UINT8 *>(Hob) + Hob->Header.Header.HobLength))) {
    HEAP_RECORD *Record = nullptr;
    if (TakeHeapHob(Hob) && AddHeapRecord(&Hob->Descriptor, &Record) == EFI_SUCCESS && Hob->Descriptor.Size != 0) {
      CopyMem(Record + 1, Hob + 1, Hob->Descriptor.Size);
    }
  }
}

}  // namespace

void JoinOrPublishHeapRecordList() {
  VOID *Published = nullptr;
  if (!EFI_ERROR(gLibBootServices->LocateProtocol(&gHeapRecordListProtocolGuid, nullptr, &Published))) {
    gHeapRecordListHead = &static_cast<HEAP_RECORD_LIST_PROTOCOL *>(Published)->Head;
    return;
  }
  mHeapRecordList.Head.ForwardLink = &mHeapRecordList.Head;
  mHeapRecordList.Head.BackLink = &mHeapRecordList.Head;
  gHeapRecordListHead = &mHeapRecordList.Head;
  CollectHeapRecords();
  EFI_HANDLE Handle = nullptr;
  if (gLibBootServices->InstallProtocolInterface(&Handle, &gHeapRecordListProtocolGuid, EFI_NATIVE_INTERFACE,
                                                 &mHeapRecordList) != EFI_SUCCESS) {
    ReportFailure(FATAL_HEAP_LIST_NOT_PUBLISHED);
  }
}
