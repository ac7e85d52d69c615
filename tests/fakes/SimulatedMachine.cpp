#include "fakes/SimulatedMachine.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

SimulatedMachine *gMachine = nullptr;

std::string Hex(UINT64 Value) {
  char Buffer[24];
  snprintf(Buffer, sizeof(Buffer), "0x%llX", static_cast<unsigned long long>(Value));
  return Buffer;
}

[[noreturn, gnu::noinline, gnu::cold]] void Abort(const char *Message, UINT64 Value) {
  fprintf(stderr, "simulated machine: %s 0x%llX\n", Message, static_cast<unsigned long long>(Value));
  abort();
}

}  // namespace

SimulatedMachine::SimulatedMachine() : Window(DIAG_WINDOW_SIZE, 0) {
  if (gMachine != nullptr) {
    Abort("a second machine while one is active", 0);
  }
  gMachine = this;
}

// A scripted answer that nothing read means the code under test read less
// than the test expected: that is a failure too.
SimulatedMachine::~SimulatedMachine() {
  gMachine = nullptr;
  for (const auto &[Port, Answers] : PortAnswers_) {
    if (!Answers.empty()) {
      Abort("scripted reads left unread on port", Port);
    }
  }
}

SimulatedMachine &SimulatedMachine::Active() {
  if (gMachine == nullptr) {
    Abort("a processor primitive ran with no simulated machine", 0);
  }
  return *gMachine;
}

void SimulatedMachine::AnswerPortReads(UINT16 Port, std::vector<UINT32> Values) {
  PortAnswers_[Port].insert(PortAnswers_[Port].end(), Values.begin(), Values.end());
}

std::vector<UINT32> SimulatedMachine::PortWrites(UINT16 Port) const {
  std::vector<UINT32> Values;
  for (const PortAccess &Access : Ports_) {
    if (Access.Write && Access.Port == Port) {
      Values.push_back(Access.Value);
    }
  }
  return Values;
}

UINT64 SimulatedMachine::PortReadCount(UINT16 Port) const {
  UINT64 Count = 0;
  for (const PortAccess &Access : Ports_) {
    Count += !Access.Write && Access.Port == Port;
  }
  return Count;
}

UINT32 SimulatedMachine::Peek32(UINTN Offset) const {
  UINT32 Value;
  memcpy(&Value, &Window.at(Offset + 3) - 3, sizeof(Value));
  return Value;
}

void SimulatedMachine::Poke32(UINTN Offset, UINT32 Value) { memcpy(&Window.at(Offset + 3) - 3, &Value, sizeof(Value)); }

void SimulatedMachine::ClearObservations() {
  Ports_.clear();
  Trace_.clear();
  WindowLog.clear();
  WindowReads = WindowWrites = Pauses = Steps_ = 0;
}

void SimulatedMachine::Step() {
  if (++Steps_ > StepLimit) {
    Stop();
  }
}

void SimulatedMachine::Stop() { throw MachineStopped{}; }

CPUID_RESULT SimulatedMachine::CpuId(UINT32 Leaf, UINT32 SubLeaf) {
  Step();
  Trace_.push_back("cpuid " + Hex(Leaf) + (SubLeaf != 0 ? " " + Hex(SubLeaf) : ""));
  const auto Found = CpuIdAnswers_.find(Leaf);
  return Found == CpuIdAnswers_.end() ? CPUID_RESULT{} : Found->second;
}

UINT64 SimulatedMachine::ReadMsr(UINT32 Index) {
  Step();
  Trace_.push_back("rdmsr " + Hex(Index));
  if (FaultingMsrs_.count(Index) != 0) {
    throw MachineFault{Index};
  }
  const auto Found = MsrAnswers_.find(Index);
  return Found == MsrAnswers_.end() ? 0 : Found->second;
}

UINT64 SimulatedMachine::ReadTsc() {
  Step();
  const UINT64 Now = Tsc;
  Tsc += TscStep;
  return Now;
}

