// The processor primitives as x86-64 instructions. Built into the driver
// only; the host tests link a simulated machine instead.
#include "platform/Cpu.h"

CPUID_RESULT CpuId(UINT32 Leaf, UINT32 SubLeaf) {
  CPUID_RESULT Result;
  __asm__ volatile("cpuid" : "=a"(Result.Eax), "=b"(Result.Ebx), "=c"(Result.Ecx), "=d"(Result.Edx)
                   : "a"(Leaf), "c"(SubLeaf));
  return Result;
}

UINT64 ReadTsc() {
  UINT32 Low, High;
  __asm__ volatile("rdtsc" : "=a"(Low), "=d"(High));
  return ((UINT64)High << 32) | Low;
}

void CpuPause() { __asm__ volatile("pause" ::: "memory"); }

UINT64 ReadMsr(UINT32 Index) {
  UINT32 Low, High;
  __asm__ volatile("rdmsr" : "=a"(Low), "=d"(High) : "c"(Index));
  return ((UINT64)High << 32) | Low;
}

UINT8 IoRead8(UINT16 Port) {
  UINT8 Value;
  __asm__ volatile("inb %w1, %b0" : "=a"(Value) : "Nd"(Port));
  return Value;
}

void IoWrite8(UINT16 Port, UINT8 Value) { __asm__ volatile("outb %b0, %w1" : : "a"(Value), "Nd"(Port)); }
void IoWrite16(UINT16 Port, UINT16 Value) { __asm__ volatile("outw %w0, %w1" : : "a"(Value), "Nd"(Port)); }
void IoWrite32(UINT16 Port, UINT32 Value) { __asm__ volatile("outl %0, %w1" : : "a"(Value), "Nd"(Port)); }

namespace {

volatile UINT8 *WindowByte(UINTN Offset) {
  return reinterpret_cast<volatile UINT8 *>(DIAG_WINDOW_BASE + Offset);
}

}  // namespace

UINT8 WindowRead8(UINTN Offset) { return *WindowByte(Offset); }
UINT32 WindowRead32(UINTN Offset) { return *reinterpret_cast<volatile UINT32 *>(WindowByte(Offset)); }
void WindowWrite8(UINTN Offset, UINT8 Value) { *WindowByte(Offset) = Value; }
void WindowWrite16(UINTN Offset, UINT16 Value) { *reinterpret_cast<volatile UINT16 *>(WindowByte(Offset)) = Value; }
void WindowWrite32(UINTN Offset, UINT32 Value) { *reinterpret_cast<volatile UINT32 *>(WindowByte(Offset)) = Value; }

// One asm statement from the clearing of SI to the reading of it, so the
// compiler can neither move code between them nor drop either half; every
// register the sequence touches apart from EAX is saved and restored inside
// it (the driver is built without a red zone, so the pushes are safe).
UINT32 EnvironmentProbe(UINT32 Code) {
  UINT32 Result = 0xBACCD00B;
  __asm__ volatile(
      "pushfq\n\t"
      "pushq %%rbx\n\t"
      "pushq %%rcx\n\t"
      "pushq %%rdx\n\t"
      "pushq %%rsi\n\t"
      "xorw %%si, %%si\n\t"
      "movl $2, %%ebx\n\t"
      "cpuid\n\t"
      "movw %%si, %%ax\n\t"
      "popq %%rsi\n\t"
      "popq %%rdx\n\t"
      "popq %%rcx\n\t"
      "popq %%rbx\n\t"
      "popfq"
      : "+a"(Result)
      : "c"(Code)
      : "memory");
  return Result;
}
