// The memory-log channel. Every access to the window goes through the
// processor primitives, one volatile access of the stated width each.
#include "platform/MemoryLog.h"

#include "platform/Cpu.h"
#include "platform/DebugSettings.h"

namespace {

constexpr UINT32 kApicBaseMsr = 0x1B;
constexpr UINT64 kBootstrapProcessor = 1ULL << 8;

// Only the bootstrap processor touches the log; there is no lock.
BOOLEAN OnBootstrapProcessor() { return (ReadMsr(kApicBaseMsr) & kBootstrapProcessor) != 0; }

struct WidthCode {
  UINT32 Code;
  UINT32 Bytes;
};

// Width codes in the order of the table they come from; each has a twin
// with bit 7 set.
constexpr WidthCode kWidthCodes[] = {
    {1, 1}, {129, 1},
    {2, 2}, {130, 2},
    {3, 4}, {131, 4},
};

UINT32 BytesOfWidth(UINT32 Code) {
  for (const WidthCode &Row : kWidthCodes) {
    if (Row.Code == Code) {
      return Row.Bytes;
    }
  }
  return 0;
}

}  // namespace

void StoreByWidth(UINT32 Code, UINTN WindowOffset, const VOID *Source) {
  switch (BytesOfWidth(Code)) {
    case 1:
      WindowWrite8(WindowOffset, *static_cast<const UINT8 *>(Source));
      return;
    case 2: {
      UINT16 Value;
      CopyMem(&Value, Source, sizeof(Value));
      WindowWrite16(WindowOffset, Value);
      return;
    }
    case 4: {
      UINT32 Value;
      CopyMem(&Value, Source, sizeof(Value));
      WindowWrite32(WindowOffset, Value);
      return;
    }
    default:
      ReportFailure(FATAL_UNKNOWN_STORE_WIDTH);
      return;
  }
}

BOOLEAN MemoryLogIsValid() {
  if (!OnBootstrapProcessor()) {
    return FALSE;
  }
  if (WindowRead32(MEMORY_LOG_SIGNATURE_AT) != MEMORY_LOG_SIGNATURE ||
      WindowRead32(MEMORY_LOG_MARKER1_AT) != MEMORY_LOG_MARKER1 ||
      WindowRead32(MEMORY_LOG_MARKER2_AT) != MEMORY_LOG_MARKER2) {
    return FALSE;
  }
  return WindowRead32(MEMORY_LOG_WRITE_OFFSET_AT) <= DIAG_WINDOW_SIZE;
}

void MemoryLogInitialize() {
  if (!OnBootstrapProcessor() || MemoryLogIsValid()) {
    return;
  }
  WindowWrite32(MEMORY_LOG_SIGNATURE_AT, MEMORY_LOG_SIGNATURE);
  if (WindowRead32(MEMORY_LOG_SIGNATURE_AT) != MEMORY_LOG_SIGNATURE) {
    return;  // no memory that keeps what is written
  }
  WindowWrite32(MEMORY_LOG_MARKER1_AT, MEMORY_LOG_MARKER1);
  WindowWrite32(MEMORY_LOG_MARKER2_AT, MEMORY_LOG_MARKER2);
  WindowWrite32(MEMORY_LOG_WRITE_OFFSET_AT, 0);
  for (UINTN Position = 0; Position < MEMORY_LOG_DATA_SIZE; Position++) {
    WindowWrite8(MEMORY_LOG_DATA_AT + Position, 0);
  }
}

namespace {

// Drops the oldest bytes: the rest moves to the start of the data area in
// ascending order (the target lies below the source) and the freed tail is
// cleared. Returns the new number of bytes in use.
UINT32 DiscardOldest(UINT32 InUse) {
  const UINT32 Kept = InUse - MEMORY_LOG_DISCARD;
  for (UINT32 Position = 0; Position < Kept; Position++) {
    WindowWrite8(MEMORY_LOG_DATA_AT + Position, WindowRead8(MEMORY_LOG_DATA_AT + MEMORY_LOG_DISCARD + Position));
  }
  for (UINT32 Position = Kept; Position < MEMORY_LOG_DATA_SIZE; Position++) {
    WindowWrite8(MEMORY_LOG_DATA_AT + Position, 0);
  }
  return Kept;
}

}  // namespace

// A message longer than the data area is dropped at once, the sums are
// taken in 64 bits, and a header that counts bytes beyond the data area is
// read as a full one, so no length or header reaches outside the window; a
// message that one discard cannot make room for is dropped before anything
// moves, so WriteOffset keeps describing the bytes in use.
void MemoryLogWrite(const UINT8 *Data, UINTN Length) {
  if (!MemoryLogIsValid()) {
    return;
  }
  if (Length > MEMORY_LOG_DATA_SIZE) {
    ReportFailure(FATAL_MEMORY_LOG_MESSAGE_TOO_LONG);
    return;  // never fits; a length near 2^64 would wrap the sum below
  }
  UINT32 Offset = WindowRead32(MEMORY_LOG_WRITE_OFFSET_AT);
  if (Offset > MEMORY_LOG_DATA_SIZE) {
    Offset = MEMORY_LOG_DATA_SIZE;
  }
  if ((UINT64)Offset + Length > MEMORY_LOG_DATA_SIZE) {
    if (Offset < MEMORY_LOG_DISCARD || (UINT64)Offset - MEMORY_LOG_DISCARD + Length > MEMORY_LOG_DATA_SIZE) {
      return;
    }
    Offset = DiscardOldest(Offset);
  }
  for (UINTN Index = 0; Index < Length; Index++) {
    WindowWrite8(MEMORY_LOG_DATA_AT + Offset + Index, Data[Index]);
  }
  const UINT32 InUse = Offset + (UINT32)Length;
  StoreByWidth(STORE_WIDTH_32, MEMORY_LOG_WRITE_OFFSET_AT, &InUse);
}
