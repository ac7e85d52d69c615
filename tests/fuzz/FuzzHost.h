// A setup-screen host for fuzz targets. Every listed slot of both host
// tables answers from the fuzz input (zero and null included), reads each
// record the plug-in passes in whole so that the sanitizers see a bad
// pointer, writes out-parameters from the input, and counts calls. A target
// allows the operations it may reach; a call through any other slot, listed
// or not, or more calls than the target's limit, aborts the run with the
// operation's name.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "data/ThemeTables.h"
#include "host/ThemeProviderProtocol.h"
#include "hostcalls/HostCall.h"

class FuzzHost {
 public:
  FuzzHost(const uint8_t *Data, size_t Size);
  ~FuzzHost();
  FuzzHost(const FuzzHost &) = delete;
  FuzzHost &operator=(const FuzzHost &) = delete;

  // Writes the host's three pointers into the record, as a real host does.
  void AttachTo(THEME_PROVIDER_PROTOCOL *Record);

  void Allow(std::initializer_list<HostUiSlot> Slots);
  void Allow(std::initializer_list<HostServicesSlot> Slots);
  void LimitCalls(size_t Limit) { CallLimit_ = Limit; }

  FuzzedDataProvider &Input() { return Input_; }
  size_t Calls() const { return Calls_; }

  // What the fake operations use.
  static FuzzHost &Active();
  void Enter(UINT8 Table, UINT8 Slot);
  THEME_IMAGE *AnyImage();  // null or one of the host's images, by the input

  // The host-filled image table (entry n is theme image n), heap-allocated so
  // that a read past either end is reported.
  THEME_IMAGE *ImageTable;
  static constexpr size_t kImageTableEntries = THEME_IMAGE_COUNT + 1;

 private:
  FuzzedDataProvider Input_;
  HOST_UI_TABLE Ui_;
  HOST_SERVICES_TABLE Services_;
  bool UiAllowed_[HOST_UI_TABLE_SLOT_COUNT] = {};
  bool ServicesAllowed_[HOST_SERVICES_TABLE_SLOT_COUNT] = {};
  THEME_IMAGE *HostImages_;
  size_t Calls_ = 0;
  size_t CallLimit_ = SIZE_MAX;
};
