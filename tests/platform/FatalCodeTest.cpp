// The fatal-code display and its timing on the simulated machine: what the
// POST port shows, how long each step is held, when the probe lets the
// display return, and the frequency read from the P-state registers or, on
// a processor without them, from what CPUID reports.
#include <gtest/gtest.h>

#include <map>

#include "fakes/DriverState.h"
#include "fakes/ExpectLines.h"
#include "fakes/SimulatedMachine.h"
#include "platform/FatalCode.h"

namespace {

constexpr UINT32 kPStateMsr = 0xC0010064;
constexpr UINT64 kEnabled = 1ULL << 63;
constexpr UINT32 kOldFamily = 0x00600F20;  // family 0x15
constexpr UINT32 kNewFamily = 0x00B00F00;  // family 0x1A

// A processor whose CPUID reports hardware P-state control.
void GivePStateRegisters(SimulatedMachine &Machine, UINT32 Signature) {
  Machine.AnswerCpuId(0x80000000, {0x80000008, 0, 0, 0});
  Machine.AnswerCpuId(0x80000001, {Signature, 0, 0, 0});
  Machine.AnswerCpuId(0x80000007, {0, 0, 0, 1U << 7});
}

// A processor without P-state control, whose P-state registers fault, that
// answers the given basic leaves.
void GiveBasicLeaves(SimulatedMachine &Machine, const std::map<UINT32, CPUID_RESULT> &Leaves) {
  Machine.AnswerCpuId(0x80000000, {0x80000008, 0, 0, 0});
  Machine.AnswerCpuId(0x80000007, {0, 0, 0, 1U << 8});  // an invariant counter only
  for (const auto &[Leaf, Result] : Leaves) {
    Machine.AnswerCpuId(Leaf, Result);
  }
  for (UINT32 Index = 0; Index < 8; Index++) {
    Machine.FaultOnMsr(kPStateMsr + Index);
  }
}

UINT64 OldPState(UINT32 Fid, UINT32 Did) { return kEnabled | (UINT64)Did << 8 | Fid; }

const std::vector<UINT32> kDisplayOf00080225 = {0x250000DE, 0x0000DEAD, 0x00DEAD00,
                                                0xDEAD0008, 0xAD000802, 0x00080225};

struct DisplayCase {
  const char *Behaviour;
  UINT64 PState;        // 0: none enabled
  UINT64 TscStep;
  UINT64 TicksPerStep;  // 2.5 s at the frequency the machine reports
};

class FatalDisplay : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(FatalDisplay, ShowsMarkerCodeThenSixValuesForeverEachHeldTwoAndAHalfSeconds) {
  const DisplayCase &Case = GetParam();
  FreshDriverState Fresh;
  SimulatedMachine Machine;
  GivePStateRegisters(Machine, kOldFamily);
  Machine.AnswerMsr(kPStateMsr, Case.PState);
  Machine.TscStep = Case.TscStep;
  Machine.StopAfterPortWrites(2 + 3 * 6);

  EXPECT_THROW(FatalCodeHalt(0x00080225), MachineStopped);

