// The memory-log channel on the simulated machine's window: validity,
// creation, appending, making room, and the width of every access.
#include <gtest/gtest.h>

#include "fakes/DriverState.h"
#include "fakes/ExpectLines.h"
#include "fakes/SimulatedMachine.h"
#include "platform/DebugSettings.h"
#include "platform/MemoryLog.h"

namespace {

constexpr UINT64 kApicBase = 0xFEE00000;
constexpr UINT64 kBootstrap = 1 << 8;
constexpr UINT32 kWindowEnd = DIAG_WINDOW_SIZE;

// A bootstrap processor whose window holds a log with the given header.
class LogMachine : public SimulatedMachine {
 public:
  explicit LogMachine(bool Bootstrap = true) { AnswerMsr(0x1B, kApicBase | (Bootstrap ? kBootstrap : 0)); }
  void LayHeader(UINT32 WriteOffset, UINT32 Signature = MEMORY_LOG_SIGNATURE, UINT32 Marker1 = MEMORY_LOG_MARKER1,
                 UINT32 Marker2 = MEMORY_LOG_MARKER2) {
    Poke32(MEMORY_LOG_SIGNATURE_AT, Signature);
    Poke32(MEMORY_LOG_MARKER1_AT, Marker1);
    Poke32(MEMORY_LOG_WRITE_OFFSET_AT, WriteOffset);
    Poke32(MEMORY_LOG_MARKER2_AT, Marker2);
  }
  // A recognisable byte for every data-area position.
  static UINT8 Pattern(UINT32 Position) { return static_cast<UINT8>(Position ^ (Position >> 8) ^ (Position >> 16)); }
  void FillDataWithPattern(UINT32 Count) {
    for (UINT32 Position = 0; Position < Count; Position++) {
      Window[MEMORY_LOG_DATA_AT + Position] = Pattern(Position);
    }
  }
  UINT8 Data(UINT32 Position) const { return Window.at(MEMORY_LOG_DATA_AT + Position); }
  std::vector<std::string> WindowTrace() const {
    std::vector<std::string> Lines;
    for (const WindowAccess &Access : WindowLog) {
      char Line[48];
      snprintf(Line, sizeof(Line), "%s%d 0x%X", Access.Write ? "write" : "read", Access.Bytes * 8, Access.Offset);
      Lines.push_back(Line);
    }
    return Lines;
  }
};

TEST(MemoryLogValidity, NeedsTheBootstrapProcessorAnIntactHeaderAndAnOffsetWithinTheWindow) {
  struct {
    const char *Behaviour;
    bool Bootstrap;
    UINT32 Signature, Marker1, Marker2, WriteOffset;
    BOOLEAN Valid;
  } const Cases[] = {
      {"intact", true, MEMORY_LOG_SIGNATURE, MEMORY_LOG_MARKER1, MEMORY_LOG_MARKER2, 0, TRUE},
      {"offset the size of the window", true, MEMORY_LOG_SIGNATURE, MEMORY_LOG_MARKER1, MEMORY_LOG_MARKER2,
       kWindowEnd, TRUE},
      {"offset past the window", true, MEMORY_LOG_SIGNATURE, MEMORY_LOG_MARKER1, MEMORY_LOG_MARKER2,
       kWindowEnd + 1, FALSE},
      {"application processor", false, MEMORY_LOG_SIGNATURE, MEMORY_LOG_MARKER1, MEMORY_LOG_MARKER2, 0, FALSE},
      {"signature", true, 0x4D454D45, MEMORY_LOG_MARKER1, MEMORY_LOG_MARKER2, 0, FALSE},
      {"first marker", true, MEMORY_LOG_SIGNATURE, 0x55AA55AB, MEMORY_LOG_MARKER2, 0, FALSE},
      {"second marker", true, MEMORY_LOG_SIGNATURE, MEMORY_LOG_MARKER1, 0xBB66BB67, 0, FALSE},
  };
  for (const auto &Case : Cases) {
    LogMachine Machine(Case.Bootstrap);
    Machine.LayHeader(Case.WriteOffset, Case.Signature, Case.Marker1, Case.Marker2);
    EXPECT_EQ(MemoryLogIsValid(), Case.Valid) << Case.Behaviour;
  }
}

TEST(MemoryLogValidity, ReadsTheHeaderOnceEachAsWholeWordsInOrder) {
  LogMachine Machine;
  Machine.LayHeader(0);
  MemoryLogIsValid();
  EXPECT_LINES(Machine.WindowTrace(), "read32 0x0\n read32 0x4\n read32 0xC\n read32 0x8");
}

TEST(MemoryLogCreation, BuildsAnEmptyLogOnlyWhereNoValidOneLies) {
  struct {
    const char *Behaviour;
    bool Bootstrap;
    bool Memory;
    UINT32 WriteOffset;  // of a header otherwise intact; 0xFFFFFFFF: no header
    UINT64 Writes;
    UINT32 AfterOffset;
  } const Cases[] = {
      {"blank window", true, true, 0xFFFFFFFF, 4 + MEMORY_LOG_DATA_SIZE, 0},
      {"offset past the window", true, true, kWindowEnd + 1, 4 + MEMORY_LOG_DATA_SIZE, 0},
      {"valid log is continued", true, true, 1234, 0, 1234},
      {"application processor", false, true, 0xFFFFFFFF, 0, 0xFFFFFFFF},
      {"window without memory", true, false, 0xFFFFFFFF, 1, 0xFFFFFFFF},
  };
  for (const auto &Case : Cases) {
    LogMachine Machine(Case.Bootstrap);
    if (Case.WriteOffset != 0xFFFFFFFF) {
      Machine.LayHeader(Case.WriteOffset);
    }
    Machine.FillDataWithPattern(64);
    Machine.WindowIsMemory = Case.Memory;

    MemoryLogInitialize();

    EXPECT_EQ(Machine.WindowWrites, Case.Writes) << Case.Behaviour;
    if (Case.Writes > 1) {
      EXPECT_EQ(Machine.Peek32(MEMORY_LOG_SIGNATURE_AT), MEMORY_LOG_SIGNATURE) << Case.Behaviour;
      EXPECT_EQ(Machine.Peek32(MEMORY_LOG_MARKER1_AT), MEMORY_LOG_MARKER1) << Case.Behaviour;
      EXPECT_EQ(Machine.Peek32(MEMORY_LOG_MARKER2_AT), MEMORY_LOG_MARKER2) << Case.Behaviour;
      EXPECT_EQ(Machine.Data(0), 0) << Case.Behaviour;
      EXPECT_EQ(Machine.Data(63), 0) << Case.Behaviour;
    }
    if (Case.AfterOffset != 0xFFFFFFFF) {
      EXPECT_EQ(Machine.Peek32(MEMORY_LOG_WRITE_OFFSET_AT), Case.AfterOffset) << Case.Behaviour;
    }
  }
}

TEST(MemoryLogCreation, WritesTheHeaderWithASignatureReadBackThenClearsByteByByte) {
  LogMachine Machine;
  Machine.StepLimit = 2 + 12;  // two MSR reads, then the first twelve window accesses

  EXPECT_THROW(MemoryLogInitialize(), MachineStopped);

  EXPECT_LINES(Machine.WindowTrace(), R"(
    read32 0x0
    write32 0x0
    read32 0x0
    write32 0x4
    write32 0xC
    write32 0x8
    write8 0x10
    write8 0x11
    write8 0x12
    write8 0x13
    write8 0x14
    write8 0x15
  )");
}

struct AppendCase {
  const char *Behaviour;
  UINT32 WriteOffset;
  UINT64 Length;
  UINT32 After;     // WriteOffset after the write
  UINT32 Kept;      // data bytes moved to the start, from position 0x400000
  UINT32 StoredAt;  // where the message lands; kNotStored if dropped
};

constexpr UINT32 kNotStored = 0xFFFFFFFF;

void PrintTo(const AppendCase &Case, std::ostream *Out) { *Out << Case.Behaviour; }

class MemoryLogAppend : public ::testing::TestWithParam<AppendCase> {};

TEST_P(MemoryLogAppend, StoresTheMessageAfterTheBytesInUse) {
  const AppendCase &Case = GetParam();
  FreshDriverState Fresh;
  LogMachine Machine;
  Machine.LayHeader(Case.WriteOffset);
  Machine.FillDataWithPattern(std::min<UINT32>(Case.WriteOffset, MEMORY_LOG_DATA_SIZE));
  const size_t Available = std::min<UINT64>(Case.Length, MEMORY_LOG_DATA_SIZE + 1);
  std::vector<UINT8> Message(Available);
  for (size_t Index = 0; Index < Message.size(); Index++) {
    Message[Index] = static_cast<UINT8>(0xA0 + Index * 3);
  }

  MemoryLogWrite(Message.data(), Case.Length);

  EXPECT_EQ(Machine.Peek32(MEMORY_LOG_WRITE_OFFSET_AT), Case.After);
  if (Case.StoredAt == kNotStored) {
    EXPECT_EQ(Machine.WindowWrites, 0U) << "a dropped message leaves the log untouched";
    return;
  }
  for (const UINT32 Index : {UINT32{0}, Case.Kept / 2, Case.Kept - 1}) {
    if (Case.Kept != 0) {
      ASSERT_EQ(Machine.Data(Index), LogMachine::Pattern(MEMORY_LOG_DISCARD + Index)) << "kept byte " << Index;
    }
  }
  for (UINT64 Index = 0; Index < Case.Length; Index += 1 + Case.Length / 7) {
    ASSERT_EQ(Machine.Data(Case.StoredAt + Index), Message[Index]) << "message byte " << Index;
  }
  for (UINT32 Position = Case.After; Position < MEMORY_LOG_DATA_SIZE; Position += 0x10001) {
    ASSERT_EQ(Machine.Data(Position), 0) << "free byte " << Position;
  }
}

const std::vector<AppendCase> kAppendCases = {
    {"FitsAfterTheBytesInUse", 100, 100, 200, 0, 100},
    {"ZeroLengthRewritesTheOffset", 0x1234, 0, 0x1234, 0, 0x1234},
    {"MessageThatExactlyFillsTheDataAreaIsStoredInPlace", 0xC00000, 0x3FFFF0, 0xFFFFF0, 0, 0xC00000},
    {"FullLogDropsTheOldest4MiB", 0xFFFFF0, 16, 0xC00000, 0xBFFFF0, 0xBFFFF0},
    {"LongestMessageThatAlwaysFitsAfterOneDiscard", 0xFFFFF0, 0x3FFFF0, 0xFFFFE0, 0xBFFFF0, 0xBFFFF0},
    // A header may count bytes past the data area; those are not read.
    {"OffsetAtTheWindowSizeReadsAsAFullDataArea", kWindowEnd, 16, 0xC00000, 0xBFFFF0, 0xBFFFF0},
    {"LongMessageThatFitsAfterOneDiscard", 0x900000, 0x800000, 0xD00000, 0x500000, 0x500000},
    {"MessageThatOneDiscardCannotMakeRoomForIsDropped", 0x900000, 0xC00000, 0x900000, 0, kNotStored},
    {"DiscardBelow4MiBIsNotPossibleSoTheMessageIsDropped", 0x300000, 0xD00000, 0x300000, 0, kNotStored},
    {"MessageLongerThanTheDataAreaIsDropped", 0, MEMORY_LOG_DATA_SIZE + 1, 0, 0, kNotStored},
    // The lengths' sum is taken wide, so a huge length cannot wrap around
    // to look small.
    {"LengthThatWouldWrapA32BitSumIsDropped", 16, 0x100000000ULL - 8, 16, 0, kNotStored},
    {"LengthThatWouldWrapA64BitSumIsDropped", 16, 0 - 8ULL, 16, 0, kNotStored},
};

INSTANTIATE_TEST_SUITE_P(Cases, MemoryLogAppend, ::testing::ValuesIn(kAppendCases),
                         [](const auto &Info) { return std::string(Info.param.Behaviour); });

TEST(MemoryLogAppendDetail, EachByteIsOneStoreAndTheOffsetOneWord) {
  LogMachine Machine;
  Machine.LayHeader(100);
  const UINT8 Message[] = {1, 2};

  MemoryLogWrite(Message, sizeof(Message));

  EXPECT_LINES(Machine.WindowTrace(), R"(
    read32 0x0
    read32 0x4
    read32 0xC
    read32 0x8
    read32 0x8
    write8 0x74
    write8 0x75
    write32 0x8
  )");
}

TEST(MemoryLogAppendDetail, InvalidLogOrApplicationProcessorIsNotWritten) {
  for (const bool Bootstrap : {false, true}) {
    LogMachine Machine(Bootstrap);
    Machine.LayHeader(0, Bootstrap ? 0 : MEMORY_LOG_SIGNATURE);
    const UINT8 Byte = 1;
    MemoryLogWrite(&Byte, 1);
    EXPECT_EQ(Machine.WindowWrites, 0U) << "bootstrap " << Bootstrap;
  }
}

TEST(MemoryLogAppendDetail, MessageLongerThanTheDataAreaIsReportedUnderHaltOnError) {
  FreshDriverState Fresh;
  LogMachine Machine;
  Machine.ProbeSi = 1;
  Machine.LayHeader(0);
  gDebugSettings.HaltOnError = 1;
  const UINT8 Byte = 1;

  MemoryLogWrite(&Byte, MEMORY_LOG_DATA_SIZE + 1ULL);

  EXPECT_EQ(Machine.PortWrites(0x80), std::vector<UINT32>{0x20850309});
  EXPECT_EQ(Machine.WindowWrites, 0U);
}

TEST(StoreByWidthCodes, CopyOneValueOfTheNamedWidthAsOneAccess) {
  struct {
    UINT32 Code;
    UINT8 Bytes;  // 0: nothing copied
  } const Cases[] = {{1, 1}, {129, 1}, {2, 2}, {130, 2}, {3, 4}, {131, 4}, {0, 0}, {4, 0}, {128, 0}, {132, 0}};
  for (const UINT8 HaltOnError : {0, 1}) {
    for (const auto &Case : Cases) {
      FreshDriverState Fresh;
      LogMachine Machine;
      Machine.ProbeSi = 1;
      gDebugSettings.HaltOnError = HaltOnError;
      const UINT32 Source = 0x44332211;

      StoreByWidth(Case.Code, 0x20, &Source);

      ASSERT_EQ(Machine.WindowLog.size(), Case.Bytes == 0 ? 0U : 1U) << Case.Code;
      if (Case.Bytes != 0) {
        EXPECT_EQ(Machine.WindowLog[0].Bytes, Case.Bytes) << Case.Code;
        EXPECT_EQ(Machine.Peek32(0x20), Source & (Case.Bytes == 4 ? 0xFFFFFFFF : (1U << (8 * Case.Bytes)) - 1))
            << Case.Code;
      }
      const bool Reported = Case.Bytes == 0 && HaltOnError == 1;
      EXPECT_EQ(Machine.PortWrites(0x80), Reported ? std::vector<UINT32>{0x00010320} : std::vector<UINT32>{})
          << Case.Code;
    }
  }
}

}  // namespace
