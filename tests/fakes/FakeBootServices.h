// Fake boot services with a small handle database. Every call is traced;
// any call can be scripted to fail with a given status.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "fakes/RecordingHost.h"
#include "platform/uefi/SystemTable.h"

class FakeBootServices {
 public:
  FakeBootServices();
  ~FakeBootServices();
  FakeBootServices(const FakeBootServices &) = delete;
  FakeBootServices &operator=(const FakeBootServices &) = delete;

  // Installs Interface under Protocol on a new handle, as another driver
  // would have before ours; the handle shows as Label in traces.
  EFI_HANDLE InstallOnNewHandle(const EFI_GUID &Protocol, VOID *Interface, const std::string &Label);

  // The next calls of Operation return these statuses, in order, instead of
  // doing their work; EFI_SUCCESS in the list means "behave normally".
  void Script(const std::string &Operation, std::initializer_list<EFI_STATUS> Statuses);

  // Makes LocateHandleBuffer answer success with no handles and an empty
  // pool buffer, as some firmware does instead of EFI_NOT_FOUND.
  bool LocateAnswersEmptySuccess = false;

  // Gives GUIDs readable names in traces.
  static void NameGuid(const EFI_GUID &Guid, const std::string &Label);

  // The interfaces installed under Protocol, in handle order.
  std::vector<VOID *> InterfacesOf(const EFI_GUID &Protocol) const;
  size_t HandleCount() const { return Handles_.size(); }
  size_t LivePoolAllocations() const { return Pool_.size(); }

  const Trace &Calls() const { return Calls_; }

  // Called with each interface at the moment InstallMultipleProtocolInterfaces
  // receives it, before it is installed.
  std::function<void(const EFI_GUID &, VOID *)> OnInstall;

  EFI_SYSTEM_TABLE SystemTable;
  EFI_BOOT_SERVICES BootServices;
  EFI_RUNTIME_SERVICES RuntimeServices;

  // Used by the fake operations.
  static FakeBootServices &Active();
  struct HandleEntry {
    std::string Label;
    std::vector<std::pair<EFI_GUID, VOID *>> Protocols;
  };
  bool TakeScripted(const char *Operation, EFI_STATUS *Status);
  void Record(std::string Line) { Calls_.push_back(std::move(Line)); }
  HandleEntry *FindHandle(EFI_HANDLE Handle);
  EFI_HANDLE NewHandle();
  std::vector<std::unique_ptr<HandleEntry>> Handles_;
  std::set<VOID *> Pool_;
  std::map<std::string, std::deque<EFI_STATUS>> Scripted_;
  Trace Calls_;
};

std::string DescribeGuid(const EFI_GUID *Guid);
