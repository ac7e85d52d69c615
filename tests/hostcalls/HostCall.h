// One call into a host table as a host keeps it: the slot, the arguments and
// a copy of the record passed by address, taken before the call so that it
// can be printed later in the notation of the styling tables. Freestanding:
// the recording host of the unit tests and the reference host in real
// firmware share it.
#pragma once

#include "host/HostSlotTraps.h"
#include "host/ThemeProviderProtocol.h"

enum class HostUiSlot : UINT8 {
#define HOST_UI_SLOT(Number, Name, Type) Name = Number,
#include "host/HostUiSlots.def"
#undef HOST_UI_SLOT
};

enum class HostServicesSlot : UINT8 {
#define HOST_SERVICES_SLOT(Number, Name, Type) Name = Number,
#include "host/HostServicesSlots.def"
#undef HOST_SERVICES_SLOT
};

// The operation's name, or null for a slot the lists do not name.
const char *HostSlotName(UINT8 Table, UINT8 Slot);

// How an argument or result is printed.
constexpr UINT8 kHostValueNumber = 0;        // small decimal, large hex; a named handle by its name
constexpr UINT8 kHostValueSigned = 1;        // decimal with sign
constexpr UINT8 kHostValueHex = 2;           // always hex (brushes)
constexpr UINT8 kHostValuePointer = 3;       // by name; out-parameters stay pointers
constexpr UINT8 kHostValueStateBrushes = 4;  // [0x1001, keep, 0, 0x1002]
constexpr UINT8 kHostValueDecoration = 5;    // Object, Kind, [six values]
constexpr UINT8 kHostValueObjectArea = 6;    // {Horizontal h, Vertical v}
constexpr UINT8 kHostValueRect = 7;          // {Left, Top, Right, Bottom}
constexpr UINT8 kHostValueText = 8;          // "text"

#define HOST_CALL_MAX_ARGUMENTS 10
#define HOST_CALL_RECORD_BYTES 64  // the largest record, DECORATION_DESC
#define HOST_CALL_TEXT_LENGTH (HOST_CALL_RECORD_BYTES / sizeof(CHAR16))

// Every record a call copies fits.
static_assert(sizeof(DECORATION_DESC) <= HOST_CALL_RECORD_BYTES);
static_assert(sizeof(STATE_BRUSHES) <= HOST_CALL_RECORD_BYTES);
static_assert(sizeof(OBJECT_AREA) <= HOST_CALL_RECORD_BYTES);
static_assert(sizeof(HOST_RECT) <= HOST_CALL_RECORD_BYTES);

typedef struct {
  UINT8 Table;
  UINT8 Slot;
  UINT8 ArgumentCount;
  UINT8 Kind[HOST_CALL_MAX_ARGUMENTS];
  UINT64 Argument[HOST_CALL_MAX_ARGUMENTS];
  BOOLEAN RecordTaken;
  alignas(8) UINT8 Record[HOST_CALL_RECORD_BYTES];  // a copy of the one input record or text
  BOOLEAN Returned;
  UINT8 ResultKind;
  UINT64 Result;
} HOST_CALL;

// Gives a pointer or handle the name a test or host chose for it; returns
// FALSE when it has none.
typedef BOOLEAN (*HOST_CALL_NAMER)(VOID *Context, UINT64 Value, CHAR8 *Name, UINTN Capacity);

// Writes "Operation(arguments)" and, once a result was taken, " -> result".
// Always terminates Buffer; returns the length written.
UINTN FormatHostCall(const HOST_CALL *Call, HOST_CALL_NAMER Namer, VOID *Context, CHAR8 *Buffer, UINTN Capacity);

// The argument of an operation that the host writes rather than reads.
BOOLEAN IsOutputArgument(UINT8 Table, UINT8 Slot, UINTN Index);

namespace host_call {

struct ARGUMENT {
  UINT8 Kind;
  UINT64 Value;
  const VOID *Record;
  UINTN RecordBytes;
};

inline ARGUMENT Classify(STATE_BRUSHES *Brushes) { return {kHostValueStateBrushes, (UINT64)(UINTN)Brushes, Brushes, sizeof(*Brushes)}; }
inline ARGUMENT Classify(DECORATION_DESC *Descriptor) { return {kHostValueDecoration, (UINT64)(UINTN)Descriptor, Descriptor, sizeof(*Descriptor)}; }
inline ARGUMENT Classify(OBJECT_AREA *Area) { return {kHostValueObjectArea, (UINT64)(UINTN)Area, Area, sizeof(*Area)}; }
inline ARGUMENT Classify(HOST_RECT *Rect) { return {kHostValueRect, (UINT64)(UINTN)Rect, Rect, sizeof(*Rect)}; }
inline ARGUMENT Classify(const CHAR16 *Text) { return {kHostValueText, (UINT64)(UINTN)Text, Text, 0}; }
inline ARGUMENT Classify(CHAR16 *Text) { return Classify(static_cast<const CHAR16 *>(Text)); }
template <typename T>
ARGUMENT Classify(T *Pointer) {
  return {kHostValuePointer, (UINT64)reinterpret_cast<UINTN>(Pointer), nullptr, 0};
}
template <typename T>
ARGUMENT Classify(T Value) {
  if constexpr (static_cast<T>(-1) < static_cast<T>(0)) {
    return {kHostValueSigned, (UINT64)(INT64)Value, nullptr, 0};
  } else {
    return {kHostValueNumber, (UINT64)Value, nullptr, 0};
  }
}

void Store(HOST_CALL *Call, UINTN Index, const ARGUMENT &Argument);

}  // namespace host_call

// Fills Call from the arguments as the operation received them, copying an
// input record (or text) before the host acts on it.
template <typename... Arguments>
void CaptureHostCall(HOST_CALL *Call, UINT8 Table, UINT8 Slot, Arguments... Values) {
  static_assert(sizeof...(Arguments) <= HOST_CALL_MAX_ARGUMENTS);
  *Call = HOST_CALL{};
  Call->Table = Table;
  Call->Slot = Slot;
  Call->ArgumentCount = sizeof...(Arguments);
  [[maybe_unused]] UINTN Index = 0;
  (host_call::Store(Call, Index++, host_call::Classify(Values)), ...);
}

// Adds the operation's result, printed as its type and slot call for.
template <typename Result>
void CaptureHostResult(HOST_CALL *Call, Result Value) {
  const host_call::ARGUMENT Argument = host_call::Classify(Value);
  const bool IsBrush = Call->Table == kHostTableUi && Call->Slot == (UINT8)HostUiSlot::MakeBrush;
  Call->Returned = TRUE;
  Call->ResultKind = IsBrush ? kHostValueHex : Argument.Kind;
  Call->Result = Argument.Value;
}
