// MemoryLogWrite on any header and any length, in the simulated window.
// The machine aborts on any access outside the window; this target checks
// that a valid log keeps its offset within the data area, that a message of
// up to 0x3FFFF0 bytes is always stored, and that a stored message lies
// right before the new offset.
//
// Input: WriteOffset (4 bytes), length (5 bytes), flags (1 byte), then one
// byte for each of the two that takes it as it is (0) or as a boundary
// where the writer's decisions change plus a small signed step (the field's
// first byte): the data area's end, the always-stored limit, the discard,
// the window's size, and sums that wrap 32 or 64 bits. Both sides of each
// boundary are then a byte's mutation away.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "fakes/SimulatedMachine.h"
#include "fuzz/FreshState.h"
#include "platform/DebugSettings.h"
#include "platform/MemoryLog.h"

extern "C" size_t LLVMFuzzerMutate(uint8_t *Data, size_t Size, size_t MaxSize);

namespace {

constexpr size_t kHeader = 12;
constexpr UINT64 kAlwaysStored = 0x3FFFF0;
constexpr UINT64 k32Bits = 1ULL << 32;

// Offsets: below zero wraps to the top of 32 bits; a discard needs at
// least its own size in use; beyond the data area reads as a full one;
// beyond the window the log is not valid.
constexpr UINT32 kOffsetBoundaries[] = {0, MEMORY_LOG_DISCARD, MEMORY_LOG_DATA_SIZE, DIAG_WINDOW_SIZE};

struct WriteCase {
  bool Bootstrap;
  bool HaltOnError;
  UINT32 WriteOffset;
  UINT64 Length;
};

UINT64 Read(const uint8_t *Data, size_t Bytes) {
  UINT64 Value = 0;
  for (size_t Index = 0; Index < Bytes; Index++) {
    Value |= (UINT64)Data[Index] << (8 * Index);
  }
  return Value;
}

UINT64 SignedStep(uint8_t Byte) { return (UINT64)(int64_t)(int8_t)Byte; }

UINT32 DecodeOffset(const uint8_t *Field, uint8_t Choice) {
  constexpr size_t kChoices = 1 + sizeof(kOffsetBoundaries) / sizeof(kOffsetBoundaries[0]);
  const size_t Chosen = Choice % kChoices;
  if (Chosen == 0) {
    return (UINT32)Read(Field, 4);
  }
  return kOffsetBoundaries[Chosen - 1] + (UINT32)SignedStep(Field[0]);
}

// InUse is the offset as the writer takes it, at most the data area's size.
UINT64 DecodeLength(const uint8_t *Field, bool Bit32, uint8_t Choice, UINT64 InUse) {
  const UINT64 Boundaries[] = {
      0,  // below zero: a length near 2^64
      kAlwaysStored,
      MEMORY_LOG_DISCARD,
      MEMORY_LOG_DATA_SIZE,
      DIAG_WINDOW_SIZE,
      k32Bits,
      MEMORY_LOG_DATA_SIZE - InUse,                       // fills the data area
      MEMORY_LOG_DATA_SIZE + MEMORY_LOG_DISCARD - InUse,  // fills it after one discard
      k32Bits - InUse,                                    // a 32-bit sum wraps
      0 - InUse,                                          // a 64-bit sum wraps
  };
  constexpr size_t kChoices = 1 + sizeof(Boundaries) / sizeof(Boundaries[0]);
  const size_t Chosen = Choice % kChoices;
  if (Chosen == 0) {
    return Read(Field, 5) % (2 * (UINT64)DIAG_WINDOW_SIZE) | (Bit32 ? k32Bits : 0);
  }
  return Boundaries[Chosen - 1] + SignedStep(Field[0]);
}

WriteCase Decode(const uint8_t *Data) {
  WriteCase Case;
  Case.Bootstrap = (Data[9] & 1) == 0;
  Case.HaltOnError = (Data[9] & 2) != 0;
  Case.WriteOffset = DecodeOffset(Data, Data[10]);
  const UINT64 InUse = Case.WriteOffset < MEMORY_LOG_DATA_SIZE ? Case.WriteOffset : MEMORY_LOG_DATA_SIZE;
  Case.Length = DecodeLength(Data + 4, (Data[9] & 4) != 0, Data[11], InUse);
  return Case;
}

// The window accesses a write makes when the writer behaves: none for a
// dropped message, its length for a stored one, and for one stored after a
// discard also the data area's size and the bytes the discard keeps.
UINT64 ExpectedAccesses(const WriteCase &Case) {
  if (!Case.Bootstrap || Case.WriteOffset > DIAG_WINDOW_SIZE || Case.Length > MEMORY_LOG_DATA_SIZE) {
    return 0;
  }
  const UINT64 InUse = Case.WriteOffset < MEMORY_LOG_DATA_SIZE ? Case.WriteOffset : MEMORY_LOG_DATA_SIZE;
  if (InUse + Case.Length <= MEMORY_LOG_DATA_SIZE) {
    return Case.Length;
  }
  if (InUse < MEMORY_LOG_DISCARD || InUse - MEMORY_LOG_DISCARD + Case.Length > MEMORY_LOG_DATA_SIZE) {
    return 0;
  }
  return MEMORY_LOG_DATA_SIZE + InUse - MEMORY_LOG_DISCARD + Case.Length;
}

// The bytes every message is taken from, filled once: a sequence that does
// not repeat within the data area's size, so a message stored off its place
// does not match.
const UINT8 *MessageSource() {
  static const UINT8 *const Source = [] {
    auto *Bytes = new UINT8[MEMORY_LOG_DATA_SIZE];
    UINT32 State = 1;
    for (size_t Index = 0; Index < MEMORY_LOG_DATA_SIZE; Index++) {
      State = State * 1664525 + 1013904223;
      Bytes[Index] = (UINT8)(State >> 24);
    }
    return Bytes;
  }();
  return Source;
}

void Check(bool Holds, const char *What) {
  if (!Holds) {
    fprintf(stderr, "memory log: %s\n", What);
    abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size) {
  if (Size < kHeader) {
    return 0;
  }
  static SimulatedMachine *Machine = new SimulatedMachine;
  RestoreFreshDriverState();
  Machine->ClearObservations();
  Machine->WindowLogLimit = 0;
  Machine->ProbeSi = 1;

  const WriteCase Case = Decode(Data);
  gDebugSettings.HaltOnError = Case.HaltOnError;
  Machine->AnswerMsr(0x1B, Case.Bootstrap ? 0x100 : 0);
  Machine->Poke32(MEMORY_LOG_SIGNATURE_AT, MEMORY_LOG_SIGNATURE);
  Machine->Poke32(MEMORY_LOG_MARKER1_AT, MEMORY_LOG_MARKER1);
  Machine->Poke32(MEMORY_LOG_WRITE_OFFSET_AT, Case.WriteOffset);
  Machine->Poke32(MEMORY_LOG_MARKER2_AT, MEMORY_LOG_MARKER2);
  // The message ends where its source ends, so a read past a message that
  // can be stored is caught at its first byte, and one of any longer
  // message past the data area's size.
  const UINT64 Length = Case.Length;
  const size_t Readable = Length < MEMORY_LOG_DATA_SIZE ? Length : MEMORY_LOG_DATA_SIZE;
  const UINT8 *Message = MessageSource() + MEMORY_LOG_DATA_SIZE - Readable;

  MemoryLogWrite(Message, Length);

  const bool Valid = Case.Bootstrap && Case.WriteOffset <= DIAG_WINDOW_SIZE;
  const UINT32 After = Machine->Peek32(MEMORY_LOG_WRITE_OFFSET_AT);
  if (!Valid || Machine->WindowWrites == 0) {
    Check(!Valid || Length > kAlwaysStored, "a message that always fits was dropped");
    Check(After == Case.WriteOffset, "a dropped message changed the offset");
    return 0;
  }
  Check(After <= MEMORY_LOG_DATA_SIZE, "offset beyond the data area");
  Check(After >= Length, "offset does not cover the message");
  Check(memcmp(&Machine->Window[MEMORY_LOG_DATA_AT + After - Length], Message, Length) == 0,
        "the message is not right before the offset");
  return 0;
}

// libFuzzer's own mutations, but a child whose write would take more than
// kAccessBudget window accesses is kept only with the odds budget / cost,
// and otherwise mutated afresh: a discard alone moves up to 12 MiB byte by
// byte, and the few inputs that make one would otherwise take nearly the
// whole run. The odds come from the seed libFuzzer passes, so a run stays
// reproducible.
extern "C" size_t LLVMFuzzerCustomMutator(uint8_t *Data, size_t Size, size_t MaxSize, unsigned int Seed) {
  constexpr UINT64 kAccessBudget = 1 << 18;
  constexpr int kTries = 32;
  static std::vector<uint8_t> Parent;
  Parent.assign(Data, Data + Size);
  std::minstd_rand Random(Seed);
  for (int Try = 1;; Try++) {
    const size_t NewSize = LLVMFuzzerMutate(Data, Size, MaxSize);
    const UINT64 Cost = NewSize < kHeader ? 0 : ExpectedAccesses(Decode(Data));
    if (Cost <= kAccessBudget || Random() % Cost < kAccessBudget || Try == kTries) {
      return NewSize;
    }
    memcpy(Data, Parent.data(), Size);
  }
}
