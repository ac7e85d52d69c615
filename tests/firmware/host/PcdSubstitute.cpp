#include "tests/firmware/host/PcdSubstitute.h"

#include "tests/firmware/host/Checks.h"
#include "tests/firmware/host/ExpectedFile.h"
#include "tests/firmware/host/HostFirmware.h"

namespace {

const EFI_GUID kPcdGuid = HOST_PCD_PROTOCOL_GUID;
const EFI_GUID kPiPcdGuid = HOST_PI_PCD_PROTOCOL_GUID;

// The values served for the expected tokens, by read position: distinct
// from one another and from zero where the width allows, so that a field
// filled from the wrong token is visible.
constexpr UINT32 kKnownValues[EXPECTED_PCD_TOKEN_COUNT] = {1, 0, 0x5A, 0x12345678, 1, 0xC0DE1355, 0x0001C200, 0xA7};

constexpr UINTN kReadCapacity = 64;
constinit PCD_READ mReads[kReadCapacity] = {};
constinit UINTN mReadCount = 0;
constinit UINTN mForeignReads = 0;

constinit HOST_PCD_PROTOCOL *mFirmwarePcd = nullptr;
constinit EFI_HANDLE mPcdHandle = nullptr;
constinit HOST_PCD_PROTOCOL mSubstitute = {};
constinit BOOLEAN mReinstalled = FALSE;

// Stand-in for the PI PCD protocol when the firmware lacks it: presence is
// all that is looked at, so every operation reports it is unsupported.
constinit VOID *mPiPcdStandIn[16] = {};

BOOLEAN Note(UINTN Token, UINT8 Width, UINT32 *Value) {
  BOOLEAN Known = FALSE;
  *Value = PcdKnownValue(Token, &Known);
  if (!Known) {
    mForeignReads++;
    return FALSE;
  }
  if (mReadCount < kReadCapacity) {
    mReads[mReadCount] = PCD_READ{Token, Width};
  }
  mReadCount++;
  return TRUE;
}

UINT8 EFIAPI SubstituteGet8(UINTN Token) {
  UINT32 Value;
  if (Note(Token, PcdRead8, &Value)) {
    return (UINT8)Value;
  }
  return mFirmwarePcd != nullptr ? mFirmwarePcd->Get8(Token) : 0;
}

UINT16 EFIAPI SubstituteGet16(UINTN Token) {
  UINT32 Value;
  if (Note(Token, PcdRead16, &Value)) {
    return (UINT16)Value;
  }
  return mFirmwarePcd != nullptr ? mFirmwarePcd->Get16(Token) : 0;
}

UINT32 EFIAPI SubstituteGet32(UINTN Token) {
  UINT32 Value;
  if (Note(Token, PcdRead32, &Value)) {
    return Value;
  }
  return mFirmwarePcd != nullptr ? mFirmwarePcd->Get32(Token) : 0;
}

UINT64 EFIAPI SubstituteGet64(UINTN Token) {
  UINT32 Value;
  if (Note(Token, PcdRead64, &Value)) {
    return Value;
  }
  return mFirmwarePcd != nullptr ? mFirmwarePcd->Get64(Token) : 0;
}

VOID *EFIAPI SubstituteGetPtr(UINTN Token) {
  UINT32 Value;
  if (Note(Token, PcdReadOther, &Value)) {
    return nullptr;
  }
  return mFirmwarePcd != nullptr ? mFirmwarePcd->GetPtr(Token) : nullptr;
}

BOOLEAN EFIAPI SubstituteGetBool(UINTN Token) {
  UINT32 Value;
  if (Note(Token, PcdReadBool, &Value)) {
    return Value != 0;
  }
  return mFirmwarePcd != nullptr ? mFirmwarePcd->GetBool(Token) : FALSE;
}

UINTN EFIAPI SubstituteGetSize(UINTN Token) {
  UINT32 Value;
  if (Note(Token, PcdReadOther, &Value)) {
    return 0;
  }
  return mFirmwarePcd != nullptr ? mFirmwarePcd->GetSize(Token) : 0;
}

EFI_STATUS EFIAPI Unsupported() { return EFI_UNSUPPORTED; }

constinit EFI_LOCATE_PROTOCOL mFirmwareLocate = nullptr;
constinit char mLookups[64] = {};
constinit UINTN mLookupsLength = 0;

void NoteLookup(const char *Name) {
  if (mLookupsLength != 0 && mLookupsLength + 1 < sizeof(mLookups)) {
    mLookups[mLookupsLength++] = ' ';
  }
  for (; *Name != 0 && mLookupsLength + 1 < sizeof(mLookups); Name++) {
    mLookups[mLookupsLength++] = *Name;
  }
  mLookups[mLookupsLength] = 0;
}

EFI_STATUS EFIAPI WatchedLocateProtocol(const EFI_GUID *Protocol, VOID *Registration, VOID **Interface) {
  if (GuidEquals(Protocol, &kPcdGuid)) {
    NoteLookup("Pcd");
  } else if (GuidEquals(Protocol, &kPiPcdGuid)) {
    NoteLookup("PiPcd");
  }
  return mFirmwareLocate(Protocol, Registration, Interface);
}

}  // namespace

