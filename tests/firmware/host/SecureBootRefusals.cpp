// The driver under Secure Boot: copies that must not run (unsigned, altered
// after signing, signed by a key outside db) are refused and leave no image
// behind; then the signed driver loads like any other.
#include "tests/firmware/host/Checks.h"
#include "tests/firmware/host/HostFirmware.h"
#include "tests/firmware/host/ShippingFirmware.h"
#include "tests/firmware/host/ShippingWays.h"

namespace {

const EFI_GUID kGlobalVariableGuid = HOST_GLOBAL_VARIABLE_GUID;

struct REFUSED_COPY {
  const CHAR16 *Path;
  const char *What;
};

constexpr REFUSED_COPY kRefusedCopies[] = {
    {u"\\EFI\\BOOT\\ThemeDriver.unsigned.efi", "unsigned driver refused"},
    {u"\\EFI\\BOOT\\ThemeDriver.altered.efi", "signed driver with one byte changed refused"},
    {u"\\EFI\\BOOT\\ThemeDriver.foreign.efi", "driver signed by a key outside db refused"},
};

UINT8 SecureBootVariable() {
  UINT8 Value = 0;
  UINTN Size = sizeof(Value);
  const EFI_STATUS Status =
      RuntimeServices(gHostSystemTable)->GetVariable(u"SecureBoot", &kGlobalVariableGuid, nullptr, &Size, &Value);
  return EFI_ERROR(Status) ? 0 : Value;
}

void CheckRefused(const REFUSED_COPY &Copy) {
  DRIVER_LOAD Load = {};
  Load.Path = Copy.Path;
  if (!ReadDriverFile(&Load)) {
    Check(FALSE, Copy.What, "file not read: %s (status 0x%llX)", Load.ReadFailure, Load.ReadStatus);
    return;
  }
  const BOOLEAN Loaded = LoadDriverImage(&Load);
  if (Loaded) {
    UnloadImageService(gHostBootServices)(Load.ImageHandle);
  }
  const BOOLEAN Refused = Load.LoadStatus == HOST_ACCESS_DENIED || Load.LoadStatus == HOST_SECURITY_VIOLATION;
  Check(Refused, Copy.What, "LoadImage status 0x%llX%s", Load.LoadStatus,
        Load.RefusedHandleUnloaded ? ", its handle unloaded" : Loaded ? ", loaded (now unloaded)" : ", no handle");
  FreeHostPool(Load.File);
}

}  // namespace

BOOLEAN LoadUnderSecureBoot(HOST_RUN *Run) {
  Step("secure boot");
  CheckDec("Secure Boot enabled: SecureBoot variable", 1, SecureBootVariable());
  for (const REFUSED_COPY &Copy : kRefusedCopies) {
    CheckRefused(Copy);
  }
  THEME_PROVIDER_PROTOCOL *Record = nullptr;
  EFI_HANDLE Handle = nullptr;
  CheckDec("no record installed by a refused copy", 0, FindDriverRecords(&Record, &Handle));
  return LoadAndStartDriver(Run);
}
