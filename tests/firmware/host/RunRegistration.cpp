// Before and during the driver's load: the screen mode, the PCD substitute,
// two records of other plug-ins, the load itself, and what registration
// left in the handle database.
#include "tests/firmware/host/Checks.h"
#include "tests/firmware/host/Console.h"
#include "tests/firmware/host/ExpectedFile.h"
#include "tests/firmware/host/ExpectedTheme.h"
#include "tests/firmware/host/HostFirmware.h"
#include "tests/firmware/host/HostTables.h"
#include "tests/firmware/host/PcdSubstitute.h"
#include "tests/firmware/host/Run.h"

namespace {

const EFI_GUID kThemeProviderGuid = THEME_PROVIDER_PROTOCOL_GUID;
const EFI_GUID kGraphicsOutputGuid = HOST_GRAPHICS_OUTPUT_PROTOCOL_GUID;

constexpr UINT32 kFixedScreenWidth = 1024;
constexpr UINT32 kFixedScreenHeight = 768;

constinit UINTN mForeignOperationCalls = 0;

// Operations of the pre-installed records: nothing should call them.
UINTN ForeignCall() {
  mForeignOperationCalls++;
  return 0;
}
EFI_STATUS EFIAPI ForeignNotify(UINT32) { return ForeignCall(); }
UINT32 EFIAPI ForeignGetColor(INT32) { return (UINT32)ForeignCall(); }
UINTN EFIAPI ForeignMapImage(UINT32) { return ForeignCall(); }
UINTN EFIAPI ForeignStyleObject(UINT64, UINT16, UINT16, UINT32) { return ForeignCall(); }
UINT64 EFIAPI ForeignGetValue(INT32, UINT64 Default) { return ForeignCall() + Default; }
EFI_STATUS EFIAPI ForeignGetRect(INT32, VOID *) { return ForeignCall(); }
UINTN EFIAPI ForeignReserved(VOID) { return ForeignCall(); }

template <UINTN N>
constexpr THEME_PROVIDER_PROTOCOL ForeignRecord(UINT32 Version, const char16_t (&Name)[N]) {
  static_assert(N <= THEME_NAME_LENGTH);
  THEME_PROVIDER_PROTOCOL Record = {};
  for (UINTN Index = 0; Index < N; Index++) {
    Record.Name[Index] = Name[Index];
  }
  Record.Version = Version;
  Record.Signature = kLiveSignature;
  Record.ThemeInfo = 7;
  Record.Notify = ForeignNotify;
  Record.GetColor = ForeignGetColor;
  Record.MapImage = ForeignMapImage;
  Record.StyleObject = ForeignStyleObject;
  Record.GetValue = ForeignGetValue;
  Record.GetRect = ForeignGetRect;
  Record.Reserved = ForeignReserved;
  return Record;
}

// An earlier plug-in of the same interface version (to be retired), and one
// of a newer version (to be left alone).
constinit THEME_PROVIDER_PROTOCOL mEarlierRecord = ForeignRecord(40, u"Earlier Theme");
constinit THEME_PROVIDER_PROTOCOL mNewerRecord = ForeignRecord(41, u"Newer Theme");
constinit THEME_PROVIDER_PROTOCOL mEarlierBefore = {};
constinit THEME_PROVIDER_PROTOCOL mNewerBefore = {};
constinit EFI_HANDLE mEarlierHandle = nullptr;
constinit EFI_HANDLE mNewerHandle = nullptr;

BOOLEAN IsPreinstalled(const VOID *Interface) { return Interface == &mEarlierRecord || Interface == &mNewerRecord; }

const char *StatusName(EFI_STATUS Status) {
  switch (Status) {
    case EFI_SUCCESS: return "success";
    case EFI_LOAD_ERROR: return "load error";
    case EFI_INVALID_PARAMETER: return "invalid parameter";
    case EFI_UNSUPPORTED: return "unsupported";
    case EFI_OUT_OF_RESOURCES: return "out of resources";
    case EFI_NOT_FOUND: return "not found";
    default: return "see code";
  }
}

// The record's fields other than Signature, compared with a copy.
BOOLEAN SameExceptSignature(const THEME_PROVIDER_PROTOCOL &A, const THEME_PROVIDER_PROTOCOL &B) {
  const UINTN Signature = offsetof(THEME_PROVIDER_PROTOCOL, Signature);
  return SameBytes(&A, &B, Signature) &&
         SameBytes(reinterpret_cast<const UINT8 *>(&A) + Signature + 4, reinterpret_cast<const UINT8 *>(&B) + Signature + 4,
                   sizeof(A) - Signature - 4);
}

BOOLEAN StillInstalled(EFI_HANDLE Handle, const VOID *Interface) {
  VOID *Found = nullptr;
  return !EFI_ERROR(gHostBootServices->HandleProtocol(Handle, &kThemeProviderGuid, &Found)) && Found == Interface;
}

void CheckPreinstalledAfterLoad() {
  CheckHex("earlier record of version 40 retired: signature", kRetiredSignature, mEarlierRecord.Signature);
  Check(SameExceptSignature(mEarlierRecord, mEarlierBefore), "earlier record otherwise untouched", "%s",
        SameExceptSignature(mEarlierRecord, mEarlierBefore) ? "name, version and operations unchanged"
                                                             : "a field other than the signature changed");
  CheckHex("record of version 41 left live: signature", kLiveSignature, mNewerRecord.Signature);
  Check(SameBytes(&mNewerRecord, &mNewerBefore, sizeof(mNewerRecord)), "record of version 41 untouched", "%s",
        SameBytes(&mNewerRecord, &mNewerBefore, sizeof(mNewerRecord)) ? "all 184 bytes unchanged" : "changed");
  const BOOLEAN Installed = StillInstalled(mEarlierHandle, &mEarlierRecord) && StillInstalled(mNewerHandle, &mNewerRecord);
  Check(Installed, "pre-installed records still installed", "%s", Installed ? "both" : "one or both gone");
  Check(mForeignOperationCalls == 0, "operations of the pre-installed records not called", "%llu calls",
        (UINT64)mForeignOperationCalls);
  Info("pre-installed records now: \"Earlier Theme\" (version 40) %s, \"Newer Theme\" (version 41) %s",
       mEarlierRecord.Signature == kRetiredSignature ? "retired" : "live",
       mNewerRecord.Signature == kRetiredSignature ? "retired" : "live");
}

// The records when the host installed two of its own before the load.
void CheckInstalledRecords(const HOST_RUN *Run, UINTN Count, UINTN Live) {
  const UINTN Expected = Run->PriorDriverRecord != nullptr ? 4 : 3;
  Check(Count == Expected, "theme-provider records installed", "%llu (the driver's, the two pre-installed%s)%s",
        (UINT64)Count, Run->PriorDriverRecord != nullptr ? " and the earlier load's" : "",
        Count == Expected ? "" : ", not as expected");
  Check(Live == 1, "active record found", "%llu live record(s) of version 40 besides the host's own", (UINT64)Live);
}

// Every installed record; the one that is live and of the host's version
// and not pre-installed by the host is the driver's.
void FindActiveRecord(HOST_RUN *Run) {
  UINTN Count = 0;
  EFI_HANDLE *Handles = nullptr;
  EFI_STATUS Status = gHostBootServices->LocateHandleBuffer(ByProtocol, &kThemeProviderGuid, nullptr, &Count, &Handles);
  if (!Check(!EFI_ERROR(Status), "theme-provider handles located", "%llu handles, status 0x%llX", (UINT64)Count, Status)) {
    return;
  }
  UINTN Live = 0;
  UINTN Others = 0;
  THEME_PROVIDER_PROTOCOL *Other = nullptr;
  EFI_HANDLE OtherHandle = nullptr;
  for (UINTN Index = 0; Index < Count; Index++) {
    VOID *Interface = nullptr;
    if (EFI_ERROR(gHostBootServices->HandleProtocol(Handles[Index], &kThemeProviderGuid, &Interface)) ||
        IsPreinstalled(Interface) || Interface == Run->PriorDriverRecord) {
      continue;
    }
    auto *Record = static_cast<THEME_PROVIDER_PROTOCOL *>(Interface);
    Others++;
    Other = Record;
    OtherHandle = Handles[Index];
    if (Record->Signature == kLiveSignature && Record->Version == kHostInterfaceVersion) {
      Live++;
      Run->Record = Record;
      Run->RecordHandle = Handles[Index];
    }
  }
  gHostBootServices->FreePool(Handles);
  if (Run->InFlash) {
    // The platform may carry records of other plug-ins; of this version only
    // the driver's may be live.
    Info("%llu theme-provider record(s) installed by the platform", (UINT64)Count);
    Check(Live == 1, "exactly one live record of version 40", "%llu live record(s) of version 40", (UINT64)Live);
  } else {
    CheckInstalledRecords(Run, Count, Live);
  }
  // A record of the wrong version or signature is still the driver's: the
  // run goes on with it so that the rest of the checks can speak.
  if (Run->Record == nullptr && Others == 1) {
    Run->Record = Other;
    Run->RecordHandle = OtherHandle;
    Info("going on with the driver's only record (version %u, signature 0x%08X) for the remaining checks",
         Other->Version, Other->Signature);
  }
}

void CheckRecordFields(HOST_RUN *Run) {
  const THEME_PROVIDER_PROTOCOL *Record = Run->Record;
  char Name[40];
  NarrowText(reinterpret_cast<const CHAR16 *>(Record->Name), THEME_NAME_LENGTH, Name, sizeof(Name));
  // The default theme's name, or the one the theme tool wrote for the theme
  // the driver was built in.
  const CHAR16 *Expected = HostExpectations()->Name;
  char ExpectedName[40];
  NarrowText(Expected, EXPECTED_NAME_LENGTH, ExpectedName, sizeof(ExpectedName));
  BOOLEAN NameMatches = TRUE;
  for (UINTN Index = 0; Index < THEME_NAME_LENGTH; Index++) {
    NameMatches = NameMatches && Record->Name[Index] == (Index < EXPECTED_NAME_LENGTH ? Expected[Index] : 0);
  }
  if (NameMatches) {
    Check(TRUE, "record name", "\"%s\", zero-filled to 32 characters", Name);
  } else {
    Check(FALSE, "record name", "\"%s\", expected \"%s\" zero-filled", Name, ExpectedName);
  }
  CheckDec("record version", kHostInterfaceVersion, Record->Version);
  CheckHex("record signature", kLiveSignature, Record->Signature);
  CheckHex("record image handle is the driver's image handle", reinterpret_cast<UINT64>(Run->Load.ImageHandle),
           reinterpret_cast<UINT64>(Record->ImageHandle));
  Check(Run->RecordHandle != Run->Load.ImageHandle, "record installed on a handle of its own", "%s",
        Run->RecordHandle != Run->Load.ImageHandle ? "not the image handle" : "installed on the image handle");
  CheckDec("record theme info", kThemeInfo, Record->ThemeInfo);
  Check(Record->Reserved1 == 0 && Record->Reserved2 == 0, "record reserved fields zero", "0x%llX, 0x%llX",
        Record->Reserved1, Record->Reserved2);
  Check(Record->ImageTable == nullptr && Record->UiTable == nullptr && Record->ServiceTable == nullptr,
        "record host pointers empty before the host writes them", "%s",
        Record->ImageTable == nullptr && Record->UiTable == nullptr && Record->ServiceTable == nullptr ? "all null"
                                                                                                       : "not null");
  const VOID *Operations[] = {
      reinterpret_cast<const VOID *>(Record->Notify),      reinterpret_cast<const VOID *>(Record->GetColor),
      reinterpret_cast<const VOID *>(Record->MapImage),    reinterpret_cast<const VOID *>(Record->StyleObject),
      reinterpret_cast<const VOID *>(Record->GetValue),    reinterpret_cast<const VOID *>(Record->GetRect),
      reinterpret_cast<const VOID *>(Record->Reserved)};
  UINTN Inside = 0;
  for (const VOID *Operation : Operations) {
    Inside += InsideDriverImage(Run, Operation) ? 1 : 0;
  }
  Check(Inside == 7, "record operations lie in the driver image", "%llu of 7", (UINT64)Inside);
  Check(InsideDriverImage(Run, Record), "record lies in the driver image", "at 0x%llX",
        reinterpret_cast<UINT64>(Record));
}

}  // namespace