UINT32 PcdKnownValue(UINTN Token, BOOLEAN *Known) {
  const HOST_EXPECTATIONS *Expectations = HostExpectations();
  for (UINTN Index = 0; Index < EXPECTED_PCD_TOKEN_COUNT && Expectations->PcdReads; Index++) {
    if (Expectations->PcdTokens[Index] == Token) {
      *Known = TRUE;
      return kKnownValues[Index];
    }
  }
  *Known = FALSE;
  return 0;
}

PCD_SUBSTITUTE_RESULT InstallPcdSubstitute(EFI_STATUS *Status) {
  EFI_BOOT_SERVICES *BootServices = gHostBootServices;
  UINTN Count = 0;
  EFI_HANDLE *Handles = nullptr;
  *Status = BootServices->LocateHandleBuffer(ByProtocol, &kPcdGuid, nullptr, &Count, &Handles);
  if (!EFI_ERROR(*Status) && Count > 0) {
    mPcdHandle = Handles[0];
    BootServices->FreePool(Handles);
    VOID *Interface = nullptr;
    *Status = BootServices->HandleProtocol(mPcdHandle, &kPcdGuid, &Interface);
    if (EFI_ERROR(*Status)) {
      return PcdSubstituteFailed;
    }
    mFirmwarePcd = static_cast<HOST_PCD_PROTOCOL *>(Interface);
    mSubstitute = *mFirmwarePcd;  // token-space reads, writes and callbacks stay the firmware's
  } else {
    for (VOID *&Operation : mSubstitute.OtherOperations) {
      Operation = reinterpret_cast<VOID *>(&Unsupported);
    }
    mSubstitute.SetSku = reinterpret_cast<VOID *>(&Unsupported);
  }
  mSubstitute.Get8 = SubstituteGet8;
  mSubstitute.Get16 = SubstituteGet16;
  mSubstitute.Get32 = SubstituteGet32;
  mSubstitute.Get64 = SubstituteGet64;
  mSubstitute.GetPtr = SubstituteGetPtr;
  mSubstitute.GetBool = SubstituteGetBool;
  mSubstitute.GetSize = SubstituteGetSize;
  if (mFirmwarePcd != nullptr) {
    *Status = BootServices->ReinstallProtocolInterface(mPcdHandle, &kPcdGuid, mFirmwarePcd, &mSubstitute);
    mReinstalled = !EFI_ERROR(*Status);
    return mReinstalled ? PcdSubstituteReinstalled : PcdSubstituteFailed;
  }
  mPcdHandle = nullptr;
  *Status = BootServices->InstallProtocolInterface(&mPcdHandle, &kPcdGuid, EFI_NATIVE_INTERFACE, &mSubstitute);
  return EFI_ERROR(*Status) ? PcdSubstituteFailed : PcdSubstituteInstalled;
}

EFI_STATUS RemovePcdSubstitute() {
  if (mReinstalled) {
    mReinstalled = FALSE;
    return gHostBootServices->ReinstallProtocolInterface(mPcdHandle, &kPcdGuid, &mSubstitute, mFirmwarePcd);
  }
  if (mPcdHandle != nullptr) {
    return gHostBootServices->UninstallProtocolInterface(mPcdHandle, &kPcdGuid, &mSubstitute);
  }
  return EFI_SUCCESS;
}

BOOLEAN EnsurePiPcdProtocol(EFI_STATUS *Status) {
  VOID *Interface = nullptr;
  *Status = gHostBootServices->LocateProtocol(&kPiPcdGuid, nullptr, &Interface);
  if (!EFI_ERROR(*Status)) {
    return TRUE;
  }
  for (VOID *&Operation : mPiPcdStandIn) {
    Operation = reinterpret_cast<VOID *>(&Unsupported);
  }
  EFI_HANDLE Handle = nullptr;
  *Status = gHostBootServices->InstallProtocolInterface(&Handle, &kPiPcdGuid, EFI_NATIVE_INTERFACE, mPiPcdStandIn);
  return FALSE;
}

void WatchPcdLookups() {
  mFirmwareLocate = gHostBootServices->LocateProtocol;
  gHostBootServices->LocateProtocol = WatchedLocateProtocol;
}

void StopWatchingPcdLookups() {
  if (mFirmwareLocate != nullptr) {
    gHostBootServices->LocateProtocol = mFirmwareLocate;
  }
}

const char *PcdLookupsSeen() { return mLookups; }

void ReportPlatformPcd() {
  VOID *Pcd = nullptr;
  VOID *PiPcd = nullptr;
  const BOOLEAN HasPcd = !EFI_ERROR(gHostBootServices->LocateProtocol(&kPcdGuid, nullptr, &Pcd));
  const BOOLEAN HasPiPcd = !EFI_ERROR(gHostBootServices->LocateProtocol(&kPiPcdGuid, nullptr, &PiPcd));
  Info("PCD protocols of the platform: PCD %s, PI PCD %s; no stand-in installed, since the driver read its "
       "settings when the DXE core dispatched it, before the host ran",
       HasPcd ? "present" : "absent", HasPiPcd ? "present" : "absent");
}

UINTN PcdReadCount() { return mReadCount; }
const PCD_READ *PcdReadAt(UINTN Index) { return Index < mReadCount && Index < kReadCapacity ? &mReads[Index] : nullptr; }
UINTN PcdForeignReadCount() { return mForeignReads; }
