// MemoryLogWrite on any header and any length, in the simulated window.
// The machine aborts on any access outside the window; this target checks
// that a valid log keeps its offset within the data area, that a message of
// up to 0x3FFFF0 bytes is always stored, and that a stored message lies
// right before the new offset. Input: WriteOffset (4 bytes), length (5
// bytes), flags (1 byte), then the message bytes, repeated to fill it.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fakes/SimulatedMachine.h"
#include "fuzz/FreshState.h"
#include "platform/DebugSettings.h"
#include "platform/MemoryLog.h"

namespace {

constexpr UINT64 kAlwaysStored = 0x3FFFF0;

UINT64 Read(const uint8_t *Data, size_t Bytes) {
  UINT64 Value = 0;
  for (size_t Index = 0; Index < Bytes; Index++) {
    Value |= (UINT64)Data[Index] << (8 * Index);
  }
  return Value;
}

void Check(bool Holds, const char *What) {
  if (!Holds) {
    fprintf(stderr, "memory log: %s\n", What);
    abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size) {
  constexpr size_t kHeader = 10;
  if (Size < kHeader + 1) {
    return 0;
  }
  static SimulatedMachine *Machine = new SimulatedMachine;
  // Big enough for any message that can be stored; a longer length points
  // past it, so reading a message that should be dropped is caught.
  static UINT8 *Message = new UINT8[MEMORY_LOG_DATA_SIZE];
  RestoreFreshDriverState();
  Machine->ClearObservations();
  Machine->WindowLogLimit = 0;
  Machine->ProbeSi = 1;

  const UINT32 WriteOffset = (UINT32)Read(Data, 4);
  const UINT64 Length = Read(Data + 4, 5) % (2 * (UINT64)DIAG_WINDOW_SIZE) |
                        ((Data[9] & 4) != 0 ? 1ULL << 32 : 0);
  const bool Bootstrap = (Data[9] & 1) == 0;
  gDebugSettings.HaltOnError = (Data[9] >> 1) & 1;
  Machine->AnswerMsr(0x1B, Bootstrap ? 0x100 : 0);
  Machine->Poke32(MEMORY_LOG_SIGNATURE_AT, MEMORY_LOG_SIGNATURE);
  Machine->Poke32(MEMORY_LOG_MARKER1_AT, MEMORY_LOG_MARKER1);
  Machine->Poke32(MEMORY_LOG_WRITE_OFFSET_AT, WriteOffset);
  Machine->Poke32(MEMORY_LOG_MARKER2_AT, MEMORY_LOG_MARKER2);
  // The message bytes repeated, by doubling copies: a byte loop over 16 MiB
  // would cost more than the code under test.
  const size_t Filled = Length < MEMORY_LOG_DATA_SIZE ? Length : MEMORY_LOG_DATA_SIZE;
  size_t Done = Size - kHeader < Filled ? Size - kHeader : Filled;
  memcpy(Message, Data + kHeader, Done);
  while (Done < Filled) {
    const size_t Step = Done < Filled - Done ? Done : Filled - Done;
    memcpy(Message + Done, Message, Step);
    Done += Step;
  }

  MemoryLogWrite(Message, Length);

  const bool Valid = Bootstrap && WriteOffset <= DIAG_WINDOW_SIZE;
  const UINT32 After = Machine->Peek32(MEMORY_LOG_WRITE_OFFSET_AT);
  if (!Valid || Machine->WindowWrites == 0) {
    Check(!Valid || Length > kAlwaysStored, "a message that always fits was dropped");
    Check(After == WriteOffset, "a dropped message changed the offset");
    return 0;
  }
  Check(After <= MEMORY_LOG_DATA_SIZE, "offset beyond the data area");
  Check(After >= Length, "offset does not cover the message");
  Check(memcmp(&Machine->Window[MEMORY_LOG_DATA_AT + After - Length], Message, Length) == 0,
        "the message is not right before the offset");
  return 0;
}
