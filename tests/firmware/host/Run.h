// The steps of the reference host's run, in the order ReferenceHostMain
// takes them. They share one HOST_RUN record.
#pragma once

#include "host/ThemeProviderProtocol.h"
#include "tests/firmware/host/DriverLoader.h"

typedef struct {
  DRIVER_LOAD Load;
  THEME_PROVIDER_PROTOCOL *Record;  // the active record, once found
  EFI_HANDLE RecordHandle;
  BOOLEAN PackageFound;
  UINTN PackageImages;              // entries of the image table filled from it
  // The driver's record from a load before the host's own (by the boot
  // manager); the host's load must retire it.
  const THEME_PROVIDER_PROTOCOL *PriorDriverRecord;
  // The DXE core dispatched the driver from the platform's flash before the
  // host ran: the host made none of the tables the driver saw, so the checks
  // of those (PCD stand-in, heap HOBs, older records) give way to checks of
  // what the platform has.
  BOOLEAN InFlash;
} HOST_RUN;

// Screen mode, PCD substitute (in flash, the platform's PCD protocols only
// reported).
void PrepareFirmware(HOST_RUN *Run);
// The two records of other plug-ins, installed before the driver loads.
void PreinstallRecords(HOST_RUN *Run);
// A HOB list of the host's own, with heap HOBs, in place of the firmware's.
void InstallHeapHobList(HOST_RUN *Run);
// Reads, loads and starts the driver; false when it could not be started.
BOOLEAN LoadAndStartDriver(HOST_RUN *Run);
// Retirement of the pre-installed records, the active record and its fields.
BOOLEAN CheckRegistration(HOST_RUN *Run);
// The heap-record list the driver published; puts the firmware's HOB list back.
void CheckHeapRecordList(HOST_RUN *Run);
// Makes the firmware refuse the heap-record list and loads the driver, which
// then shows its fatal code forever; returns only if the driver does.
void RunIntoFatalDisplay(HOST_RUN *Run);
// The image package on the driver's image handle, and the image table.
void BuildImageTableFromPackage(HOST_RUN *Run);
// Queries the host may make before it has written any table pointer.
void QueryBeforeTables(HOST_RUN *Run);
void AttachHostTables(HOST_RUN *Run);
void QueryWithTables(HOST_RUN *Run);
void RunLifecycle(HOST_RUN *Run);
void StyleObjects(HOST_RUN *Run);
// Checks over the whole run: PCD reads, host-table use; puts the PCD back.
void FinishRun(HOST_RUN *Run);

// True when Address lies inside the loaded driver image.
BOOLEAN InsideDriverImage(const HOST_RUN *Run, const VOID *Address);
