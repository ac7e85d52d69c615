// The standard UEFI and PI interfaces that the reference host uses beyond
// the system table: loaded image, file system, device path, graphics output,
// HII package lists, the PCD protocols and the HOB list. Written here from
// the published layouts, not taken from the driver's sources, so that the
// host checks the driver against its own reading of them. Layout only; no
// behaviour.
#pragma once

#include "platform/uefi/SystemTable.h"

// {5B1B31A1-9562-11D2-8E3F-00A0C969723B}
#define HOST_LOADED_IMAGE_PROTOCOL_GUID \
  {0x5B1B31A1, 0x9562, 0x11D2, {0x8E, 0x3F, 0x00, 0xA0, 0xC9, 0x69, 0x72, 0x3B}}
// {964E5B22-6459-11D2-8E39-00A0C969723B}
#define HOST_SIMPLE_FILE_SYSTEM_PROTOCOL_GUID \
  {0x964E5B22, 0x6459, 0x11D2, {0x8E, 0x39, 0x00, 0xA0, 0xC9, 0x69, 0x72, 0x3B}}
// {09576E92-6D3F-11D2-8E39-00A0C969723B}
#define HOST_FILE_INFO_GUID \
  {0x09576E92, 0x6D3F, 0x11D2, {0x8E, 0x39, 0x00, 0xA0, 0xC9, 0x69, 0x72, 0x3B}}
// {09576E91-6D3F-11D2-8E39-00A0C969723B}
#define HOST_DEVICE_PATH_PROTOCOL_GUID \
  {0x09576E91, 0x6D3F, 0x11D2, {0x8E, 0x39, 0x00, 0xA0, 0xC9, 0x69, 0x72, 0x3B}}
// {9042A9DE-23DC-4A38-96FB-7ADED080516A}
#define HOST_GRAPHICS_OUTPUT_PROTOCOL_GUID \
  {0x9042A9DE, 0x23DC, 0x4A38, {0x96, 0xFB, 0x7A, 0xDE, 0xD0, 0x80, 0x51, 0x6A}}
// {6A1EE763-D47A-43B4-AABE-EF1DE2AB56FC}
#define HOST_HII_PACKAGE_LIST_PROTOCOL_GUID \
  {0x6A1EE763, 0xD47A, 0x43B4, {0xAA, 0xBE, 0xEF, 0x1D, 0xE2, 0xAB, 0x56, 0xFC}}

typedef struct {
  UINT32 Revision;
  EFI_HANDLE ParentHandle;
  EFI_SYSTEM_TABLE *SystemTable;
  EFI_HANDLE DeviceHandle;
  EFI_DEVICE_PATH_PROTOCOL *FilePath;
  VOID *Reserved;
  UINT32 LoadOptionsSize;
  VOID *LoadOptions;
  VOID *ImageBase;
  UINT64 ImageSize;
  EFI_MEMORY_TYPE ImageCodeType;
  EFI_MEMORY_TYPE ImageDataType;
  VOID *Unload;
} HOST_LOADED_IMAGE_PROTOCOL;
static_assert(offsetof(HOST_LOADED_IMAGE_PROTOCOL, DeviceHandle) == 24);
static_assert(offsetof(HOST_LOADED_IMAGE_PROTOCOL, FilePath) == 32);
static_assert(offsetof(HOST_LOADED_IMAGE_PROTOCOL, ImageBase) == 64);
static_assert(offsetof(HOST_LOADED_IMAGE_PROTOCOL, ImageSize) == 72);
static_assert(offsetof(HOST_LOADED_IMAGE_PROTOCOL, ImageCodeType) == 80);

// Device path nodes: a 4-byte header, then node data.
typedef struct {
  UINT8 Type;
  UINT8 SubType;
  UINT8 Length[2];
} HOST_DEVICE_PATH_NODE;
static_assert(sizeof(HOST_DEVICE_PATH_NODE) == 4);
#define HOST_DEVICE_PATH_MEDIA 0x04
#define HOST_DEVICE_PATH_MEDIA_FILE_PATH 0x04
#define HOST_DEVICE_PATH_END 0x7F
#define HOST_DEVICE_PATH_END_ENTIRE 0xFF

