// The driver loaded from disk by the boot manager: the first boot writes a
// Driver#### load option naming the driver file and resets; on the second
// boot the driver is running before the host starts. The host then loads it
// once more, as a newer copy would arrive, and that load must retire the
// boot manager's record.
#include "tests/firmware/host/Checks.h"
#include "tests/firmware/host/ExpectedTheme.h"
#include "tests/firmware/host/HostFirmware.h"
#include "tests/firmware/host/ShippingFirmware.h"
#include "tests/firmware/host/ShippingWays.h"

namespace {

const EFI_GUID kGlobalVariableGuid = HOST_GLOBAL_VARIABLE_GUID;
const EFI_GUID kThemeProviderGuid = THEME_PROVIDER_PROTOCOL_GUID;

constexpr const CHAR16 *kDriverPath = u"\\EFI\\BOOT\\ThemeDriver.efi";
constexpr CHAR16 kOptionDescription[] = u"Theme driver";
constexpr UINT32 kVariableAttributes =
    HOST_VARIABLE_NON_VOLATILE | HOST_VARIABLE_BOOTSERVICE_ACCESS | HOST_VARIABLE_RUNTIME_ACCESS;
constexpr UINT16 kOptionNumber = 0x0001;
constexpr UINTN kOptionHeaderSize = sizeof(UINT32) + sizeof(UINT16);  // Attributes, FilePathListLength

BOOLEAN VariableExists(const CHAR16 *Name) {
  UINTN Size = 0;
  const EFI_STATUS Status = RuntimeServices(gHostSystemTable)->GetVariable(Name, &kGlobalVariableGuid, nullptr, &Size, nullptr);
  return Status == EFI_BUFFER_TOO_SMALL || Status == EFI_SUCCESS;
}

EFI_STATUS SetGlobalVariable(const CHAR16 *Name, const VOID *Data, UINTN Size) {
  return RuntimeServices(gHostSystemTable)->SetVariable(Name, &kGlobalVariableGuid, kVariableAttributes, Size, Data);
}

// EFI_LOAD_OPTION: attributes, file-path list length, description, then the
// boot volume's path to the driver file.
EFI_STATUS WriteDriverOption() {
  UINTN PathSize = 0;
  EFI_DEVICE_PATH_PROTOCOL *Path = BootFileDevicePath(kDriverPath, &PathSize);
  if (Path == nullptr) {
    return EFI_NOT_FOUND;
  }
  const UINTN Size = kOptionHeaderSize + sizeof(kOptionDescription) + PathSize;
  UINT8 *Option = static_cast<UINT8 *>(AllocateHostPool(Size));
  EFI_STATUS Status = EFI_OUT_OF_RESOURCES;
  if (Option != nullptr) {
    const UINT32 Attributes = HOST_LOAD_OPTION_ACTIVE;
    const UINT16 PathListLength = static_cast<UINT16>(PathSize);
    CopyBytes(Option, &Attributes, sizeof(Attributes));
    CopyBytes(Option + sizeof(Attributes), &PathListLength, sizeof(PathListLength));
    CopyBytes(Option + kOptionHeaderSize, kOptionDescription, sizeof(kOptionDescription));
    CopyBytes(Option + kOptionHeaderSize + sizeof(kOptionDescription), Path, PathSize);
    Status = SetGlobalVariable(u"Driver0001", Option, Size);
  }
  FreeHostPool(Option);
  FreeHostPool(Path);
  return Status;
}

BOOLEAN WriteOptionAndReset() {
  Step("load option");
  CheckHex("Driver0001 written: status", EFI_SUCCESS, WriteDriverOption());
  const UINT16 Order[] = {kOptionNumber};
  if (!CheckHex("DriverOrder written: status", EFI_SUCCESS, SetGlobalVariable(u"DriverOrder", Order, sizeof(Order)))) {
    return FALSE;
  }
  Info("first boot: load option written; resetting so that the boot manager loads the driver");
  RuntimeServices(gHostSystemTable)->ResetSystem(HOST_RESET_COLD, EFI_SUCCESS, 0, nullptr);
  return Check(FALSE, "system reset", "ResetSystem returned");
}

// The image's file path is the file-path node of the driver file.
BOOLEAN NamesDriverFile(const VOID *FilePath) {
  const auto *Node = static_cast<const HOST_DEVICE_PATH_NODE *>(FilePath);
  if (Node == nullptr || Node->Type != HOST_DEVICE_PATH_MEDIA || Node->SubType != HOST_DEVICE_PATH_MEDIA_FILE_PATH) {
    return FALSE;
  }
  const CHAR16 *Name = reinterpret_cast<const CHAR16 *>(Node + 1);
  UINTN Index = 0;
  for (; kDriverPath[Index] != 0; Index++) {
    if (Name[Index] != kDriverPath[Index]) {
      return FALSE;
    }
  }
  return Name[Index] == 0;
}

BOOLEAN CheckBootManagerLoad(HOST_RUN *Run, EFI_HANDLE *RecordHandle) {
  Step("boot manager");
  THEME_PROVIDER_PROTOCOL *Record = nullptr;
  const UINTN Records = FindDriverRecords(&Record, RecordHandle);
  if (!Check(Records == 1, "driver's record installed before the host loaded anything", "%llu record(s)",
             (UINT64)Records)) {
    return FALSE;
  }
  CheckHex("boot manager's record live: signature", kLiveSignature, Record->Signature);
  const HOST_LOADED_IMAGE_PROTOCOL *Image = LoadedImageOf(Record->ImageHandle);
  Check(Image != nullptr && NamesDriverFile(Image->FilePath), "boot manager loaded the driver file of Driver0001",
        "%s", Image == nullptr ? "no loaded-image interface" : "image file path checked");
  Run->PriorDriverRecord = Record;
  return TRUE;
}

}  // namespace

BOOLEAN LoadThroughLoadOption(HOST_RUN *Run) {
  if (!VariableExists(u"Driver0001")) {
    return WriteOptionAndReset();
  }
  Info("second boot: Driver0001 present");
  EFI_HANDLE PriorHandle = nullptr;
  if (!CheckBootManagerLoad(Run, &PriorHandle) || !LoadAndStartDriver(Run)) {
    return FALSE;
  }
  const THEME_PROVIDER_PROTOCOL *Prior = Run->PriorDriverRecord;
  CheckHex("boot manager's record retired by the second load: signature", kRetiredSignature, Prior->Signature);
  VOID *Found = nullptr;
  const BOOLEAN Installed =
      !EFI_ERROR(gHostBootServices->HandleProtocol(PriorHandle, &kThemeProviderGuid, &Found)) && Found == Prior;
  Check(Installed, "boot manager's record still installed", "%s", Installed ? "on its handle" : "gone");
  return TRUE;
}
