// A simulated x86-64 machine behind the processor primitives of
// platform/Cpu.h, linked into the host tests in place of the real
// instructions. It depends on no test framework, so fuzz targets use it too.
//
// How a test uses it:
//
//   SimulatedMachine Machine;                         // one at a time
//   Machine.AnswerCpuId(0x80000001, {0x00B00F00, 0, 0, 0});
//   Machine.AnswerMsr(0xC0010064, 0x800000000000088C);
//   Machine.FaultOnMsr(0xC0010065);                   // reading it throws MachineFault
//   Machine.AnswerPortReads(0x3FD, {0x00, 0x60});     // then DefaultPortRead
//   Machine.StopAfterPortWrites(8);                   // ends an endless loop
//   try { FatalCodeHalt(0x00080225); } catch (const MachineStopped &) {}
//   Machine.Trace();   // "out16 0xE0 0xDEAD", "cpuid 0x80000001", ...
//
// - Port accesses record port, width, value and the time-stamp counter at
//   the moment of the access; Trace() prints every port access, CPUID,
//   RDMSR and probe in order.
// - The time-stamp counter advances by TscStep at every read.
// - The window is a 16 MiB array in place of the physical window; each
//   access is logged with its offset and width (the first WindowLogLimit
//   of them; the counts cover all). An access that reaches outside the
//   window aborts with a message: the code under test is at fault.
// - Every primitive is a step; more than StepLimit steps throws
//   MachineStopped, so a test that would hang fails instead.
// - Scripted port reads that are still unread when the machine goes away
//   abort the test: the code read less than the test expected.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Cpu.h"

// Thrown when the machine stops a run: step budget or port-write budget.
struct MachineStopped {};
// Thrown where real hardware raises a general-protection fault.
struct MachineFault {
  UINT32 Msr;
};

struct PortAccess {
  bool Write;
  UINT16 Port;
  UINT8 Bytes;
  UINT32 Value;
  UINT64 Tick;
};

struct WindowAccess {
  bool Write;
  UINT8 Bytes;
  UINT32 Offset;
};

class SimulatedMachine {
 public:
  SimulatedMachine();
  ~SimulatedMachine();
  SimulatedMachine(const SimulatedMachine &) = delete;
  SimulatedMachine &operator=(const SimulatedMachine &) = delete;

  static SimulatedMachine &Active();

  // Script. Leaves and registers without an answer read as zero.
  void AnswerCpuId(UINT32 Leaf, CPUID_RESULT Result) { CpuIdAnswers_[Leaf] = Result; }
  void AnswerMsr(UINT32 Index, UINT64 Value) { MsrAnswers_[Index] = Value; }
  void FaultOnMsr(UINT32 Index) { FaultingMsrs_.insert(Index); }
  void AnswerPortReads(UINT16 Port, std::vector<UINT32> Values);
  UINT32 DefaultPortRead = 0xFFFFFFFF;
  // What an environment that services the probe leaf leaves in EAX and SI.
  UINT32 ProbeEax = 0;
  UINT16 ProbeSi = 0;
  UINT64 TscStep = 1;
  UINT64 StepLimit = 100000000;
  void StopAfterPortWrites(UINT64 Count) { PortWriteBudget_ = Count; }
  // FALSE: the window holds no memory; writes vanish and reads float high.
  bool WindowIsMemory = true;

  // Observations.
  // Forgets what was observed, for a machine reused run after run.
  void ClearObservations();
  std::vector<std::string> Trace() const { return Trace_; }
  const std::vector<PortAccess> &Ports() const { return Ports_; }
  // The writes to Port, in order.
  std::vector<UINT32> PortWrites(UINT16 Port) const;
  UINT64 PortReadCount(UINT16 Port) const;
  UINT64 Tsc = 0;
  UINT64 Pauses = 0;

  std::vector<UINT8> Window;
  std::vector<WindowAccess> WindowLog;
  size_t WindowLogLimit = 1 << 16;
  UINT64 WindowReads = 0;
  UINT64 WindowWrites = 0;
  // Little-endian reads and writes of the array itself, not logged.
  UINT32 Peek32(UINTN Offset) const;
  void Poke32(UINTN Offset, UINT32 Value);

  // Used by the primitives.
  void Step();
  CPUID_RESULT CpuId(UINT32 Leaf, UINT32 SubLeaf);
  UINT64 ReadMsr(UINT32 Index);
  UINT64 ReadTsc();
  UINT32 PortRead(UINT16 Port, UINT8 Bytes);
  void PortWrite(UINT16 Port, UINT8 Bytes, UINT32 Value);
  UINT8 *WindowAt(bool Write, UINTN Offset, UINT8 Bytes);
  UINT32 Probe(UINT32 Code);

 private:
  [[noreturn, gnu::noinline, gnu::cold]] static void Stop();
  [[gnu::noinline]] void LogWindowAccess(bool Write, UINTN Offset, UINT8 Bytes);

  std::map<UINT32, CPUID_RESULT> CpuIdAnswers_;
  std::map<UINT32, UINT64> MsrAnswers_;
  std::set<UINT32> FaultingMsrs_;
  std::map<UINT16, std::deque<UINT32>> PortAnswers_;
  std::vector<PortAccess> Ports_;
  std::vector<std::string> Trace_;
  UINT64 Steps_ = 0;
  UINT64 PortWriteBudget_ = UINT64_MAX;
  UINT8 Unbacked_[4] = {};
};
