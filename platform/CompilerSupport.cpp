// The few C library symbols that the compiler emits calls to on its own
// (struct copies, zeroed locals) and that the memory primitives of Cpu.h
// stand on. The driver links no C library, so they live here; the string
// instructions keep them small and safe from being turned back into calls
// to themselves. Built into the driver only.
#include "platform/uefi/UefiBase.h"

extern "C" {

void *memcpy(void *Destination, const void *Source, size_t Length) {
  void *Result = Destination;
  __asm__ volatile("rep movsb" : "+D"(Destination), "+S"(Source), "+c"(Length) : : "memory");
  return Result;
}

void *memset(void *Destination, int Value, size_t Length) {
  void *Result = Destination;
  __asm__ volatile("rep stosb" : "+D"(Destination), "+c"(Length) : "a"(Value) : "memory");
  return Result;
}

}  // extern "C"
