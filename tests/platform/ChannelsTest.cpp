// The channel list, the presence sweep of set-up, and the serial and
// POST-port writers on the simulated machine.
#include <gtest/gtest.h>

#include "fakes/DriverState.h"
#include "fakes/ExpectLines.h"
#include "fakes/SimulatedMachine.h"
#include "platform/DiagChannels.h"
#include "platform/MemoryLog.h"

namespace {

// Each channel of the list, in order, reports itself absent and unwritable,
// and its operations drive its own hardware: framed bytes on the POST port,
// the serial data port, the memory log's data area.
TEST(DiagChannelList, PostPortSerialMemoryLogThenEndEachAbsentAndWritingItsOwnPort) {
  const UINT8 Byte = 'A';
  struct {
    const char *Channel;
    bool (*Wrote)(SimulatedMachine &Machine);
  } const Cases[] = {
      {"POST port",
       [](SimulatedMachine &Machine) {
         return Machine.PortWrites(0x80) == std::vector<UINT32>{0x5F535452, 'A', 0x5F454E44};
       }},
      {"serial", [](SimulatedMachine &Machine) { return Machine.PortWrites(0x3F8) == std::vector<UINT32>{'A'}; }},
      {"memory log",
       [](SimulatedMachine &Machine) {
         return Machine.Window[MEMORY_LOG_DATA_AT] == 'A' && Machine.Peek32(MEMORY_LOG_WRITE_OFFSET_AT) == 1;
       }},
  };
  for (size_t Index = 0; Index < 3; Index++) {
    SimulatedMachine Machine;
    Machine.DefaultPortRead = 0x60;        // the serial port is ready
    Machine.AnswerMsr(0x1B, 1ULL << 8);    // the bootstrap processor keeps the log
    const DIAG_CHANNEL &Channel = *gDiagChannels[Index];
    EXPECT_FALSE(Channel.IsPresent()) << Cases[Index].Channel;
    EXPECT_FALSE(Channel.CanWrite()) << Cases[Index].Channel;
    Channel.Initialize();
    Channel.Write(&Byte, 1);
    EXPECT_TRUE(Cases[Index].Wrote(Machine)) << Cases[Index].Channel;
  }
  EXPECT_EQ(gDiagChannels[3], nullptr);
}

// Channels whose answers a test sets; each counts what it was asked.
struct ChannelProbe {
  BOOLEAN Present[3];
  int Asked[3];
  int Initialized[3];
};
ChannelProbe gProbe;

template <int N>
BOOLEAN ProbePresent() {
  gProbe.Asked[N]++;
  return gProbe.Present[N];
}
template <int N>
void ProbeInitialize() {
  gProbe.Initialized[N]++;
}

const DIAG_CHANNEL kProbe0 = {ProbePresent<0>, ProbeInitialize<0>, ChannelAbsent, PostPortWrite};
const DIAG_CHANNEL kProbe1 = {ProbePresent<1>, ProbeInitialize<1>, ChannelAbsent, PostPortWrite};
const DIAG_CHANNEL kProbe2 = {ProbePresent<2>, ProbeInitialize<2>, ChannelAbsent, PostPortWrite};
const DIAG_CHANNEL *const kProbeChannels[] = {&kProbe0, &kProbe1, &kProbe2, nullptr};

TEST(DiagChannelSweep, EveryChannelIsAskedAndOnlyPresentOnesAreInitialized) {
  struct {
    BOOLEAN Present[3];
    BOOLEAN Any;
  } const Cases[] = {
      {{FALSE, FALSE, FALSE}, FALSE}, {{TRUE, FALSE, FALSE}, TRUE}, {{FALSE, FALSE, TRUE}, TRUE},
      {{TRUE, TRUE, TRUE}, TRUE},
  };
  for (const auto &Case : Cases) {
    gProbe = {{Case.Present[0], Case.Present[1], Case.Present[2]}, {}, {}};
    EXPECT_EQ(AnyChannelPresent(kProbeChannels), Case.Any);
    for (int Index = 0; Index < 3; Index++) {
      EXPECT_EQ(gProbe.Asked[Index], 1) << "sweep stops early at channel " << Index;
    }

    gProbe = {{Case.Present[0], Case.Present[1], Case.Present[2]}, {}, {}};
    InitializePresentChannels(kProbeChannels);
    for (int Index = 0; Index < 3; Index++) {
      EXPECT_EQ(gProbe.Asked[Index], Case.Any ? 2 : 1) << Index;
      EXPECT_EQ(gProbe.Initialized[Index], Case.Present[Index] ? 1 : 0) << Index;
    }
  }
}

TEST(PostPortChannel, FramesTheBytesWithStartAndEndMarkers) {
  struct {
    std::string Data;
    const char *Trace;
  } const Cases[] = {
      {"AB", "out32 0x80 0x5F535452\n out8 0x80 0x41\n out8 0x80 0x42\n out32 0x80 0x5F454E44"},
      {"", "out32 0x80 0x5F535452\n out32 0x80 0x5F454E44"},
  };
  for (const auto &Case : Cases) {
    SimulatedMachine Machine;
    PostPortWrite(reinterpret_cast<const UINT8 *>(Case.Data.data()), Case.Data.size());
    EXPECT_LINES(Machine.Trace(), Case.Trace);
  }
}

TEST(SerialChannel, EachByteWaitsAtMost2000StatusReadsAndIsDroppedWhenTheyRunOut) {
  struct {
    const char *Behaviour;
    UINT64 ReadyOnRead;  // 0: never
    UINT8 ReadyStatus;
    bool Written;
    UINT64 StatusReads;
  } const Cases[] = {
      {"ready at once", 1, 0x60, true, 1},
      {"ready with other bits set", 1, 0xFF, true, 1},
      {"ready on the 1999th read", 1999, 0x60, true, 1999},
      {"ready on the 2000th read counts as too late", 2000, 0x60, false, 2000},
      {"holding register empty alone is not ready", 1, 0x20, false, 2000},
      {"never ready", 0, 0, false, 2000},
  };
  for (const auto &Case : Cases) {
    SimulatedMachine Machine;
    Machine.DefaultPortRead = 0x9F;  // every bit but the two that matter
    if (Case.ReadyOnRead != 0) {
      std::vector<UINT32> Status(Case.ReadyOnRead - 1, 0x9F);
      Status.push_back(Case.ReadyStatus);
      Machine.AnswerPortReads(0x3FD, Status);
    }
    const UINT8 Byte = '\n';

    SerialWrite(&Byte, 1);

    EXPECT_EQ(Machine.PortReadCount(0x3FD), Case.StatusReads) << Case.Behaviour;
    EXPECT_EQ(Machine.PortWrites(0x3F8), Case.Written ? std::vector<UINT32>{'\n'} : std::vector<UINT32>{})
        << Case.Behaviour;
  }
}

TEST(SerialChannel, ADroppedByteDoesNotStopTheNextOne) {
  SimulatedMachine Machine;
  Machine.DefaultPortRead = 0x60;
  Machine.AnswerPortReads(0x3FD, std::vector<UINT32>(2000, 0));
  const UINT8 Bytes[] = {'x', 'y', 'z'};

  SerialWrite(Bytes, sizeof(Bytes));

  EXPECT_EQ(Machine.PortReadCount(0x3FD), 2002U);
  EXPECT_EQ(Machine.PortWrites(0x3F8), (std::vector<UINT32>{'y', 'z'}));
}

}  // namespace
