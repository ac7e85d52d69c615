// The driver built into flash: either as close as a running system gets,
// the DXE core handed a firmware volume holding the driver's FFS file to
// dispatch (a copy with a damaged header checksum must be refused), or
// truly, dispatched from the platform's own flash before the host ran.
#include "tests/firmware/host/Checks.h"
#include "tests/firmware/host/HostFirmware.h"
#include "tests/firmware/host/HostMode.h"
#include "tests/firmware/host/ShippingFirmware.h"
#include "tests/firmware/host/ShippingWays.h"

namespace {

const EFI_GUID kDxeServicesGuid = HOST_DXE_SERVICES_TABLE_GUID;
// {220E73B6-6BDB-4413-8405-B974B108619A}: the firmware-volume interface
// that the DXE core puts on the handle of each volume it dispatches from.
const EFI_GUID kFirmwareVolume2Guid = {0x220E73B6, 0x6BDB, 0x4413, {0x84, 0x05, 0xB9, 0x74, 0xB1, 0x08, 0x61, 0x9A}};
// {18648078-9134-4CE3-B85F-D48F695A6510}: the FFS file name the driver ships
// under (tools/ship).
const EFI_GUID kDriverFileName = {0x18648078, 0x9134, 0x4CE3, {0xB8, 0x5F, 0xD4, 0x8F, 0x69, 0x5A, 0x65, 0x10}};

// Volume layout the host reads: where the header says the files begin, and
// each file's name, type and 24-bit size; files sit on 8-byte boundaries.
constexpr UINTN kVolumeHeaderLengthAt = 48;
constexpr UINTN kFileHeaderSize = 24;
constexpr UINT8 kFileTypeDriver = 0x07;

// The name of the first driver file in the volume; false when it has none.
BOOLEAN FirstDriverFileName(const UINT8 *Volume, UINTN Size, EFI_GUID *Name) {
  if (Size < kVolumeHeaderLengthAt + 2) {
    return FALSE;
  }
  UINTN At = Volume[kVolumeHeaderLengthAt] | (Volume[kVolumeHeaderLengthAt + 1] << 8);
  while (At + kFileHeaderSize <= Size) {
    const UINT8 *File = Volume + At;
    const UINTN FileSize = File[20] | (File[21] << 8) | (File[22] << 16);
    if (File[18] == kFileTypeDriver) {
      CopyBytes(Name, File, sizeof(EFI_GUID));
      return TRUE;
    }
    if (FileSize < kFileHeaderSize) {
      return FALSE;
    }
    At = (At + FileSize + 7) & ~static_cast<UINTN>(7);
  }
  return FALSE;
}

// The volume file read into page-aligned boot-services memory, as the DXE
// core wants a volume. The memory stays even when the volume is refused:
// the DXE core keeps a block-device handle onto a volume whose file system
// it then finds corrupted.
EFI_STATUS ProcessVolumeFile(const HOST_DXE_SERVICES *Dxe, const CHAR16 *Path, EFI_HANDLE *Volume, EFI_GUID *DriverName) {
  VOID *File = nullptr;
  UINTN Size = 0;
  if (!ReadBootFile(Path, &File, &Size)) {
    return EFI_NOT_FOUND;
  }
  const UINTN Pages = (Size + HOST_PAGE_SIZE - 1) / HOST_PAGE_SIZE;
  EFI_PHYSICAL_ADDRESS Memory = 0;
  EFI_STATUS Status = AllocatePagesService(gHostBootServices)(HOST_ALLOCATE_ANY_PAGES, EfiBootServicesData, Pages, &Memory);
  if (!EFI_ERROR(Status)) {
    VOID *Copy = reinterpret_cast<VOID *>(Memory);
    CopyBytes(Copy, File, Size);
    if (DriverName != nullptr && !FirstDriverFileName(static_cast<const UINT8 *>(Copy), Size, DriverName)) {
      Info("no driver file found in the volume");
    }
    Status = Dxe->ProcessFirmwareVolume(Copy, Size, Volume);
  }
  FreeHostPool(File);
  return Status;
}

// The image's file path is the firmware-volume file node of Name.
BOOLEAN NamesVolumeFile(const VOID *FilePath, const EFI_GUID &Name) {
  const auto *Node = static_cast<const HOST_FW_FILE_NODE *>(FilePath);
  return Node != nullptr && Node->Type == HOST_DEVICE_PATH_MEDIA && Node->SubType == HOST_DEVICE_PATH_MEDIA_PIWG_FW_FILE &&
         SameBytes(&Node->FileName, &Name, sizeof(EFI_GUID));
}

}  // namespace

