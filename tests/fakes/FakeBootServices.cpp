#include "fakes/FakeBootServices.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>

#include "fakes/TraceFormat.h"

namespace {

FakeBootServices *gActive = nullptr;

std::vector<std::pair<EFI_GUID, std::string>> &GuidNames() {
  static std::vector<std::pair<EFI_GUID, std::string>> Names;
  return Names;
}

FakeBootServices &Fake() { return FakeBootServices::Active(); }

std::string Join(const std::string &Line, EFI_STATUS Status) { return Line + " -> " + FormatStatus(Status); }

// A scripted failure replaces the operation's work; returns true if it did.
bool Failed(const char *Operation, const std::string &Line, EFI_STATUS *Status) {
  if (!Fake().TakeScripted(Operation, Status) || *Status == EFI_SUCCESS) {
    return false;
  }
  Fake().Record(Join(Line, *Status));
  return true;
}

EFI_STATUS EFIAPI FakeAllocatePool(EFI_MEMORY_TYPE PoolType, UINTN Size, VOID **Buffer) {
  const std::string Line = FormatCall("AllocatePool", static_cast<UINT32>(PoolType), Size);
  EFI_STATUS Status;
  if (Failed("AllocatePool", Line, &Status)) {
    return Status;
  }
  *Buffer = malloc(Size == 0 ? 1 : Size);
  Fake().Pool_.insert(*Buffer);
  Fake().Record(Join(Line, EFI_SUCCESS));
  return EFI_SUCCESS;
}

EFI_STATUS EFIAPI FakeFreePool(VOID *Buffer) {
  const std::string Line = FormatCall("FreePool", Buffer);
  EFI_STATUS Status;
  if (Failed("FreePool", Line, &Status)) {
    return Status;
  }
  if (Fake().Pool_.erase(Buffer) == 0) {
    ADD_FAILURE() << "FreePool of memory that is not a live pool allocation";
    Fake().Record(Join(Line, EFI_INVALID_PARAMETER));
    return EFI_INVALID_PARAMETER;
  }
  free(Buffer);
  Fake().Record(Join(Line, EFI_SUCCESS));
  return EFI_SUCCESS;
}

EFI_STATUS InstallOne(EFI_HANDLE *Handle, const EFI_GUID *Protocol, VOID *Interface) {
  if (*Handle == nullptr) {
    *Handle = Fake().NewHandle();
  }
  FakeBootServices::HandleEntry *Entry = Fake().FindHandle(*Handle);
  if (Entry == nullptr) {
    return EFI_INVALID_PARAMETER;
  }
  for (const auto &Installed : Entry->Protocols) {
    if (GuidEquals(&Installed.first, Protocol)) {
      return EFI_INVALID_PARAMETER;
    }
  }
  Entry->Protocols.emplace_back(*Protocol, Interface);
  return EFI_SUCCESS;
}

EFI_STATUS EFIAPI FakeInstallProtocolInterface(EFI_HANDLE *Handle, const EFI_GUID *Protocol,
                                               EFI_INTERFACE_TYPE InterfaceType, VOID *Interface) {
  const std::string Line = FormatCall("InstallProtocolInterface", *Handle, DescribeGuid(Protocol).c_str(),
                                      static_cast<UINT32>(InterfaceType), Interface);
  EFI_STATUS Status;
  if (Failed("InstallProtocolInterface", Line, &Status)) {
    return Status;
  }
  Status = InstallOne(Handle, Protocol, Interface);
  Fake().Record(Join(Line, Status) + (EFI_ERROR(Status) ? "" : " on " + TracePointerNames().Describe(*Handle)));
  return Status;
}

EFI_STATUS EFIAPI FakeHandleProtocol(EFI_HANDLE Handle, const EFI_GUID *Protocol, VOID **Interface) {
  const std::string Line = FormatCall("HandleProtocol", Handle, DescribeGuid(Protocol).c_str());
  EFI_STATUS Status;
  if (Failed("HandleProtocol", Line, &Status)) {
    return Status;
  }
  Status = EFI_UNSUPPORTED;
  if (FakeBootServices::HandleEntry *Entry = Fake().FindHandle(Handle)) {
    for (const auto &Installed : Entry->Protocols) {
      if (GuidEquals(&Installed.first, Protocol)) {
        *Interface = Installed.second;
        Status = EFI_SUCCESS;
      }
    }
  }
  Fake().Record(Join(Line, Status));
  return Status;
}

EFI_STATUS EFIAPI FakeLocateHandleBuffer(EFI_LOCATE_SEARCH_TYPE SearchType, const EFI_GUID *Protocol,
                                         VOID *SearchKey, UINTN *NoHandles, EFI_HANDLE **Buffer) {
  const std::string Line = FormatCall("LocateHandleBuffer", SearchType == ByProtocol ? "ByProtocol" : "OtherSearch",
                                      DescribeGuid(Protocol).c_str(), SearchKey);
  EFI_STATUS Status;
  if (Failed("LocateHandleBuffer", Line, &Status)) {
    return Status;
  }
  EXPECT_EQ(SearchType, ByProtocol) << "only searches by protocol are faked";
  std::vector<EFI_HANDLE> Found;
  std::string Names;
  for (const auto &Entry : Fake().Handles_) {
    for (const auto &Installed : Entry->Protocols) {
      if (GuidEquals(&Installed.first, Protocol)) {
        Found.push_back(Entry.get());
        Names += (Names.empty() ? "" : ", ") + Entry->Label;
      }
    }
  }
  if (Found.empty() && !Fake().LocateAnswersEmptySuccess) {
    Fake().Record(Join(Line, EFI_NOT_FOUND));
    return EFI_NOT_FOUND;
  }
  *NoHandles = Found.size();
  *Buffer = static_cast<EFI_HANDLE *>(malloc(Found.empty() ? 1 : Found.size() * sizeof(EFI_HANDLE)));
  std::copy(Found.begin(), Found.end(), *Buffer);
  Fake().Pool_.insert(*Buffer);
  TracePointerNames().Name(*Buffer, "HandleBuffer");
  Fake().Record(Join(Line, EFI_SUCCESS) + " [" + Names + "]");
  return EFI_SUCCESS;
}

EFI_STATUS EFIAPI FakeLocateProtocol(const EFI_GUID *Protocol, VOID *Registration, VOID **Interface) {
  const std::string Line = FormatCall("LocateProtocol", DescribeGuid(Protocol).c_str(), Registration);
  EFI_STATUS Status;
  if (Failed("LocateProtocol", Line, &Status)) {
    return Status;
  }
  Status = EFI_NOT_FOUND;
  for (const auto &Entry : Fake().Handles_) {
    for (const auto &Installed : Entry->Protocols) {
      if (Status == EFI_NOT_FOUND && GuidEquals(&Installed.first, Protocol)) {
        *Interface = Installed.second;
        Status = EFI_SUCCESS;
      }
    }
  }
  Fake().Record(Join(Line, Status));
  return Status;
}

// Variadic under the Microsoft convention, as firmware calls it: GUID and
// interface pairs, ended by a null GUID.
EFI_STATUS EFIAPI FakeInstallMultipleProtocolInterfaces(EFI_HANDLE *Handle, ...) {
  EFI_VA_LIST Arguments;
  EFI_VA_START(Arguments, Handle);
  std::vector<std::pair<const EFI_GUID *, VOID *>> Pairs;
  for (;;) {
    const EFI_GUID *Protocol = EFI_VA_ARG(Arguments, const EFI_GUID *);
    if (Protocol == nullptr) {
      break;
    }
    Pairs.emplace_back(Protocol, EFI_VA_ARG(Arguments, VOID *));
  }
  EFI_VA_END(Arguments);

  std::string Line = "InstallMultipleProtocolInterfaces(" + TracePointerNames().Describe(*Handle);
  for (const auto &Pair : Pairs) {
    Line += ", " + DescribeGuid(Pair.first) + ", " + TracePointerNames().Describe(Pair.second);
  }
  Line += ", null)";
  EFI_STATUS Status;
  if (Failed("InstallMultipleProtocolInterfaces", Line, &Status)) {
    return Status;
  }
  if (Fake().OnInstall) {
    for (const auto &Pair : Pairs) {
      Fake().OnInstall(*Pair.first, Pair.second);
    }
  }
  Status = EFI_SUCCESS;
  for (const auto &Pair : Pairs) {
    Status = InstallOne(Handle, Pair.first, Pair.second);
    if (EFI_ERROR(Status)) {
      break;
    }
  }
  Fake().Record(Join(Line, Status) + (EFI_ERROR(Status) ? "" : " on " + TracePointerNames().Describe(*Handle)));
  return Status;
}

template <UINTN Slot>
EFI_STATUS EFIAPI UnexpectedBootService() {
  ADD_FAILURE() << "the driver called unfaked boot service at byte " << Slot * 8;
  return EFI_UNSUPPORTED;
}

template <UINTN... Slots>
void FillWithTraps(VOID **Table, std::index_sequence<Slots...>) {
  ((Table[Slots] = reinterpret_cast<VOID *>(&UnexpectedBootService<Slots>)), ...);
}

}  // namespace

