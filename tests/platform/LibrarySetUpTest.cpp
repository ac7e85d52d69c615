// Library set-up as the entry point runs it, against fake boot services,
// a configuration table with a HOB list built to order, and a simulated
// machine whose probe answers, so a reported failure shows and set-up goes on.
#include <gtest/gtest.h>

#include <functional>

#include "fakes/ExpectLines.h"
#include "platform/DiagChannels.h"
#include "platform/FirmwareTables.h"
#include "platform/PlatformLibrary.h"
#include "platform/PlatformWorld.h"

namespace {

EFI_HANDLE const kImageHandle = reinterpret_cast<EFI_HANDLE>(0x1000);

struct SetUpCase {
  const char *Behaviour;
  std::function<void(PlatformWorld &)> Arrange;
  std::string BootCalls;
  std::string MachineCalls;
  std::vector<std::string> Records;
};

void PrintTo(const SetUpCase &Case, std::ostream *Out) { *Out << Case.Behaviour; }

const HeapHobSpec kRuntimeHob = {HEAP_DESCRIPTOR_SIGNATURE, 8, 1, {0xDE, 0xAD, 0xBE, 0xEF}};
const HeapHobSpec kBootHob = {HEAP_DESCRIPTOR_SIGNATURE, 7, 1, {0x11, 0x22, 0x33}};

void WithBothPcds(PlatformWorld &World) { World.OfferPcdProtocols(true, true); }

const char *const kPcdReads = R"(
  LocateProtocol(Pcd, null) -> Success
  LocateProtocol(PiPcd, null) -> Success
  LocateProtocol(Pcd, null) -> Success
  GetBool(1055) -> 1
  GetBool(1427) -> 0
  Get8(1346) -> 90
  Get32(1430) -> 0x11223344
  GetBool(1428) -> 1
  Get32(1355) -> 0x55667788
  Get32(1354) -> 0x99AABBCC
  Get8(1429) -> 126
)";

std::string Then(const char *First, const char *Rest) { return std::string(First) + Rest; }

