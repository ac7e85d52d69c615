// The fatal-code display and the time-stamp counter frequency that paces it.
#include "platform/FatalCode.h"

#include "platform/Cpu.h"
#include "platform/DriverState.h"

DRIVER_STATE constinit UINT64 gTscFrequency = 0;

namespace {

constexpr UINT32 kDisplaySteps = 6;
// Each display step is held this long.
constexpr UINT64 kStepMicroseconds = 2500000;

UINT64 RotateLeftByte(UINT64 Value) { return (Value << 8) | (Value >> 56); }

}  // namespace

BOOLEAN FatalCodeHalt(UINT32 Code) {
  IoWrite16(FATAL_MARKER_PORT, FATAL_MARKER);
  IoWrite32(POST_CODE_PORT, Code);
  if ((EnvironmentProbe(Code) & 0xFFFF) != 0) {
    return FALSE;
  }
  const UINT64 Pattern = ((UINT64)FATAL_MARKER << 48) | ((UINT64)Code << 16);
  for (;;) {
    UINT64 Shown = Pattern;
    for (UINT32 Step = 0; Step < kDisplaySteps; Step++) {
      Shown = RotateLeftByte(Shown);
      IoWrite32(POST_CODE_PORT, (UINT32)Shown);
      WaitDisplayStep();
    }
  }
}

void WaitDisplayStep() {
  const UINT64 Ticks = GetTscFrequency() * kStepMicroseconds / 1000000;
  const UINT64 Deadline = ReadTsc() + Ticks;
  while (ReadTsc() <= Deadline) {
    CpuPause();
  }
}

namespace {

constexpr UINT32 kMaxBasicLeaf = 0;
constexpr UINT32 kTscCrystalLeaf = 0x15;
constexpr UINT32 kProcessorFrequencyLeaf = 0x16;
constexpr UINT32 kExtendedMaxLeaf = 0x80000000;
constexpr UINT32 kExtendedSignatureLeaf = 0x80000001;
constexpr UINT32 kAdvancedPowerLeaf = 0x80000007;
constexpr UINT32 kHardwarePStateControl = 1U << 7;  // EDX of the power leaf
constexpr UINT32 kPStateDefinitionMsr = 0xC0010064;
constexpr UINT32 kPStateCount = 8;
constexpr UINT64 kPStateEnabled = 1ULL << 63;
// What the frequency is taken to be when neither a P-state nor the
// processor's own report gives one.
constexpr UINT64 kUnknownFrequency = 256;

// The definition registers fault where they do not exist, and the display
// must not fault while it shows a fatal code.
BOOLEAN HasPStateDefinitions() {
  return CpuId(kExtendedMaxLeaf, 0).Eax >= kAdvancedPowerLeaf &&
         (CpuId(kAdvancedPowerLeaf, 0).Edx & kHardwarePStateControl) != 0;
}

// Family 0x1A and later: base family 0xF with an extended family of 0x0B
// or more.
BOOLEAN IsNewFamily(UINT32 Signature) {
  return (Signature & 0xF00) == 0xF00 && (Signature & 0x0FF00000) >= 0x00B00000;
}

UINT32 PStateMegahertz(UINT64 PState, BOOLEAN NewFamily) {
  if (NewFamily) {
    return (UINT32)(PState & 0xFFF) * 5;
  }
  const UINT32 Fid = (UINT32)(PState & 0xFF);
  const UINT32 Did = (UINT32)((PState >> 8) & 0x3F);
  if (Did == 0) {
    return 0;
  }
  if (Did < 8 || Did > 60) {
    return Fid * 25;
  }
  return Fid * 200 / Did;
}

// The counter's frequency as the processor itself reports it, 0 where it
// reports none: the crystal's frequency times the counter's ratio to it
// (a zero crystal frequency or numerator gives none), else the base
// frequency in MHz. A leaf beyond the maximum basic leaf is not read, since
// it would answer with another leaf's values.
UINT64 ReportedTscFrequency() {
  const UINT32 MaxLeaf = CpuId(kMaxBasicLeaf, 0).Eax;
  UINT64 Hz = 0;
  if (MaxLeaf >= kTscCrystalLeaf) {
    const CPUID_RESULT Crystal = CpuId(kTscCrystalLeaf, 0);
    if (Crystal.Eax != 0) {
      Hz = (UINT64)Crystal.Ecx * Crystal.Ebx / Crystal.Eax;
    }
  }
  if (Hz == 0 && MaxLeaf >= kProcessorFrequencyLeaf) {
    Hz = (UINT64)(CpuId(kProcessorFrequencyLeaf, 0).Eax & 0xFFFF) * 1000000;
  }
  return Hz;
}

}  // namespace

UINT64 GetTscFrequency() {
  if (gTscFrequency != 0) {
    return gTscFrequency;
  }
  const BOOLEAN NewFamily = IsNewFamily(CpuId(kExtendedSignatureLeaf, 0).Eax);
  if (!HasPStateDefinitions()) {
    gTscFrequency = ReportedTscFrequency();
    return gTscFrequency != 0 ? gTscFrequency : kUnknownFrequency;
  }
  for (UINT32 Index = 0; Index < kPStateCount; Index++) {
    const UINT64 PState = ReadMsr(kPStateDefinitionMsr + Index);
    if ((PState & kPStateEnabled) != 0) {
      gTscFrequency = (UINT64)PStateMegahertz(PState, NewFamily) * 1000000;
      return gTscFrequency;
    }
  }
  return kUnknownFrequency;
}