FakeBootServices::FakeBootServices() : SystemTable{}, BootServices{}, RuntimeServices{} {
  EXPECT_EQ(gActive, nullptr) << "one set of fake boot services at a time";
  gActive = this;
  constexpr UINTN HeaderSlots = sizeof(EFI_TABLE_HEADER) / 8;
  constexpr UINTN Slots = (sizeof(EFI_BOOT_SERVICES) - sizeof(EFI_TABLE_HEADER)) / 8;
  FillWithTraps(reinterpret_cast<VOID **>(&BootServices) + HeaderSlots, std::make_index_sequence<Slots>());
  BootServices.AllocatePool = FakeAllocatePool;
  BootServices.FreePool = FakeFreePool;
  BootServices.InstallProtocolInterface = FakeInstallProtocolInterface;
  BootServices.HandleProtocol = FakeHandleProtocol;
  BootServices.LocateHandleBuffer = FakeLocateHandleBuffer;
  BootServices.LocateProtocol = FakeLocateProtocol;
  BootServices.InstallMultipleProtocolInterfaces = FakeInstallMultipleProtocolInterfaces;
  SystemTable.BootServices = &BootServices;
  SystemTable.RuntimeServices = &RuntimeServices;
}

FakeBootServices::~FakeBootServices() {
  for (VOID *Buffer : Pool_) {
    free(Buffer);
  }
  gActive = nullptr;
}

