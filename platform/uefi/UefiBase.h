// UEFI base types and the calling convention shared by the driver, the host
// tests and the reference host. Layout only; no behaviour.
#pragma once

#include <stddef.h>
#include <stdint.h>

#if defined(__x86_64__) && !defined(_WIN32)
// A native (System V) host build: every cross-module operation still uses
// the Microsoft x64 convention, so tests exercise the real calling sequence.
#define EFIAPI __attribute__((ms_abi))
#define EFI_VA_LIST __builtin_ms_va_list
#define EFI_VA_START(List, Last) __builtin_ms_va_start(List, Last)
#define EFI_VA_ARG(List, Type) __builtin_va_arg(List, Type)
#define EFI_VA_END(List) __builtin_ms_va_end(List)
#else
#define EFIAPI
#define EFI_VA_LIST __builtin_va_list
#define EFI_VA_START(List, Last) __builtin_va_start(List, Last)
#define EFI_VA_ARG(List, Type) __builtin_va_arg(List, Type)
#define EFI_VA_END(List) __builtin_va_end(List)
#endif

typedef uint8_t UINT8;
typedef uint16_t UINT16;
typedef uint32_t UINT32;
typedef uint64_t UINT64;
typedef int8_t INT8;
typedef int16_t INT16;
typedef int32_t INT32;
typedef int64_t INT64;
typedef uint64_t UINTN;
typedef int64_t INTN;
typedef uint8_t BOOLEAN;
typedef char16_t CHAR16;
typedef char CHAR8;
typedef void VOID;

typedef UINTN EFI_STATUS;
typedef VOID *EFI_HANDLE;
typedef VOID *EFI_EVENT;
typedef UINTN EFI_TPL;
typedef UINT64 EFI_PHYSICAL_ADDRESS;

static_assert(sizeof(UINTN) == sizeof(VOID *), "x86-64 only");

#define TRUE ((BOOLEAN)1)
#define FALSE ((BOOLEAN)0)

#define EFI_ERROR_BIT 0x8000000000000000ULL
#define EFI_SUCCESS ((EFI_STATUS)0)
#define EFI_LOAD_ERROR ((EFI_STATUS)(EFI_ERROR_BIT | 1))
#define EFI_INVALID_PARAMETER ((EFI_STATUS)(EFI_ERROR_BIT | 2))
#define EFI_UNSUPPORTED ((EFI_STATUS)(EFI_ERROR_BIT | 3))
#define EFI_BUFFER_TOO_SMALL ((EFI_STATUS)(EFI_ERROR_BIT | 5))
#define EFI_OUT_OF_RESOURCES ((EFI_STATUS)(EFI_ERROR_BIT | 9))
#define EFI_NOT_FOUND ((EFI_STATUS)(EFI_ERROR_BIT | 14))
#define EFI_ABORTED ((EFI_STATUS)(EFI_ERROR_BIT | 21))

#define EFI_ERROR(Status) (((EFI_STATUS)(Status) & EFI_ERROR_BIT) != 0)

typedef struct {
  UINT32 Data1;
  UINT16 Data2;
  UINT16 Data3;
  UINT8 Data4[8];
} EFI_GUID;
static_assert(sizeof(EFI_GUID) == 16);
static_assert(offsetof(EFI_GUID, Data1) == 0);
static_assert(offsetof(EFI_GUID, Data2) == 4);
static_assert(offsetof(EFI_GUID, Data3) == 6);
static_assert(offsetof(EFI_GUID, Data4) == 8);

// Compares two GUIDs as two 64-bit halves, the way firmware code does.
// The fixed-size copies compile to plain loads, never to a library call.
inline BOOLEAN GuidEquals(const EFI_GUID *A, const EFI_GUID *B) {
  UINT64 HalvesA[2];
  UINT64 HalvesB[2];
  __builtin_memcpy(HalvesA, A, sizeof(HalvesA));
  __builtin_memcpy(HalvesB, B, sizeof(HalvesB));
  return (BOOLEAN)(HalvesA[0] == HalvesB[0] && HalvesA[1] == HalvesB[1]);
}

typedef struct {
  UINT64 Signature;
  UINT32 Revision;
  UINT32 HeaderSize;
  UINT32 CRC32;
  UINT32 Reserved;
} EFI_TABLE_HEADER;
static_assert(sizeof(EFI_TABLE_HEADER) == 24);
static_assert(offsetof(EFI_TABLE_HEADER, Signature) == 0);
static_assert(offsetof(EFI_TABLE_HEADER, Revision) == 8);
static_assert(offsetof(EFI_TABLE_HEADER, HeaderSize) == 12);
static_assert(offsetof(EFI_TABLE_HEADER, CRC32) == 16);
static_assert(offsetof(EFI_TABLE_HEADER, Reserved) == 20);
