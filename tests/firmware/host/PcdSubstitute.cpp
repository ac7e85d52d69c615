#include "tests/firmware/host/PcdSubstitute.h"

#include "tests/firmware/host/HostFirmware.h"

namespace {

const EFI_GUID mPcdGuid = HOST_PCD_PROTOCOL_GUID;
const EFI_GUID mPiPcdGuid = HOST_PI_PCD_PROTOCOL_GUID;

// Known values, distinct from one another and from zero where the width
// allows, so that a field filled from the wrong token is visible.
typedef struct {
  UINT32 Token;
  UINT32 Value;
} PCD_VALUE;

constexpr PCD_VALUE mKnownTokens[] = {
    {1055, 1}, {1427, 0}, {1346, 0x5A}, {1430, 0x12345678}, {1428, 1}, {1355, 0xC0DE1355}, {1354, 0x0001C200},
    {1429, 0xA7},
};

constexpr UINTN ReadCapacity = 64;
constinit PCD_READ mReads[ReadCapacity] = {};
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
  if (mReadCount < ReadCapacity) {
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

}  // namespace

UINT32 PcdKnownValue(UINTN Token, BOOLEAN *Known) {
  for (const PCD_VALUE &Entry : mKnownTokens) {
    if (Entry.Token == Token) {
      *Known = TRUE;
      return Entry.Value;
    }
  }
  *Known = FALSE;
  return 0;
}

PCD_SUBSTITUTE_RESULT InstallPcdSubstitute(EFI_STATUS *Status) {
  EFI_BOOT_SERVICES *BootServices = gHostBootServices;
  UINTN Count = 0;
  EFI_HANDLE *Handles = nullptr;
  *Status = BootServices->LocateHandleBuffer(ByProtocol, &mPcdGuid, nullptr, &Count, &Handles);
  if (!EFI_ERROR(*Status) && Count > 0) {
    mPcdHandle = Handles[0];
    BootServices->FreePool(Handles);
    VOID *Interface = nullptr;
    *Status = BootServices->HandleProtocol(mPcdHandle, &mPcdGuid, &Interface);
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
    *Status = BootServices->ReinstallProtocolInterface(mPcdHandle, &mPcdGuid, mFirmwarePcd, &mSubstitute);
    mReinstalled = !EFI_ERROR(*Status);
    return mReinstalled ? PcdSubstituteReinstalled : PcdSubstituteFailed;
  }
  mPcdHandle = nullptr;
  *Status = BootServices->InstallProtocolInterface(&mPcdHandle, &mPcdGuid, EFI_NATIVE_INTERFACE, &mSubstitute);
  return EFI_ERROR(*Status) ? PcdSubstituteFailed : PcdSubstituteInstalled;
}

EFI_STATUS RemovePcdSubstitute() {
  if (mReinstalled) {
    mReinstalled = FALSE;
    return gHostBootServices->ReinstallProtocolInterface(mPcdHandle, &mPcdGuid, &mSubstitute, mFirmwarePcd);
  }
  if (mPcdHandle != nullptr) {
    return gHostBootServices->UninstallProtocolInterface(mPcdHandle, &mPcdGuid, &mSubstitute);
  }
  return EFI_SUCCESS;
}

BOOLEAN EnsurePiPcdProtocol(EFI_STATUS *Status) {
  VOID *Interface = nullptr;
  *Status = gHostBootServices->LocateProtocol(&mPiPcdGuid, nullptr, &Interface);
  if (!EFI_ERROR(*Status)) {
    return TRUE;
  }
  for (VOID *&Operation : mPiPcdStandIn) {
    Operation = reinterpret_cast<VOID *>(&Unsupported);
  }
  EFI_HANDLE Handle = nullptr;
  *Status = gHostBootServices->InstallProtocolInterface(&Handle, &mPiPcdGuid, EFI_NATIVE_INTERFACE, mPiPcdStandIn);
  return FALSE;
}

UINTN PcdReadCount() { return mReadCount; }
const PCD_READ *PcdReadAt(UINTN Index) { return Index < mReadCount && Index < ReadCapacity ? &mReads[Index] : nullptr; }
UINTN PcdForeignReadCount() { return mForeignReads; }