BOOLEAN InsideDriverImage(const HOST_RUN *Run, const VOID *Address) {
  return InsideLoadedImage(Run->Load.LoadedImage, Address);
}

void PrepareFirmware(HOST_RUN *Run) {
  Step("firmware");
  VOID *Interface = nullptr;
  const EFI_STATUS GopStatus = gHostBootServices->LocateProtocol(&kGraphicsOutputGuid, nullptr, &Interface);
  const auto *Gop = static_cast<const HOST_GRAPHICS_OUTPUT_PROTOCOL *>(Interface);
  if (!EFI_ERROR(GopStatus) && Gop != nullptr && Gop->Mode != nullptr && Gop->Mode->Info != nullptr &&
      Gop->Mode->Info->HorizontalResolution != 0 && Gop->Mode->Info->VerticalResolution != 0) {
    SetScreenMode(Gop->Mode->Info->HorizontalResolution, Gop->Mode->Info->VerticalResolution);
    Info("screen: graphics output mode %ux%u", ScreenWidth(), ScreenHeight());
  } else {
    SetScreenMode(kFixedScreenWidth, kFixedScreenHeight);
    Info("screen: no graphics output; fixed mode %ux%u", ScreenWidth(), ScreenHeight());
  }

  if (Run->InFlash) {
    ReportPlatformPcd();
    return;
  }
  EFI_STATUS Status;
  const PCD_SUBSTITUTE_RESULT Result = InstallPcdSubstitute(&Status);
  Check(Result != PcdSubstituteFailed, "PCD protocol substituted", "%s (status 0x%llX)",
        Result == PcdSubstituteReinstalled ? "firmware interface replaced in place"
        : Result == PcdSubstituteInstalled ? "firmware had none; installed on a new handle"
                                           : "failed",
        Status);
  const BOOLEAN FirmwareHadPi = EnsurePiPcdProtocol(&Status);
  Info("PI PCD protocol: %s", FirmwareHadPi ? "present in the firmware" : "absent; the host installed a stand-in");
}