UINT32 SimulatedMachine::PortRead(UINT16 Port, UINT8 Bytes) {
  Step();
  UINT32 Value = DefaultPortRead;
  auto &Queued = PortAnswers_[Port];
  if (!Queued.empty()) {
    Value = Queued.front();
    Queued.pop_front();
  }
  if (Bytes < 4) {
    Value &= (1U << (Bytes * 8)) - 1;
  }
  Ports_.push_back({false, Port, Bytes, Value, Tsc});
  Trace_.push_back("in" + std::to_string(Bytes * 8) + " " + Hex(Port) + " -> " + Hex(Value));
  return Value;
}

void SimulatedMachine::PortWrite(UINT16 Port, UINT8 Bytes, UINT32 Value) {
  Step();
  Ports_.push_back({true, Port, Bytes, Value, Tsc});
  Trace_.push_back("out" + std::to_string(Bytes * 8) + " " + Hex(Port) + " " + Hex(Value));
  if (PortWriteBudget_ != UINT64_MAX && --PortWriteBudget_ == 0) {
    throw MachineStopped{};
  }
}

// Every byte of a long message passes through here, so the common path is
// kept to counting and a bounds check; logging and aborting are out of line.
UINT8 *SimulatedMachine::WindowAt(bool Write, UINTN Offset, UINT8 Bytes) {
  Step();
  if (Offset > DIAG_WINDOW_SIZE || Bytes > DIAG_WINDOW_SIZE - Offset) {
    Abort(Write ? "window write outside the window at offset" : "window read outside the window at offset", Offset);
  }
  (Write ? WindowWrites : WindowReads)++;
  if (WindowLog.size() < WindowLogLimit) {
    LogWindowAccess(Write, Offset, Bytes);
  }
  if (!WindowIsMemory) {
    memset(Unbacked_, 0xFF, sizeof(Unbacked_));
    return Unbacked_;
  }
  return Window.data() + Offset;
}

void SimulatedMachine::LogWindowAccess(bool Write, UINTN Offset, UINT8 Bytes) {
  WindowLog.push_back({Write, Bytes, static_cast<UINT32>(Offset)});
}

UINT32 SimulatedMachine::Probe(UINT32 Code) {
  Step();
  Trace_.push_back("probe " + Hex(Code));
  return (ProbeEax & 0xFFFF0000) | ProbeSi;
}

// The primitives of platform/Cpu.h, answered by the active machine.

CPUID_RESULT CpuId(UINT32 Leaf, UINT32 SubLeaf) { return SimulatedMachine::Active().CpuId(Leaf, SubLeaf); }
UINT64 ReadTsc() { return SimulatedMachine::Active().ReadTsc(); }
void CpuPause() {
  SimulatedMachine::Active().Step();
  SimulatedMachine::Active().Pauses++;
}
UINT64 ReadMsr(UINT32 Index) { return SimulatedMachine::Active().ReadMsr(Index); }

UINT8 IoRead8(UINT16 Port) { return static_cast<UINT8>(SimulatedMachine::Active().PortRead(Port, 1)); }
void IoWrite8(UINT16 Port, UINT8 Value) { SimulatedMachine::Active().PortWrite(Port, 1, Value); }
void IoWrite16(UINT16 Port, UINT16 Value) { SimulatedMachine::Active().PortWrite(Port, 2, Value); }
void IoWrite32(UINT16 Port, UINT32 Value) { SimulatedMachine::Active().PortWrite(Port, 4, Value); }

UINT8 WindowRead8(UINTN Offset) { return *SimulatedMachine::Active().WindowAt(false, Offset, 1); }
UINT32 WindowRead32(UINTN Offset) {
  UINT32 Value;
  memcpy(&Value, SimulatedMachine::Active().WindowAt(false, Offset, 4), sizeof(Value));
  return Value;
}
void WindowWrite8(UINTN Offset, UINT8 Value) { *SimulatedMachine::Active().WindowAt(true, Offset, 1) = Value; }
void WindowWrite16(UINTN Offset, UINT16 Value) {
  memcpy(SimulatedMachine::Active().WindowAt(true, Offset, 2), &Value, sizeof(Value));
}
void WindowWrite32(UINTN Offset, UINT32 Value) {
  memcpy(SimulatedMachine::Active().WindowAt(true, Offset, 4), &Value, sizeof(Value));
}

UINT32 EnvironmentProbe(UINT32 Code) { return SimulatedMachine::Active().Probe(Code); }
