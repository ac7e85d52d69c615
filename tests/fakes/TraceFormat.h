// Formatting of call arguments for readable traces. Pointers are shown by
// the names a test gave them, so traces stay the same from run to run.
#pragma once

#include <cstdio>
#include <map>
#include <string>
#include <type_traits>

#include "platform/uefi/UefiBase.h"

class PointerNames {
 public:
  void Name(const void *Pointer, std::string Label) { Names_[Pointer] = std::move(Label); }
  void Clear() { Names_.clear(); }
  std::string Describe(const void *Pointer) const;
  // The name given to Pointer, or null.
  const std::string *Find(const void *Pointer) const;

 private:
  std::map<const void *, std::string> Names_;
};

PointerNames &TracePointerNames();

std::string FormatStatus(EFI_STATUS Status);

// Small numbers in decimal, large ones (colours, codes, masks) in hex.
template <typename T>
std::string FormatArgument(T Value) {
  if constexpr (std::is_same_v<T, const char *>) {
    return Value;
  } else if constexpr (std::is_pointer_v<T>) {
    return TracePointerNames().Describe(reinterpret_cast<const void *>(Value));
  } else if constexpr (std::is_signed_v<T>) {
    return std::to_string(static_cast<long long>(Value));
  } else {
    const unsigned long long Wide = Value;
    if (Wide < 0x10000) {
      return std::to_string(Wide);
    }
    char Buffer[24];
    snprintf(Buffer, sizeof(Buffer), "0x%llX", Wide);
    return Buffer;
  }
}

template <typename... Args>
std::string FormatCall(const char *Operation, Args... Arguments) {
  std::string Line = Operation;
  Line += '(';
  [[maybe_unused]] const char *Separator = "";
  ((Line += Separator, Line += FormatArgument(Arguments), Separator = ", "), ...);
  Line += ')';
  return Line;
}
