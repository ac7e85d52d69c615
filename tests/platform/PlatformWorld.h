// The firmware a library set-up test runs in: fake boot services, a
// simulated machine, a configuration table, a HOB list built to order and
// a PCD protocol that records its reads in the boot-services trace.
#pragma once

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "fakes/DriverState.h"
#include "fakes/FakeBootServices.h"
#include "fakes/SimulatedMachine.h"
#include "platform/DebugSettings.h"
#include "platform/HeapRecords.h"

struct HeapHobSpec {
  UINT32 Signature = HEAP_DESCRIPTOR_SIGNATURE;
  UINT8 PoolKind = 7;
  UINT8 Active = 1;
  std::vector<UINT8> Payload;
  // Added to the payload length in the descriptor: a Size that claims more
  // than the block holds.
  UINT32 SizeOverstatedBy = 0;
  // Another type makes the same bytes some other HOB: a memory-allocation
  // HOB (type 2) keeps its allocation's name where an extension keeps its own.
  UINT16 HobType = EFI_HOB_TYPE_GUID_EXTENSION;
};

// HOBs laid out one after another, each padded to 8 bytes as firmware does.
class HobListBuilder {
 public:
  HobListBuilder &Heap(const HeapHobSpec &Spec);
  // A GUID extension block that is not a heap HOB.
  HobListBuilder &OtherGuid();
  // A bare header of any type and length, padded with zeros to Length.
  HobListBuilder &Raw(UINT16 Type, UINT16 Length);
  std::vector<UINT64> End();

 private:
  std::vector<UINT8> Bytes_;
};

class PlatformWorld {
 public:
  PlatformWorld();
  ~PlatformWorld();

  void OfferPcdProtocols(bool Native, bool Pi);
  void PublishHobList(std::vector<UINT64> List);

  FreshDriverState Fresh;
  FakeBootServices Boot;
  SimulatedMachine Machine;
  std::vector<UINT64> HobList;
  std::vector<EFI_CONFIGURATION_TABLE> Configuration;
  PCD_PROTOCOL Pcd{};
  UINT64 PiPcd = 0;
};

// The records in the list at gHeapRecordListHead, one line each:
// "kind 8 size 4 extra 0x01020304 0x0A0B payload 01020304".
std::vector<std::string> DescribeHeapRecords();