BOOLEAN DispatchFromFirmwareVolume(HOST_RUN *Run) {
  Step("firmware volume");
  const HOST_DXE_SERVICES *Dxe = static_cast<const HOST_DXE_SERVICES *>(FindConfigurationTable(&kDxeServicesGuid));
  if (!Check(Dxe != nullptr && Dxe->Hdr.Signature == HOST_DXE_SERVICES_SIGNATURE, "DXE services table found",
             "%s", Dxe != nullptr ? "in the configuration table" : "not in the configuration table")) {
    return FALSE;
  }
  EFI_HANDLE Damaged = nullptr;
  const EFI_STATUS DamagedStatus = ProcessVolumeFile(Dxe, u"\\EFI\\BOOT\\Damaged.fv", &Damaged, nullptr);
  CheckHex("volume with a damaged checksum refused: status", HOST_VOLUME_CORRUPTED, DamagedStatus);
  EFI_HANDLE Volume = nullptr;
  EFI_GUID DriverName = {};
  const EFI_STATUS Status = ProcessVolumeFile(Dxe, u"\\EFI\\BOOT\\ThemeDriver.fv", &Volume, &DriverName);
  if (!CheckHex("volume processed: status", EFI_SUCCESS, Status)) {
    return FALSE;
  }
  const EFI_STATUS Dispatched = Dxe->Dispatch();
  CheckHex("DXE dispatcher ran the volume's driver: status", EFI_SUCCESS, Dispatched);

  THEME_PROVIDER_PROTOCOL *Record = nullptr;
  EFI_HANDLE RecordHandle = nullptr;
  const UINTN Records = FindDriverRecords(&Record, &RecordHandle);
  if (!Check(Records == 1, "driver's record installed by the dispatched driver", "%llu record(s)", (UINT64)Records) ||
      !AdoptLoadedDriver(Run, Record->ImageHandle)) {
    return FALSE;
  }
  const HOST_LOADED_IMAGE_PROTOCOL *Image = Run->Load.LoadedImage;
  Check(NamesVolumeFile(Image->FilePath, DriverName), "driver image's file path is its FFS file", "%s",
        NamesVolumeFile(Image->FilePath, DriverName) ? "firmware-volume file node of the driver's file name"
                                                      : "another path");
  return CheckHex("driver image's device is the processed volume", reinterpret_cast<UINT64>(Volume),
                  reinterpret_cast<UINT64>(Image->DeviceHandle));
}

BOOLEAN FindDriverInFlash(HOST_RUN *Run) {
  Step("flash");
  Info("driver not read from the boot volume: the DXE core dispatched it from the platform's flash");
  THEME_PROVIDER_PROTOCOL *Record = nullptr;
  EFI_HANDLE RecordHandle = nullptr;
  const UINTN Records = FindDriverRecords(&Record, &RecordHandle);
  if (!Check(Records == 1, "driver's record installed when the DXE core dispatched it", "%llu record(s) naming an image",
             (UINT64)Records) ||
      !AdoptLoadedDriver(Run, Record->ImageHandle)) {
    return FALSE;
  }
  const HOST_LOADED_IMAGE_PROTOCOL *Image = Run->Load.LoadedImage;
  Check(NamesVolumeFile(Image->FilePath, kDriverFileName), "driver image's file path is its FFS file", "%s",
        NamesVolumeFile(Image->FilePath, kDriverFileName)
            ? "firmware-volume file node {18648078-9134-4CE3-B85F-D48F695A6510}"
            : "not the firmware-volume file node of the driver's file name");
  VOID *Volume = nullptr;
  const EFI_STATUS Status = gHostBootServices->HandleProtocol(Image->DeviceHandle, &kFirmwareVolume2Guid, &Volume);
  return Check(!EFI_ERROR(Status), "driver image's device is a firmware volume", "firmware-volume interface: status 0x%llX",
               Status);
}