const std::vector<SetUpCase> kCases = {
    {"NoPcdServicesNoHobList", [](PlatformWorld &) {},
     R"(LocateProtocol(Pcd, null) -> NotFound
        LocateProtocol(HeapRecordList, null) -> NotFound
        InstallProtocolInterface(null, HeapRecordList, 0, mHeapRecordList) -> Success on NewHandle1)",
     "", {}},
    {"NativePcdWithoutPiPcdReadsNothing", [](PlatformWorld &World) { World.OfferPcdProtocols(true, false); },
     R"(LocateProtocol(Pcd, null) -> Success
        LocateProtocol(PiPcd, null) -> NotFound
        LocateProtocol(HeapRecordList, null) -> NotFound
        InstallProtocolInterface(null, HeapRecordList, 0, mHeapRecordList) -> Success on NewHandle2)",
     "", {}},
    // Both protocols were there a moment ago; a read that finds none is
    // skipped rather than made through a null interface.
    {"PcdProtocolGoneBeforeTheReadsIsLookedForAtEachRead",
     [](PlatformWorld &World) {
       WithBothPcds(World);
       World.Boot.Script("LocateProtocol", {EFI_SUCCESS, EFI_SUCCESS, EFI_NOT_FOUND, EFI_NOT_FOUND, EFI_NOT_FOUND,
                                            EFI_NOT_FOUND, EFI_NOT_FOUND, EFI_NOT_FOUND, EFI_NOT_FOUND,
                                            EFI_NOT_FOUND});
     },
     R"(LocateProtocol(Pcd, null) -> Success
        LocateProtocol(PiPcd, null) -> Success
        LocateProtocol(Pcd, null) -> NotFound
        LocateProtocol(Pcd, null) -> NotFound
        LocateProtocol(Pcd, null) -> NotFound
        LocateProtocol(Pcd, null) -> NotFound
        LocateProtocol(Pcd, null) -> NotFound
        LocateProtocol(Pcd, null) -> NotFound
        LocateProtocol(Pcd, null) -> NotFound
        LocateProtocol(Pcd, null) -> NotFound
        LocateProtocol(HeapRecordList, null) -> NotFound
        InstallProtocolInterface(null, HeapRecordList, 0, mHeapRecordList) -> Success on NewHandle3)",
     "", {}},
    {"HeapHobsBecomeRecordsInHobOrder",
     [](PlatformWorld &World) {
       World.PublishHobList(HobListBuilder()
                                .Raw(1, 56)
                                .Heap(kRuntimeHob)
                                .OtherGuid()
                                .Heap({HEAP_DESCRIPTOR_SIGNATURE, 9, 1, {}})
                                .Heap(kBootHob)
                                .End());
     },
     R"(LocateProtocol(Pcd, null) -> NotFound
        LocateProtocol(HeapRecordList, null) -> NotFound
        AllocatePool(6, 36) -> Success
        AllocatePool(4, 32) -> Success
        AllocatePool(4, 35) -> Success
        InstallProtocolInterface(null, HeapRecordList, 0, mHeapRecordList) -> Success on NewHandle1)",
     "",
     {"kind 8 size 4 extra 0x01020304 0x0A0B payload DEADBEEF", "kind 9 size 0 extra 0x01020304 0x0A0B payload ",
      "kind 7 size 3 extra 0x01020304 0x0A0B payload 112233"}},
    {"InactiveForeignAndOtherTypeHeapHobsAddNothing",
     [](PlatformWorld &World) {
       HeapHobSpec MemoryAllocation = kBootHob;
       MemoryAllocation.HobType = 2;
       World.PublishHobList(HobListBuilder()
                                .Heap({HEAP_DESCRIPTOR_SIGNATURE, 8, 0, {1}})
                                .Heap({HEAP_DESCRIPTOR_SIGNATURE, 7, 2, {1}})
                                .Heap({0x50414549, 7, 1, {1}})
                                .Heap(MemoryAllocation)
                                .End());
     },
     R"(LocateProtocol(Pcd, null) -> NotFound
        LocateProtocol(HeapRecordList, null) -> NotFound
        InstallProtocolInterface(null, HeapRecordList, 0, mHeapRecordList) -> Success on NewHandle1)",
     "", {}},
    {"BlockShorterThanItsHeaderEndsTheWalk",
     [](PlatformWorld &World) {
       World.PublishHobList(HobListBuilder().Heap(kBootHob).Raw(3, 0).Heap(kRuntimeHob).End());
     },
     R"(LocateProtocol(Pcd, null) -> NotFound
        LocateProtocol(HeapRecordList, null) -> NotFound
        AllocatePool(4, 35) -> Success
        InstallProtocolInterface(null, HeapRecordList, 0, mHeapRecordList) -> Success on NewHandle1)",
     "", {"kind 7 size 3 extra 0x01020304 0x0A0B payload 112233"}},
    {"BlockLengthNotAMultipleOf8EndsTheWalk",
     [](PlatformWorld &World) {
       World.PublishHobList(HobListBuilder().Heap(kBootHob).Raw(3, 12).Heap(kRuntimeHob).End());
     },
     R"(LocateProtocol(Pcd, null) -> NotFound
        LocateProtocol(HeapRecordList, null) -> NotFound
        AllocatePool(4, 35) -> Success
        InstallProtocolInterface(null, HeapRecordList, 0, mHeapRecordList) -> Success on NewHandle1)",
     "", {"kind 7 size 3 extra 0x01020304 0x0A0B payload 112233"}},
    {"PayloadClaimingMoreThanItsBlockIsSkipped",
     [](PlatformWorld &World) {
       HeapHobSpec Overstated = kRuntimeHob;
       Overstated.SizeOverstatedBy = 5;
       World.PublishHobList(HobListBuilder().Heap(Overstated).Heap(kBootHob).End());
     },
     R"(LocateProtocol(Pcd, null) -> NotFound
        LocateProtocol(HeapRecordList, null) -> NotFound
        AllocatePool(4, 35) -> Success
        InstallProtocolInterface(null, HeapRecordList, 0, mHeapRecordList) -> Success on NewHandle1)",
     "", {"kind 7 size 3 extra 0x01020304 0x0A0B payload 112233"}},
    {"PublishedListIsJoinedAndHobsAreNotRead",
     [](PlatformWorld &World) {
       static HEAP_RECORD_LIST_PROTOCOL Earlier = {1, {&Earlier.Head, &Earlier.Head}};
       World.Boot.InstallOnNewHandle(gHeapRecordListProtocolGuid, &Earlier, "EarlierDriver");
       World.PublishHobList(HobListBuilder().Heap(kRuntimeHob).End());
     },
     R"(LocateProtocol(Pcd, null) -> NotFound
        LocateProtocol(HeapRecordList, null) -> Success)",
     "", {}},
    {"NoPoolMemoryIsPassedOverWithoutHaltOnError",
     [](PlatformWorld &World) {
       World.Boot.Script("AllocatePool", {EFI_OUT_OF_RESOURCES});
       World.PublishHobList(HobListBuilder().Heap(kRuntimeHob).Heap(kBootHob).End());
     },
     R"(LocateProtocol(Pcd, null) -> NotFound
        LocateProtocol(HeapRecordList, null) -> NotFound
        AllocatePool(6, 36) -> OutOfResources
        AllocatePool(4, 35) -> Success
        InstallProtocolInterface(null, HeapRecordList, 0, mHeapRecordList) -> Success on NewHandle1)",
     "", {"kind 7 size 3 extra 0x01020304 0x0A0B payload 112233"}},
    {"NoPoolMemoryReachesTheFatalDisplayWithHaltOnError",
     [](PlatformWorld &World) {
       WithBothPcds(World);
       World.Boot.Script("AllocatePool", {EFI_OUT_OF_RESOURCES, EFI_OUT_OF_RESOURCES});
       World.PublishHobList(HobListBuilder().Heap(kRuntimeHob).Heap(kBootHob).End());
     },
     Then(kPcdReads, R"(
        LocateProtocol(HeapRecordList, null) -> NotFound
        AllocatePool(6, 36) -> OutOfResources
        AllocatePool(4, 35) -> OutOfResources
        InstallProtocolInterface(null, HeapRecordList, 0, mHeapRecordList) -> Success on NewHandle3)"),
     R"(out16 0xE0 0xDEAD
        out32 0x80 0x80134
        probe 0x80134
        out16 0xE0 0xDEAD
        out32 0x80 0x80137
        probe 0x80137)",
     {}},
    {"FailedPublicationIsPassedOverWithoutHaltOnError",
     [](PlatformWorld &World) { World.Boot.Script("InstallProtocolInterface", {EFI_OUT_OF_RESOURCES}); },
     R"(LocateProtocol(Pcd, null) -> NotFound
        LocateProtocol(HeapRecordList, null) -> NotFound
        InstallProtocolInterface(null, HeapRecordList, 0, mHeapRecordList) -> OutOfResources)",
     "", {}},
    {"FailedPublicationReachesTheFatalDisplayWithHaltOnError",
     [](PlatformWorld &World) {
       WithBothPcds(World);
       World.Boot.Script("InstallProtocolInterface", {EFI_OUT_OF_RESOURCES});
     },
     Then(kPcdReads, R"(
        LocateProtocol(HeapRecordList, null) -> NotFound
        InstallProtocolInterface(null, HeapRecordList, 0, mHeapRecordList) -> OutOfResources)"),
     R"(out16 0xE0 0xDEAD
        out32 0x80 0x80225
        probe 0x80225)",
     {}},
};

