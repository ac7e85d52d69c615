#include "tests/firmware/host/DriverLoader.h"

#include "tests/firmware/host/Checks.h"
#include "tests/firmware/host/HostFirmware.h"
#include "tests/firmware/host/ShippingFirmware.h"

namespace {

const EFI_GUID kLoadedImageGuid = HOST_LOADED_IMAGE_PROTOCOL_GUID;
const EFI_GUID kFileSystemGuid = HOST_SIMPLE_FILE_SYSTEM_PROTOCOL_GUID;
const EFI_GUID kFileInfoGuid = HOST_FILE_INFO_GUID;
const EFI_GUID kDevicePathGuid = HOST_DEVICE_PATH_PROTOCOL_GUID;

constexpr UINTN kMaxDriverSize = 64u * 1024 * 1024;

BOOLEAN ReadFailed(DRIVER_LOAD *Load, const char *Step, EFI_STATUS Status) {
  Load->ReadFailure = Step;
  Load->ReadStatus = Status;
  return FALSE;
}

UINT16 NodeLength(const HOST_DEVICE_PATH_NODE *Node) { return (UINT16)(Node->Length[0] | (Node->Length[1] << 8)); }

// The device's path followed by a file-path node for Path; its size in *Size.
EFI_DEVICE_PATH_PROTOCOL *FileDevicePath(EFI_HANDLE Device, const CHAR16 *Path, UINTN *Size) {
  VOID *Interface = nullptr;
  if (Device == nullptr || EFI_ERROR(gHostBootServices->HandleProtocol(Device, &kDevicePathGuid, &Interface))) {
    return nullptr;
  }
  const UINT8 *Start = static_cast<const UINT8 *>(Interface);
  UINTN Prefix = 0;
  for (UINTN Nodes = 0; Nodes < 256; Nodes++) {
    const HOST_DEVICE_PATH_NODE *Node = reinterpret_cast<const HOST_DEVICE_PATH_NODE *>(Start + Prefix);
    if (Node->Type == HOST_DEVICE_PATH_END || NodeLength(Node) < sizeof(HOST_DEVICE_PATH_NODE)) {
      break;
    }
    Prefix += NodeLength(Node);
  }
  UINTN PathChars = 0;
  while (Path[PathChars] != 0) {
    PathChars++;
  }
  const UINTN FileNode = sizeof(HOST_DEVICE_PATH_NODE) + (PathChars + 1) * sizeof(CHAR16);
  UINT8 *Result = static_cast<UINT8 *>(AllocateHostPool(Prefix + FileNode + sizeof(HOST_DEVICE_PATH_NODE)));
  if (Result == nullptr) {
    return nullptr;
  }
  CopyBytes(Result, Start, Prefix);
  HOST_DEVICE_PATH_NODE *Node = reinterpret_cast<HOST_DEVICE_PATH_NODE *>(Result + Prefix);
  *Node = HOST_DEVICE_PATH_NODE{HOST_DEVICE_PATH_MEDIA, HOST_DEVICE_PATH_MEDIA_FILE_PATH,
                                {(UINT8)(FileNode & 0xFF), (UINT8)(FileNode >> 8)}};
  CopyBytes(Result + Prefix + sizeof(HOST_DEVICE_PATH_NODE), Path, (PathChars + 1) * sizeof(CHAR16));
  HOST_DEVICE_PATH_NODE *End = reinterpret_cast<HOST_DEVICE_PATH_NODE *>(Result + Prefix + FileNode);
  *End = HOST_DEVICE_PATH_NODE{HOST_DEVICE_PATH_END, HOST_DEVICE_PATH_END_ENTIRE, {4, 0}};
  *Size = Prefix + FileNode + sizeof(HOST_DEVICE_PATH_NODE);
  return Result;
}

}  // namespace

HOST_LOADED_IMAGE_PROTOCOL *LoadedImageOf(EFI_HANDLE Handle, EFI_STATUS *Status) {
  VOID *Interface = nullptr;
  const EFI_STATUS Found = gHostBootServices->HandleProtocol(Handle, &kLoadedImageGuid, &Interface);
  if (Status != nullptr) {
    *Status = Found;
  }
  return EFI_ERROR(Found) ? nullptr : static_cast<HOST_LOADED_IMAGE_PROTOCOL *>(Interface);
}

BOOLEAN InsideLoadedImage(const HOST_LOADED_IMAGE_PROTOCOL *Image, const VOID *Address) {
  if (Image == nullptr) {
    return FALSE;
  }
  const UINT64 Base = reinterpret_cast<UINT64>(Image->ImageBase);
  const UINT64 At = reinterpret_cast<UINT64>(Address);
  return At >= Base && At < Base + Image->ImageSize;
}