FakeBootServices &FakeBootServices::Active() {
  if (gActive == nullptr) {
    ADD_FAILURE() << "a boot service was called with no fake boot services";
    abort();
  }
  return *gActive;
}

EFI_HANDLE FakeBootServices::NewHandle() {
  Handles_.push_back(std::make_unique<HandleEntry>());
  HandleEntry *Entry = Handles_.back().get();
  Entry->Label = "NewHandle" + std::to_string(Handles_.size());
  TracePointerNames().Name(Entry, Entry->Label);
  return Entry;
}

EFI_HANDLE FakeBootServices::InstallOnNewHandle(const EFI_GUID &Protocol, VOID *Interface,
                                                const std::string &Label) {
  EFI_HANDLE Handle = NewHandle();
  HandleEntry *Entry = FindHandle(Handle);
  Entry->Label = Label;
  TracePointerNames().Name(Entry, Label);
  Entry->Protocols.emplace_back(Protocol, Interface);
  return Handle;
}

FakeBootServices::HandleEntry *FakeBootServices::FindHandle(EFI_HANDLE Handle) {
  for (const auto &Entry : Handles_) {
    if (Entry.get() == Handle) {
      return Entry.get();
    }
  }
  return nullptr;
}

void FakeBootServices::Script(const std::string &Operation, std::initializer_list<EFI_STATUS> Statuses) {
  auto &Queue = Scripted_[Operation];
  Queue.insert(Queue.end(), Statuses.begin(), Statuses.end());
}

bool FakeBootServices::TakeScripted(const char *Operation, EFI_STATUS *Status) {
  auto Found = Scripted_.find(Operation);
  if (Found == Scripted_.end() || Found->second.empty()) {
    return false;
  }
  *Status = Found->second.front();
  Found->second.pop_front();
  return true;
}

std::vector<VOID *> FakeBootServices::InterfacesOf(const EFI_GUID &Protocol) const {
  std::vector<VOID *> Interfaces;
  for (const auto &Entry : Handles_) {
    for (const auto &Installed : Entry->Protocols) {
      if (GuidEquals(&Installed.first, &Protocol)) {
        Interfaces.push_back(Installed.second);
      }
    }
  }
  return Interfaces;
}

void FakeBootServices::NameGuid(const EFI_GUID &Guid, const std::string &Label) {
  GuidNames().emplace_back(Guid, Label);
}

std::string DescribeGuid(const EFI_GUID *Guid) {
  if (Guid == nullptr) {
    return "null";
  }
  for (const auto &Named : GuidNames()) {
    if (GuidEquals(&Named.first, Guid)) {
      return Named.second;
    }
  }
  char Text[40];
  snprintf(Text, sizeof(Text), "{%08X-%04X-%04X-...}", Guid->Data1, Guid->Data2, Guid->Data3);
  return Text;
}