  const std::vector<PortAccess> &Ports = Machine.Ports();
  ASSERT_EQ(Ports.size(), 20U);
  EXPECT_EQ(Ports[0].Port, 0xE0);
  EXPECT_EQ(Ports[0].Bytes, 2);
  EXPECT_EQ(Ports[0].Value, 0xDEADU);
  std::vector<UINT32> Expected = {0x00080225};
  for (int Cycle = 0; Cycle < 3; Cycle++) {
    Expected.insert(Expected.end(), kDisplayOf00080225.begin(), kDisplayOf00080225.end());
  }
  EXPECT_EQ(Machine.PortWrites(0x80), Expected);
  for (size_t Index = 1; Index < Ports.size(); Index++) {
    EXPECT_EQ(Ports[Index].Bytes, 4) << "write " << Index;
  }
  // The wait reads the counter once for its deadline and then until it has
  // passed it, so a step lasts the ticks plus up to two counter steps.
  for (size_t Index = 3; Index < Ports.size(); Index++) {
    const UINT64 Held = Ports[Index].Tick - Ports[Index - 1].Tick;
    EXPECT_GE(Held, Case.TicksPerStep) << "step " << Index;
    EXPECT_LE(Held, Case.TicksPerStep + 2 * Case.TscStep) << "step " << Index;
  }
  EXPECT_GT(Machine.Pauses, 0U);
}

INSTANTIATE_TEST_SUITE_P(Cases, FatalDisplay,
                         ::testing::Values(DisplayCase{"NoEnabledPState", 0, 1, 640},
                                           DisplayCase{"PStateAt3500MHz", OldPState(140, 8), 1 << 20,
                                                       8750000000ULL}),
                         [](const auto &Info) { return std::string(Info.param.Behaviour); });

TEST(FatalDisplayProbe, OnlyANonZeroLowHalfOfTheAnswerMakesTheDisplayReturn) {
  struct {
    UINT32 Eax;
    UINT16 Si;
    bool Returns;
  } const Cases[] = {{0, 0x0001, true}, {0, 0xFFFF, true}, {0xFFFF0000, 0, false}, {0, 0, false}};
  for (const auto &Case : Cases) {
    FreshDriverState Fresh;
    SimulatedMachine Machine;
    Machine.ProbeEax = Case.Eax;
    Machine.ProbeSi = Case.Si;
    Machine.StopAfterPortWrites(3);

    bool Returned = false;
    try {
      EXPECT_EQ(FatalCodeHalt(0x00080225), FALSE);
      Returned = true;
    } catch (const MachineStopped &) {
    }

    EXPECT_EQ(Returned, Case.Returns) << "EAX " << Case.Eax << " SI " << Case.Si;
    if (Case.Returns) {
      EXPECT_LINES(Machine.Trace(), R"(
        out16 0xE0 0xDEAD
        out32 0x80 0x80225
        probe 0x80225
      )");
    }
  }
}

struct FrequencyCase {
  const char *Behaviour;
  UINT32 Signature;
  std::map<UINT32, UINT64> PStates;  // by register index 0..7
  UINT64 Hz;
  bool Cached;
  // Given: a processor without P-state registers that answers these leaves.
  std::map<UINT32, CPUID_RESULT> BasicLeaves = {};
};

void PrintTo(const FrequencyCase &Case, std::ostream *Out) { *Out << Case.Behaviour; }

class TscFrequency : public ::testing::TestWithParam<FrequencyCase> {};

TEST_P(TscFrequency, ComesFromTheFirstEnabledPStateOrWhatTheProcessorReports) {
  const FrequencyCase &Case = GetParam();
  FreshDriverState Fresh;
  SimulatedMachine Machine;
  if (Case.BasicLeaves.empty()) {
    GivePStateRegisters(Machine, Case.Signature);
  } else {
    GiveBasicLeaves(Machine, Case.BasicLeaves);
  }
  for (const auto &[Index, Value] : Case.PStates) {
    Machine.AnswerMsr(kPStateMsr + Index, Value);
  }

  EXPECT_EQ(GetTscFrequency(), Case.Hz);
  const size_t FirstCallSteps = Machine.Trace().size();
  EXPECT_EQ(GetTscFrequency(), Case.Hz);

  EXPECT_EQ(gTscFrequency, Case.Cached ? Case.Hz : 0);
  // A cached frequency asks the processor nothing; otherwise it is worked
  // out again in full.
  EXPECT_EQ(Machine.Trace().size(), Case.Cached ? FirstCallSteps : 2 * FirstCallSteps);
}

const std::vector<FrequencyCase> kFrequencyCases = {
    {"Fid140Did8", kOldFamily, {{0, OldPState(140, 8)}}, 3500000000ULL, true},
    {"Did60DividesBy60", kOldFamily, {{0, OldPState(140, 60)}}, 466000000ULL, true},
    {"Did61TakesFidTimes25", kOldFamily, {{0, OldPState(140, 61)}}, 3500000000ULL, true},
    {"Did7TakesFidTimes25", kOldFamily, {{0, OldPState(140, 7)}}, 3500000000ULL, true},
    {"Did0IsZeroAndNotKept", kOldFamily, {{0, OldPState(140, 0)}}, 0, false},
    {"NewFamilyTakesLow12BitsTimes5", kNewFamily, {{0, kEnabled | 0xF000 | 700}}, 3500000000ULL, true},
    // An extended family counts only on top of base family 0xF.
    {"ExtendedFamilyWithoutBaseFamilyFTakesFidAndDid", 0x00B00600, {{0, OldPState(140, 8)}}, 3500000000ULL, true},
    {"FirstEnabledPStateWins", kOldFamily, {{0, OldPState(100, 8) & ~kEnabled}, {1, OldPState(140, 8)},
                                            {2, OldPState(80, 8)}}, 3500000000ULL, true},
    {"NoEnabledPStateIs256AndNotKept", kOldFamily, {{7, OldPState(140, 8) & ~kEnabled}}, 256, false},
    // Without P-state registers: crystal Hz x EBX / EAX, multiplied first in
    // 64 bits, else leaf 0x16's base MHz, each only up to the maximum leaf.
    {"Leaf15CrystalTimesRatio", 0, {}, 2083333333ULL, true,
     {{0x0, {0x16, 0, 0, 0}}, {0x15, {3, 250, 25000000, 0}}, {0x16, {2100, 2900, 100, 0}}}},
    {"Leaf15WithoutCrystalTakesLeaf16BaseMHz", 0, {}, 2100000000ULL, true,
     {{0x0, {0x16, 0, 0, 0}}, {0x15, {2, 176, 0, 0}}, {0x16, {2100, 3900, 100, 0}}}},
    {"NeitherLeafReportsIs256AndNotKept", 0, {}, 256, false,
     {{0x0, {0x16, 0, 0, 0}}, {0x15, {2, 0, 0, 0}}, {0x16, {0, 0, 0, 0}}}},
    {"MaxLeafBelow15ReadsNeither", 0, {}, 256, false,
     {{0x0, {0x14, 0, 0, 0}}, {0x15, {2, 188, 38400000, 0}}, {0x16, {3600, 4700, 100, 0}}}},
    {"MaxLeaf15DoesNotReadLeaf16", 0, {}, 256, false,
     {{0x0, {0x15, 0, 0, 0}}, {0x15, {2, 188, 0, 0}}, {0x16, {3600, 4700, 100, 0}}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, TscFrequency, ::testing::ValuesIn(kFrequencyCases),
                         [](const auto &Info) { return std::string(Info.param.Behaviour); });

TEST(TscFrequencyProcessor, PStateRegistersAreReadInOrderUntilOneIsEnabled) {
  FreshDriverState Fresh;
  SimulatedMachine Machine;
  GivePStateRegisters(Machine, kOldFamily);
  Machine.AnswerMsr(kPStateMsr + 2, OldPState(140, 8));

  GetTscFrequency();

  EXPECT_LINES(Machine.Trace(), R"(
    cpuid 0x80000001
    cpuid 0x80000000
    cpuid 0x80000007
    rdmsr 0xC0010064
    rdmsr 0xC0010065
    rdmsr 0xC0010066
  )");
}

// Where the registers do not exist, reading one faults; the display must
// still run, so the registers are read only where CPUID reports them.
TEST(TscFrequencyProcessor, WithoutPStateRegistersNothingFaultsAndTheFrequencyIs256) {
  struct {
    const char *Processor;
    UINT32 MaxExtendedLeaf;
    UINT32 PowerLeafEdx;
  } const Cases[] = {
      {"power leaf without hardware P-state control", 0x80000008, 0x100},
      {"power leaf beyond the extended range", 0x80000006, 1U << 7},
  };
  for (const auto &Case : Cases) {
    FreshDriverState Fresh;
    SimulatedMachine Machine;
    Machine.AnswerCpuId(0x80000000, {Case.MaxExtendedLeaf, 0, 0, 0});
    Machine.AnswerCpuId(0x80000007, {0, 0, 0, Case.PowerLeafEdx});
    for (UINT32 Index = 0; Index < 8; Index++) {
      Machine.FaultOnMsr(kPStateMsr + Index);
    }

    UINT64 Hz = 0;
    EXPECT_NO_THROW(Hz = GetTscFrequency()) << Case.Processor;
    EXPECT_EQ(Hz, 256U) << Case.Processor;
    EXPECT_EQ(gTscFrequency, 0U) << Case.Processor;
  }
}

TEST(DisplayStepWait, HoldsTwoAndAHalfSecondsOfTicksAndEndsAtOnceAtZeroFrequency) {
  struct {
    UINT64 Hz;
    UINT64 ExpectedReads;  // the deadline read, then until the counter passes it
  } const Cases[] = {{1000000, 2 + 2500000 / 1000}, {0, 2}};
  for (const auto &Case : Cases) {
    FreshDriverState Fresh;
    SimulatedMachine Machine;
    Machine.TscStep = 1000;
    Machine.Tsc = 5000;
    gTscFrequency = Case.Hz;
    GivePStateRegisters(Machine, kOldFamily);
    Machine.AnswerMsr(kPStateMsr, OldPState(140, 0));

    WaitDisplayStep();

    EXPECT_EQ((Machine.Tsc - 5000) / 1000, Case.ExpectedReads) << Case.Hz << " Hz";
    EXPECT_EQ(Machine.Pauses, Case.ExpectedReads - 2) << Case.Hz << " Hz";
  }
}

}  // namespace