class LibrarySetUp : public ::testing::TestWithParam<SetUpCase> {};

TEST_P(LibrarySetUp, CallsTheFirmwareAsDescribed) {
  const SetUpCase &Case = GetParam();
  PlatformWorld World;
  Case.Arrange(World);

  InitializePlatformLibrary(kImageHandle, &World.Boot.SystemTable);

  EXPECT_LINES(World.Boot.Calls(), Case.BootCalls);
  EXPECT_LINES(World.Machine.Trace(), Case.MachineCalls);
  EXPECT_EQ(DescribeHeapRecords(), Case.Records);
  EXPECT_EQ(gLibSystemTable, &World.Boot.SystemTable);
  EXPECT_EQ(gSystemTable, &World.Boot.SystemTable);
  EXPECT_EQ(gBootServices, &World.Boot.BootServices);
  EXPECT_EQ(gRuntimeServices, &World.Boot.RuntimeServices);
}

INSTANTIATE_TEST_SUITE_P(Cases, LibrarySetUp, ::testing::ValuesIn(kCases),
                         [](const auto &Info) { return std::string(Info.param.Behaviour); });

TEST(LibrarySetUpDetail, SettingsHoldTheFixedValuesAndThePcdReadsInLayoutOrder) {
  PlatformWorld World;
  WithBothPcds(World);

  InitializePlatformLibrary(kImageHandle, &World.Boot.SystemTable);

  const UINT8 Expected[sizeof(DEBUG_SETTINGS)] = {
      0x01, 0x01, 3, 0x80, 0x00, 1, 1, 0, 0x5A, 0x02, 0x02, 2, 0x44, 0x33, 0x22, 0x11, 1,
      0x88, 0x77, 0x66, 0x55, 0xCC, 0xBB, 0xAA, 0x99, 0x7E, 2};
  EXPECT_EQ(memcmp(&gDebugSettings, Expected, sizeof(Expected)), 0);
  EXPECT_EQ(gPcdProtocol, &World.Pcd);
}

