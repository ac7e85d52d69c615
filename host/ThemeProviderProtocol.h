// The theme-provider record: the one interface the plug-in shares with the
// setup-screen host. The host locates it by GUID, writes its three table
// pointers into it, and calls its seven operations. Layout only.
#pragma once

#include "host/HostServicesTable.h"
#include "host/HostUiTable.h"

// {80791D1B-D38B-44E9-9AC1-A4E0C90C6E06}
#define THEME_PROVIDER_PROTOCOL_GUID \
  {0x80791D1B, 0xD38B, 0x44E9, {0x9A, 0xC1, 0xA4, 0xE0, 0xC9, 0x0C, 0x6E, 0x06}}

#define THEME_PROVIDER_VERSION 40u
#define THEME_PROVIDER_SIGNATURE 0x454D4854u  // "THME" in memory order
#define THEME_PROVIDER_RETIRED 0x4C4C554Eu    // "NULL" in memory order
#define THEME_NAME_LENGTH 32

// Slot 0. Lifecycle notification Type 0..3; other types: EFI_INVALID_PARAMETER.
typedef EFI_STATUS(EFIAPI *THEME_NOTIFY)(UINT32 Type);
// Slot 1. Palette colour at Index (ARGB), 0 outside 0..115.
typedef UINT32(EFIAPI *THEME_GET_COLOR)(INT32 Index);
// Slot 2. Theme image id replacing a host image, 0 when there is none.
typedef UINTN(EFIAPI *THEME_MAP_IMAGE)(UINT32 HostImageId);
// Slot 3. Styles one host object; always returns 0.
typedef UINTN(EFIAPI *THEME_STYLE_OBJECT)(UINT64 Object, UINT16 Class, UINT16 PartCode, UINT32 ObjectId);
// Slot 4. A theme metric, or Default for ids the theme does not define.
typedef UINT64(EFIAPI *THEME_GET_VALUE)(INT32 Id, UINT64 Default);
// Slot 5. Has the host scale layout rectangle Index into caller-owned Buffer.
typedef EFI_STATUS(EFIAPI *THEME_GET_RECT)(INT32 Index, VOID *Buffer);
// Slot 6. Reserved; reads and writes nothing, returns 0.
typedef UINTN(EFIAPI *THEME_RESERVED)(VOID);

typedef struct THEME_PROVIDER_PROTOCOL {
  CHAR16 Name[THEME_NAME_LENGTH];
  UINT32 Version;
  UINT32 Signature;
  EFI_HANDLE ImageHandle;
  UINT64 Reserved1;
  THEME_IMAGE *ImageTable;  // written by the host; entry n at n * 32 bytes
  UINT64 ThemeInfo;
  HOST_UI_TABLE *UiTable;              // written by the host
  HOST_SERVICES_TABLE *ServiceTable;  // written by the host
  UINT64 Reserved2;
  THEME_NOTIFY Notify;
  THEME_GET_COLOR GetColor;
  THEME_MAP_IMAGE MapImage;
  THEME_STYLE_OBJECT StyleObject;
  THEME_GET_VALUE GetValue;
  THEME_GET_RECT GetRect;
  THEME_RESERVED Reserved;
} THEME_PROVIDER_PROTOCOL;
static_assert(sizeof(THEME_PROVIDER_PROTOCOL) == 184);
static_assert(offsetof(THEME_PROVIDER_PROTOCOL, Name) == 0);
static_assert(offsetof(THEME_PROVIDER_PROTOCOL, Version) == 64);
static_assert(offsetof(THEME_PROVIDER_PROTOCOL, Signature) == 68);
static_assert(offsetof(THEME_PROVIDER_PROTOCOL, ImageHandle) == 72);
static_assert(offsetof(THEME_PROVIDER_PROTOCOL, Reserved1) == 80);
static_assert(offsetof(THEME_PROVIDER_PROTOCOL, ImageTable) == 88);
static_assert(offsetof(THEME_PROVIDER_PROTOCOL, ThemeInfo) == 96);
static_assert(offsetof(THEME_PROVIDER_PROTOCOL, UiTable) == 104);
static_assert(offsetof(THEME_PROVIDER_PROTOCOL, ServiceTable) == 112);
static_assert(offsetof(THEME_PROVIDER_PROTOCOL, Reserved2) == 120);
static_assert(offsetof(THEME_PROVIDER_PROTOCOL, Notify) == 128);
static_assert(offsetof(THEME_PROVIDER_PROTOCOL, GetColor) == 136);
static_assert(offsetof(THEME_PROVIDER_PROTOCOL, MapImage) == 144);
static_assert(offsetof(THEME_PROVIDER_PROTOCOL, StyleObject) == 152);
static_assert(offsetof(THEME_PROVIDER_PROTOCOL, GetValue) == 160);
static_assert(offsetof(THEME_PROVIDER_PROTOCOL, GetRect) == 168);
static_assert(offsetof(THEME_PROVIDER_PROTOCOL, Reserved) == 176);

extern "C" {
extern const EFI_GUID gThemeProviderProtocolGuid;
}