void PreinstallRecords(HOST_RUN *Run) {
  Step("pre-install");
  if (Run->InFlash) {
    Info("no older records installed for the driver to retire: it registered before the host ran");
    return;
  }
  mEarlierBefore = mEarlierRecord;
  mNewerBefore = mNewerRecord;
  EFI_STATUS Status = gHostBootServices->InstallProtocolInterface(&mEarlierHandle, &kThemeProviderGuid,
                                                                  EFI_NATIVE_INTERFACE, &mEarlierRecord);
  Check(!EFI_ERROR(Status), "earlier record of version 40 installed", "status 0x%llX", Status);
  Status = gHostBootServices->InstallProtocolInterface(&mNewerHandle, &kThemeProviderGuid, EFI_NATIVE_INTERFACE,
                                                       &mNewerRecord);
  Check(!EFI_ERROR(Status), "record of version 41 installed", "status 0x%llX", Status);
}

BOOLEAN LoadAndStartDriver(HOST_RUN *Run) {
  Step("load");
  DRIVER_LOAD *Load = &Run->Load;
  Load->Path = u"\\EFI\\BOOT\\ThemeDriver.efi";
  const BOOLEAN Read = ReadDriverFile(Load);
  if (!Check(Read, "driver file read from the boot volume", "%s%s (status 0x%llX), %llu bytes",
             Load->ReadFailure != nullptr ? "failed at " : "\\EFI\\BOOT\\ThemeDriver.efi",
             Load->ReadFailure != nullptr ? Load->ReadFailure : "", Load->ReadStatus, (UINT64)Load->FileSize)) {
    return FALSE;
  }
  const BOOLEAN Loaded = LoadDriverImage(Load);
  if (!Check(Loaded, "driver loaded", "LoadImage status 0x%llX (%s)%s", Load->LoadStatus, StatusName(Load->LoadStatus),
             Load->HasDevicePath ? ", with its file device path" : ", from the buffer alone")) {
    return FALSE;
  }
  if (Load->LoadedImage != nullptr) {
    ReportDriverImage(Load->LoadedImage);
  } else {
    Check(FALSE, "loaded-image interface on the driver's handle", "absent");
  }
  StartDriverImage(Load);
  return Check(Load->StartStatus == EFI_SUCCESS, "driver started", "status 0x%llX (%s)", Load->StartStatus,
               StatusName(Load->StartStatus));
}

BOOLEAN CheckRegistration(HOST_RUN *Run) {
  Step("registration");
  if (!Run->InFlash) {
    CheckPreinstalledAfterLoad();
  }
  FindActiveRecord(Run);
  if (Run->Record == nullptr) {
    return FALSE;
  }
  SetActiveRecord(Run->Record);
  CheckRecordFields(Run);
  char Name[40];
  NarrowText(reinterpret_cast<const CHAR16 *>(Run->Record->Name), THEME_NAME_LENGTH, Name, sizeof(Name));
  Info("driver registered: \"%s\", version %u, on a new handle", Name, Run->Record->Version);
  return TRUE;
}