TEST(LibrarySetUpDetail, SettingsStayZeroWithoutBothPcdProtocols) {
  for (const bool Native : {false, true}) {
    PlatformWorld World;
    World.OfferPcdProtocols(Native, !Native);
    memset(&gDebugSettings, 0xA5, sizeof(gDebugSettings));

    InitializePlatformLibrary(kImageHandle, &World.Boot.SystemTable);

    const DEBUG_SETTINGS Zero{};
    EXPECT_EQ(memcmp(&gDebugSettings, &Zero, sizeof(Zero)), 0) << "native PCD protocol present: " << Native;
  }
}

TEST(LibrarySetUpDetail, OwnListIsPublishedEmptyWithItsHeaderAndNotOnTheImageHandle) {
  PlatformWorld World;

  InitializePlatformLibrary(kImageHandle, &World.Boot.SystemTable);

  EXPECT_EQ(World.Boot.InterfacesOf(gHeapRecordListProtocolGuid), std::vector<VOID *>{&mHeapRecordList});
  EXPECT_EQ(mHeapRecordList.Header, 1U);
  EXPECT_EQ(gHeapRecordListHead, &mHeapRecordList.Head);
  EXPECT_EQ(mHeapRecordList.Head.ForwardLink, &mHeapRecordList.Head);
  EXPECT_EQ(mHeapRecordList.Head.BackLink, &mHeapRecordList.Head);
}

TEST(LibrarySetUpDetail, JoinedListIsTheOneFoundAndStaysUntouched) {
  PlatformWorld World;
  HEAP_RECORD_LIST_PROTOCOL Earlier = {1, {&Earlier.Head, &Earlier.Head}};
  World.Boot.InstallOnNewHandle(gHeapRecordListProtocolGuid, &Earlier, "EarlierDriver");
  World.PublishHobList(HobListBuilder().Heap(kRuntimeHob).End());

  InitializePlatformLibrary(kImageHandle, &World.Boot.SystemTable);

  EXPECT_EQ(gHeapRecordListHead, &Earlier.Head);
  EXPECT_EQ(Earlier.Head.ForwardLink, &Earlier.Head);
}

TEST(LibrarySetUpDetail, HobListIsTheFirstConfigurationEntryUnderItsGuid) {
  const EFI_GUID Other = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
  UINT64 First = 0, Second = 0;
  struct {
    std::vector<EFI_CONFIGURATION_TABLE> Entries;
    EFI_STATUS Status;
    VOID *HobList;
  } const Cases[] = {
      {{}, EFI_NOT_FOUND, nullptr},
      {{{Other, &First}}, EFI_NOT_FOUND, nullptr},
      {{{Other, &Second}, {gEfiHobListGuid, &First}, {gEfiHobListGuid, &Second}}, EFI_SUCCESS, &First},
  };
  for (const auto &Case : Cases) {
    PlatformWorld World;
    KeepLibraryFirmwareTables(&World.Boot.SystemTable);
    World.Boot.SystemTable.NumberOfTableEntries = Case.Entries.size();
    World.Boot.SystemTable.ConfigurationTable = const_cast<EFI_CONFIGURATION_TABLE *>(Case.Entries.data());
    gHobList = &Second;

    EXPECT_EQ(LocateHobList(), Case.Status) << Case.Entries.size() << " entries";
    EXPECT_EQ(gHobList, Case.HobList) << Case.Entries.size() << " entries";
  }
}

TEST(LibrarySetUpDetail, KeepsDriverWidePointersThatAreAlreadySet) {
  PlatformWorld World;
  EFI_SYSTEM_TABLE Earlier{};
  gSystemTable = &Earlier;
  gBootServices = nullptr;

  InitializePlatformLibrary(kImageHandle, &World.Boot.SystemTable);

  EXPECT_EQ(gLibSystemTable, &World.Boot.SystemTable);
  EXPECT_EQ(gLibBootServices, &World.Boot.BootServices);
  EXPECT_EQ(gSystemTable, &Earlier);
  EXPECT_EQ(gBootServices, nullptr);
  EXPECT_EQ(gRuntimeServices, nullptr);
}

}  // namespace