struct HOST_FILE_PROTOCOL;
typedef struct HOST_FILE_PROTOCOL HOST_FILE_PROTOCOL;

typedef EFI_STATUS(EFIAPI *HOST_FILE_OPEN)(HOST_FILE_PROTOCOL *This, HOST_FILE_PROTOCOL **NewHandle,
                                           const CHAR16 *FileName, UINT64 OpenMode, UINT64 Attributes);
typedef EFI_STATUS(EFIAPI *HOST_FILE_CLOSE)(HOST_FILE_PROTOCOL *This);
typedef EFI_STATUS(EFIAPI *HOST_FILE_READ)(HOST_FILE_PROTOCOL *This, UINTN *BufferSize, VOID *Buffer);
typedef EFI_STATUS(EFIAPI *HOST_FILE_GET_INFO)(HOST_FILE_PROTOCOL *This, const EFI_GUID *InformationType,
                                               UINTN *BufferSize, VOID *Buffer);

struct HOST_FILE_PROTOCOL {
  UINT64 Revision;
  HOST_FILE_OPEN Open;
  HOST_FILE_CLOSE Close;
  VOID *Delete;
  HOST_FILE_READ Read;
  VOID *Write;
  VOID *GetPosition;
  VOID *SetPosition;
  HOST_FILE_GET_INFO GetInfo;
  VOID *SetInfo;
  VOID *Flush;
};
static_assert(offsetof(HOST_FILE_PROTOCOL, Read) == 32);
static_assert(offsetof(HOST_FILE_PROTOCOL, GetInfo) == 64);
#define HOST_FILE_MODE_READ 0x0000000000000001ULL

typedef struct {
  UINT64 Size;
  UINT64 FileSize;
  UINT64 PhysicalSize;
  UINT8 Times[48];
  UINT64 Attribute;
  CHAR16 FileName[1];
} HOST_FILE_INFO;
static_assert(offsetof(HOST_FILE_INFO, FileSize) == 8);
static_assert(offsetof(HOST_FILE_INFO, Attribute) == 72);

struct HOST_SIMPLE_FILE_SYSTEM_PROTOCOL;
typedef EFI_STATUS(EFIAPI *HOST_OPEN_VOLUME)(HOST_SIMPLE_FILE_SYSTEM_PROTOCOL *This, HOST_FILE_PROTOCOL **Root);
struct HOST_SIMPLE_FILE_SYSTEM_PROTOCOL {
  UINT64 Revision;
  HOST_OPEN_VOLUME OpenVolume;
};

typedef struct {
  UINT32 Version;
  UINT32 HorizontalResolution;
  UINT32 VerticalResolution;
} HOST_GRAPHICS_MODE_INFORMATION;

typedef struct {
  UINT32 MaxMode;
  UINT32 Mode;
  HOST_GRAPHICS_MODE_INFORMATION *Info;
  UINTN SizeOfInfo;
  EFI_PHYSICAL_ADDRESS FrameBufferBase;
  UINTN FrameBufferSize;
} HOST_GRAPHICS_OUTPUT_MODE;

typedef struct {
  VOID *QueryMode;
  VOID *SetMode;
  VOID *Blt;
  HOST_GRAPHICS_OUTPUT_MODE *Mode;
} HOST_GRAPHICS_OUTPUT_PROTOCOL;
static_assert(offsetof(HOST_GRAPHICS_OUTPUT_PROTOCOL, Mode) == 24);

// EFI_HII_PACKAGE_LIST_HEADER; the packages follow it.
typedef struct {
  EFI_GUID PackageListGuid;
  UINT32 PackageLength;
} HOST_HII_PACKAGE_LIST_HEADER;
static_assert(sizeof(HOST_HII_PACKAGE_LIST_HEADER) == 20);

