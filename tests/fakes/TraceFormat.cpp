#include "fakes/TraceFormat.h"

#include <cstdio>

PointerNames &TracePointerNames() {
  static PointerNames Names;
  return Names;
}

std::string PointerNames::Describe(const void *Pointer) const {
  if (Pointer == nullptr) {
    return "null";
  }
  auto Found = Names_.find(Pointer);
  if (Found != Names_.end()) {
    return Found->second;
  }
  char Buffer[32];
  snprintf(Buffer, sizeof(Buffer), "ptr:%p", Pointer);
  return Buffer;
}

const std::string *PointerNames::Find(const void *Pointer) const {
  auto Found = Names_.find(Pointer);
  return Found == Names_.end() ? nullptr : &Found->second;
}

std::string FormatStatus(EFI_STATUS Status) {
  switch (Status) {
    case EFI_SUCCESS: return "Success";
    case EFI_INVALID_PARAMETER: return "InvalidParameter";
    case EFI_UNSUPPORTED: return "Unsupported";
    case EFI_OUT_OF_RESOURCES: return "OutOfResources";
    case EFI_NOT_FOUND: return "NotFound";
    default: return FormatArgument(Status);
  }
}
