// The reference setup-screen host: a UEFI application that loads the theme
// driver in real firmware, drives it the way a setup screen would, and
// reports each check on the serial port.
#include "tests/firmware/host/Checks.h"
#include "tests/firmware/host/Console.h"
#include "tests/firmware/host/ExpectedFile.h"
#include "tests/firmware/host/HostFirmware.h"
#include "tests/firmware/host/HostMode.h"
#include "tests/firmware/host/PcdSubstitute.h"
#include "tests/firmware/host/Run.h"

namespace {

constinit HOST_RUN mRun = {};

}  // namespace

extern "C" EFI_STATUS EFIAPI ReferenceHostMain(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable) {
  gHostImageHandle = ImageHandle;
  gHostSystemTable = SystemTable;
  gHostBootServices = SystemTable->BootServices;
  // The firmware's boot-option watchdog would reset a slow run.
  gHostBootServices->SetWatchdogTimer(0, 0, 0, nullptr);

  ConsoleWrite("\n");
  Info("reference host started");
  const HOST_MODE Mode = ReadHostMode();
  Info("driver brought in by: %s", HostModeName(Mode));
  ReadExpectedFile();
  mRun.InFlash = Mode == HostModeFlash;
  PrepareFirmware(&mRun);
  if (Mode == HostModeFatalCode) {
    RunIntoFatalDisplay(&mRun);
    ExitEmulator(FinishChecks());
    return EFI_ABORTED;
  }
  PreinstallRecords(&mRun);
  InstallHeapHobList(&mRun);
  if (!mRun.InFlash) {
    WatchPcdLookups();
  }
  const BOOLEAN Started = BringInDriver(&mRun, Mode);
  StopWatchingPcdLookups();
  CheckHeapRecordList(&mRun);
  if (Started && CheckRegistration(&mRun)) {
    BuildImageTableFromPackage(&mRun);
    QueryBeforeTables(&mRun);
    AttachHostTables(&mRun);
    QueryWithTables(&mRun);
    RunLifecycle(&mRun);
    StyleObjects(&mRun);
  }
  FinishRun(&mRun);

  const BOOLEAN Passed = FinishChecks();
  ExitEmulator(Passed);
  return Passed ? EFI_SUCCESS : EFI_ABORTED;
}