BOOLEAN ReportDriverImage(const HOST_LOADED_IMAGE_PROTOCOL *Image) {
  Info("driver image at 0x%llX, %llu bytes", reinterpret_cast<UINT64>(Image->ImageBase), Image->ImageSize);
  return CheckDec("driver loaded as a boot-service driver: code memory type", EfiBootServicesCode,
                  Image->ImageCodeType);
}

EFI_DEVICE_PATH_PROTOCOL *BootFileDevicePath(const CHAR16 *Path, UINTN *Size) {
  HOST_LOADED_IMAGE_PROTOCOL *Self = LoadedImageOf(gHostImageHandle);
  return Self != nullptr ? FileDevicePath(Self->DeviceHandle, Path, Size) : nullptr;
}

BOOLEAN ReadDriverFile(DRIVER_LOAD *Load) {
  HOST_LOADED_IMAGE_PROTOCOL *Self = LoadedImageOf(gHostImageHandle);
  if (Self == nullptr) {
    return ReadFailed(Load, "the host's own loaded-image interface", EFI_NOT_FOUND);
  }
  VOID *Interface = nullptr;
  EFI_STATUS Status = gHostBootServices->HandleProtocol(Self->DeviceHandle, &kFileSystemGuid, &Interface);
  if (EFI_ERROR(Status)) {
    return ReadFailed(Load, "the boot volume's file system", Status);
  }
  auto *FileSystem = static_cast<HOST_SIMPLE_FILE_SYSTEM_PROTOCOL *>(Interface);
  HOST_FILE_PROTOCOL *Root = nullptr;
  Status = FileSystem->OpenVolume(FileSystem, &Root);
  if (EFI_ERROR(Status)) {
    return ReadFailed(Load, "opening the boot volume", Status);
  }
  HOST_FILE_PROTOCOL *File = nullptr;
  Status = Root->Open(Root, &File, Load->Path, HOST_FILE_MODE_READ, 0);
  if (EFI_ERROR(Status)) {
    Root->Close(Root);
    return ReadFailed(Load, "opening the driver file", Status);
  }
  UINT8 InfoBuffer[512];
  UINTN InfoSize = sizeof(InfoBuffer);
  Status = File->GetInfo(File, &kFileInfoGuid, &InfoSize, InfoBuffer);
  const UINT64 FileSize = reinterpret_cast<HOST_FILE_INFO *>(InfoBuffer)->FileSize;
  if (EFI_ERROR(Status) || FileSize == 0 || FileSize > kMaxDriverSize) {
    File->Close(File);
    Root->Close(Root);
    return ReadFailed(Load, "the driver file's size", EFI_ERROR(Status) ? Status : EFI_LOAD_ERROR);
  }
  Load->File = AllocateHostPool(FileSize);
  UINTN ReadSize = FileSize;
  Status = Load->File != nullptr ? File->Read(File, &ReadSize, Load->File) : EFI_OUT_OF_RESOURCES;
  File->Close(File);
  Root->Close(Root);
  if (EFI_ERROR(Status) || ReadSize != FileSize) {
    return ReadFailed(Load, "reading the driver file", EFI_ERROR(Status) ? Status : EFI_LOAD_ERROR);
  }
  Load->FileSize = FileSize;
  Load->ReadStatus = EFI_SUCCESS;
  return TRUE;
}

BOOLEAN LoadDriverImage(DRIVER_LOAD *Load) {
  UINTN PathSize = 0;
  EFI_DEVICE_PATH_PROTOCOL *Path = BootFileDevicePath(Load->Path, &PathSize);
  Load->HasDevicePath = Path != nullptr;
  Load->LoadStatus = gHostBootServices->LoadImage(FALSE, gHostImageHandle, Path, Load->File, Load->FileSize,
                                                  &Load->ImageHandle);
  FreeHostPool(Path);
  if (EFI_ERROR(Load->LoadStatus)) {
    // Some firmware refuses an image under Secure Boot and still hands out
    // its handle: nothing may be left loaded.
    if (Load->ImageHandle != nullptr) {
      UnloadImageService(gHostBootServices)(Load->ImageHandle);
      Load->ImageHandle = nullptr;
      Load->RefusedHandleUnloaded = TRUE;
    }
    return FALSE;
  }
  Load->LoadedImage = LoadedImageOf(Load->ImageHandle);
  return TRUE;
}

BOOLEAN StartDriverImage(DRIVER_LOAD *Load) {
  Load->StartStatus = gHostBootServices->StartImage(Load->ImageHandle, nullptr, nullptr);
  Load->Started = TRUE;
  return !EFI_ERROR(Load->StartStatus);
}
