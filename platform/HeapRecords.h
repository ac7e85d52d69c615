// The platform-wide heap-record list: joined when another driver published
// it, otherwise built from the heap HOBs and published by this driver.
#pragma once

#include "platform/uefi/HeapRecordList.h"
#include "platform/uefi/SystemTable.h"

// Failure codes, reported only when HaltOnError is 1.
#define FATAL_HEAP_LIST_NOT_PUBLISHED 0x00080225
#define FATAL_NO_RUNTIME_HEAP_RECORD 0x00080134
#define FATAL_NO_BOOT_HEAP_RECORD 0x00080137

extern VOID *gHobList;
extern LIST_ENTRY *gHeapRecordListHead;
// This driver's interface; installed only when this driver builds the list.
extern HEAP_RECORD_LIST_PROTOCOL mHeapRecordList;

extern const EFI_GUID gEfiHobListGuid;
extern const EFI_GUID gHeapRecordListProtocolGuid;
extern const EFI_GUID gHeapRecordHobGuid;

// Sets gHobList from the configuration table: EFI_SUCCESS, or EFI_NOT_FOUND
// with gHobList null.
EFI_STATUS LocateHobList();

// Points gHeapRecordListHead at the published list, or builds this
// driver's list from the heap HOBs of gHobList (none when it is null) and
// publishes it on a new handle. Runs after LocateHobList.
void JoinOrPublishHeapRecordList();