// The native PCD protocol: dynamic PCDs read and written by token number.
// {11B34006-D85B-4D0A-A290-D5A571310EF7}
#define HOST_PCD_PROTOCOL_GUID \
  {0x11B34006, 0xD85B, 0x4D0A, {0xA2, 0x90, 0xD5, 0xA5, 0x71, 0x31, 0x0E, 0xF7}}
// The PI PCD protocol; the host only looks for it.
// {13A3F0F6-264A-3EF0-F2E0-DEC512342F34}
#define HOST_PI_PCD_PROTOCOL_GUID \
  {0x13A3F0F6, 0x264A, 0x3EF0, {0xF2, 0xE0, 0xDE, 0xC5, 0x12, 0x34, 0x2F, 0x34}}

typedef UINT8(EFIAPI *HOST_PCD_GET8)(UINTN TokenNumber);
typedef UINT16(EFIAPI *HOST_PCD_GET16)(UINTN TokenNumber);
typedef UINT32(EFIAPI *HOST_PCD_GET32)(UINTN TokenNumber);
typedef UINT64(EFIAPI *HOST_PCD_GET64)(UINTN TokenNumber);
typedef VOID *(EFIAPI *HOST_PCD_GET_POINTER)(UINTN TokenNumber);
typedef BOOLEAN(EFIAPI *HOST_PCD_GET_BOOLEAN)(UINTN TokenNumber);
typedef UINTN(EFIAPI *HOST_PCD_GET_SIZE)(UINTN TokenNumber);

// SetSku and the seven reads by token number, then 23 more operations
// (seven reads by token space, twelve writes, two callback operations and
// two enumerations) that the host passes through untouched.
typedef struct {
  VOID *SetSku;
  HOST_PCD_GET8 Get8;
  HOST_PCD_GET16 Get16;
  HOST_PCD_GET32 Get32;
  HOST_PCD_GET64 Get64;
  HOST_PCD_GET_POINTER GetPtr;
  HOST_PCD_GET_BOOLEAN GetBool;
  HOST_PCD_GET_SIZE GetSize;
  VOID *OtherOperations[23];
} HOST_PCD_PROTOCOL;
static_assert(sizeof(HOST_PCD_PROTOCOL) == 31 * 8);
static_assert(offsetof(HOST_PCD_PROTOCOL, Get8) == 8);
static_assert(offsetof(HOST_PCD_PROTOCOL, Get16) == 16);
static_assert(offsetof(HOST_PCD_PROTOCOL, Get32) == 24);
static_assert(offsetof(HOST_PCD_PROTOCOL, Get64) == 32);
static_assert(offsetof(HOST_PCD_PROTOCOL, GetPtr) == 40);
static_assert(offsetof(HOST_PCD_PROTOCOL, GetBool) == 48);
static_assert(offsetof(HOST_PCD_PROTOCOL, GetSize) == 56);
static_assert(offsetof(HOST_PCD_PROTOCOL, OtherOperations) == 64);

// The HOB list's configuration-table entry.
// {7739F24C-93D7-11D4-9A3A-0090273FC14D}
#define HOST_HOB_LIST_GUID {0x7739F24C, 0x93D7, 0x11D4, {0x9A, 0x3A, 0x00, 0x90, 0x27, 0x3F, 0xC1, 0x4D}}
#define HOST_HOB_TYPE_GUID_EXTENSION 0x0004
#define HOST_HOB_TYPE_END_OF_HOB_LIST 0xFFFF

typedef struct {
  UINT16 HobType;
  UINT16 HobLength;  // of the whole block, this header included
  UINT32 Reserved;
} HOST_HOB_GENERIC_HEADER;
static_assert(sizeof(HOST_HOB_GENERIC_HEADER) == 8);
static_assert(offsetof(HOST_HOB_GENERIC_HEADER, HobLength) == 2);

// A GUID extension HOB up to its data.
typedef struct {
  HOST_HOB_GENERIC_HEADER Header;
  EFI_GUID Name;
} HOST_HOB_GUID_TYPE;
static_assert(sizeof(HOST_HOB_GUID_TYPE) == 24);
static_assert(offsetof(HOST_HOB_GUID_TYPE, Name) == 8);
