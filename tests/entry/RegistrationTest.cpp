// Registration as the entry point runs it, with the image handle and the
// system table, against fake boot services that already hold records
// installed by earlier plug-ins; and the entry point's order of work.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "entry/Registration.h"
#include "fakes/DriverState.h"
#include "platform/DebugSettings.h"
#include "platform/HeapRecords.h"

namespace {

EFI_HANDLE const kImageHandle = reinterpret_cast<EFI_HANDLE>(0x1000);

struct EarlierRecord {
  const char *Label;
  UINT32 Version;
  UINT32 Signature;
  const char16_t *Name;
};

constexpr UINT32 kLive = THEME_PROVIDER_SIGNATURE;
constexpr UINT32 kRetired = THEME_PROVIDER_RETIRED;

struct RegistrationCase {
  const char *Behaviour;
  std::vector<EarlierRecord> Earlier;
  std::vector<std::pair<std::string, std::vector<EFI_STATUS>>> Scripts;
  std::vector<UINT32> SignaturesAfter;  // of the earlier records, in order
  EFI_STATUS Status;
  Trace Calls;
};

void PrintTo(const RegistrationCase &Case, std::ostream *Out) { *Out << Case.Behaviour; }

THEME_PROVIDER_PROTOCOL MakeRecord(const EarlierRecord &Earlier) {
  THEME_PROVIDER_PROTOCOL Record{};
  for (size_t Index = 0; Earlier.Name[Index] != 0; Index++) {
    Record.Name[Index] = Earlier.Name[Index];
  }
  Record.Version = Earlier.Version;
  Record.Signature = Earlier.Signature;
  Record.ThemeInfo = 0x1234;
  Record.GetColor = reinterpret_cast<THEME_GET_COLOR>(0x5678);
  return Record;
}

const char *const kInstall =
    "InstallMultipleProtocolInterfaces(null, ThemeProvider, mThemeProvider, null) -> Success on NewHandle";

const std::vector<RegistrationCase> kCases = {
    {"NothingInstalledYet", {}, {}, {}, EFI_SUCCESS,
     {"LocateHandleBuffer(ByProtocol, ThemeProvider, null) -> NotFound", std::string(kInstall) + "1"}},
    {"MatchingRecordRetired", {{"A", 40, kLive, u"Other Theme"}}, {}, {kRetired}, EFI_SUCCESS,
     {"LocateHandleBuffer(ByProtocol, ThemeProvider, null) -> Success [A]",
      "HandleProtocol(A, ThemeProvider) -> Success", "FreePool(HandleBuffer) -> Success",
      std::string(kInstall) + "2"}},
    {"SameNameRetiredAlike", {{"A", 40, kLive, u"Harbor Slate"}}, {}, {kRetired}, EFI_SUCCESS,
     {"LocateHandleBuffer(ByProtocol, ThemeProvider, null) -> Success [A]",
      "HandleProtocol(A, ThemeProvider) -> Success", "FreePool(HandleBuffer) -> Success",
      std::string(kInstall) + "2"}},
    {"OtherVersionsStayActive", {{"A", 39, kLive, u"Old"}, {"B", 41, kLive, u"New"}}, {}, {kLive, kLive},
     EFI_SUCCESS,
     {"LocateHandleBuffer(ByProtocol, ThemeProvider, null) -> Success [A, B]",
      "HandleProtocol(A, ThemeProvider) -> Success", "HandleProtocol(B, ThemeProvider) -> Success",
      "FreePool(HandleBuffer) -> Success", std::string(kInstall) + "3"}},
    {"AlreadyRetiredLeftAlone", {{"A", 40, kRetired, u"Gone"}}, {}, {kRetired}, EFI_SUCCESS,
     {"LocateHandleBuffer(ByProtocol, ThemeProvider, null) -> Success [A]",
      "HandleProtocol(A, ThemeProvider) -> Success", "FreePool(HandleBuffer) -> Success",
      std::string(kInstall) + "2"}},
    {"OtherSignatureLeftAlone", {{"A", 40, 0x12345678, u"Odd"}}, {}, {0x12345678}, EFI_SUCCESS,
     {"LocateHandleBuffer(ByProtocol, ThemeProvider, null) -> Success [A]",
      "HandleProtocol(A, ThemeProvider) -> Success", "FreePool(HandleBuffer) -> Success",
      std::string(kInstall) + "2"}},
    {"AllMatchingRetiredInBufferOrder",
     {{"A", 40, kLive, u"One"}, {"B", 41, kLive, u"Two"}, {"C", 40, kLive, u"Three"}}, {},
     {kRetired, kLive, kRetired}, EFI_SUCCESS,
     {"LocateHandleBuffer(ByProtocol, ThemeProvider, null) -> Success [A, B, C]",
      "HandleProtocol(A, ThemeProvider) -> Success", "HandleProtocol(B, ThemeProvider) -> Success",
      "HandleProtocol(C, ThemeProvider) -> Success", "FreePool(HandleBuffer) -> Success",
      std::string(kInstall) + "4"}},
    {"HandleThatFailsIsSkipped", {{"A", 40, kLive, u"One"}, {"B", 40, kLive, u"Two"}},
     {{"HandleProtocol", {EFI_UNSUPPORTED}}}, {kLive, kRetired}, EFI_SUCCESS,
     {"LocateHandleBuffer(ByProtocol, ThemeProvider, null) -> Success [A, B]",
      "HandleProtocol(A, ThemeProvider) -> Unsupported", "HandleProtocol(B, ThemeProvider) -> Success",
      "FreePool(HandleBuffer) -> Success", std::string(kInstall) + "3"}},
    {"SearchFailureGoesStraightToInstall", {{"A", 40, kLive, u"One"}},
     {{"LocateHandleBuffer", {EFI_OUT_OF_RESOURCES}}}, {kLive}, EFI_SUCCESS,
     {"LocateHandleBuffer(ByProtocol, ThemeProvider, null) -> OutOfResources", std::string(kInstall) + "2"}},
    {"InstallFailureReturnedRetirementsKept", {{"A", 40, kLive, u"One"}},
     {{"InstallMultipleProtocolInterfaces", {EFI_OUT_OF_RESOURCES}}}, {kRetired}, EFI_OUT_OF_RESOURCES,
     {"LocateHandleBuffer(ByProtocol, ThemeProvider, null) -> Success [A]",
      "HandleProtocol(A, ThemeProvider) -> Success", "FreePool(HandleBuffer) -> Success",
      "InstallMultipleProtocolInterfaces(null, ThemeProvider, mThemeProvider, null) -> OutOfResources"}},
};

class Registration : public ::testing::TestWithParam<RegistrationCase> {
 protected:
  FreshDriverState Fresh;
  FakeBootServices Boot;
};

TEST_P(Registration, RetiresAndInstallsAsTheFirmwareSeesIt) {
  const RegistrationCase &Case = GetParam();
  std::vector<THEME_PROVIDER_PROTOCOL> Records;
  Records.reserve(Case.Earlier.size());
  for (const EarlierRecord &Earlier : Case.Earlier) {
    Records.push_back(MakeRecord(Earlier));
    Boot.InstallOnNewHandle(gThemeProviderProtocolGuid, &Records.back(), Earlier.Label);
  }
  for (const auto &[Operation, Statuses] : Case.Scripts) {
    for (EFI_STATUS Status : Statuses) {
      Boot.Script(Operation, {Status});
    }
  }
  const std::vector<THEME_PROVIDER_PROTOCOL> Before = Records;

  EXPECT_EQ(RegisterThemeProvider(kImageHandle, &Boot.SystemTable), Case.Status);

  EXPECT_EQ(Boot.Calls(), Case.Calls);
  for (size_t Index = 0; Index < Records.size(); Index++) {
    SCOPED_TRACE(Case.Earlier[Index].Label);
    EXPECT_EQ(Records[Index].Signature, Case.SignaturesAfter[Index]);
    // Nothing but the signature changes.
    THEME_PROVIDER_PROTOCOL Expected = Before[Index];
    Expected.Signature = Case.SignaturesAfter[Index];
    EXPECT_EQ(memcmp(&Records[Index], &Expected, sizeof(Expected)), 0);
  }
  // Earlier records stay installed whatever happened to them.
  EXPECT_EQ(Boot.InterfacesOf(gThemeProviderProtocolGuid).size(),
            Records.size() + (Case.Status == EFI_SUCCESS ? 1 : 0));
  EXPECT_EQ(Boot.LivePoolAllocations(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, Registration, ::testing::ValuesIn(kCases),
                         [](const auto &Info) { return std::string(Info.param.Behaviour); });

TEST(RegistrationRecord, InstalledOnANewHandleCarryingTheImageHandleAndLiveSignature) {
  FreshDriverState Fresh;
  FakeBootServices Boot;
  THEME_PROVIDER_PROTOCOL AtInstall{};
  Boot.OnInstall = [&](const EFI_GUID &, VOID *Interface) {
    AtInstall = *static_cast<THEME_PROVIDER_PROTOCOL *>(Interface);
  };

  ASSERT_EQ(RegisterThemeProvider(kImageHandle, &Boot.SystemTable), EFI_SUCCESS);

  EXPECT_EQ(AtInstall.ImageHandle, kImageHandle);
  EXPECT_EQ(AtInstall.Signature, THEME_PROVIDER_SIGNATURE);
  EXPECT_EQ(AtInstall.Version, THEME_PROVIDER_VERSION);
  const std::vector<VOID *> Installed = Boot.InterfacesOf(gThemeProviderProtocolGuid);
  ASSERT_EQ(Installed.size(), 1u);
  EXPECT_EQ(Installed[0], &mThemeProvider);
  // A null handle in, a fresh handle out: never the image handle.
  EXPECT_EQ(Boot.Calls().back(), std::string(kInstall) + "1");
}

// Firmware may answer the search with success and an empty buffer instead
// of EFI_NOT_FOUND; the buffer is still returned to pool.
TEST(RegistrationRecord, EmptySuccessfulSearchFreesItsBuffer) {
  FreshDriverState Fresh;
  FakeBootServices Boot;
  Boot.LocateAnswersEmptySuccess = true;

  EXPECT_EQ(RegisterThemeProvider(kImageHandle, &Boot.SystemTable), EFI_SUCCESS);

  EXPECT_EQ(Boot.Calls(), (Trace{"LocateHandleBuffer(ByProtocol, ThemeProvider, null) -> Success []",
                                 "FreePool(HandleBuffer) -> Success", std::string(kInstall) + "1"}));
  EXPECT_EQ(Boot.LivePoolAllocations(), 0u);
}

// The GUID can be installed as a bare tag with a null interface; such a
// handle holds no record to read, let alone retire.
TEST(RegistrationRecord, HandleWithANullInterfaceIsSkipped) {
  FreshDriverState Fresh;
  FakeBootServices Boot;
  THEME_PROVIDER_PROTOCOL Live = MakeRecord({"B", 40, kLive, u"Two"});
  Boot.InstallOnNewHandle(gThemeProviderProtocolGuid, nullptr, "Tag");
  Boot.InstallOnNewHandle(gThemeProviderProtocolGuid, &Live, "B");

  EXPECT_EQ(RegisterThemeProvider(kImageHandle, &Boot.SystemTable), EFI_SUCCESS);

  EXPECT_EQ(Live.Signature, kRetired);
  EXPECT_EQ(Boot.Calls(), (Trace{"LocateHandleBuffer(ByProtocol, ThemeProvider, null) -> Success [Tag, B]",
                                 "HandleProtocol(Tag, ThemeProvider) -> Success",
                                 "HandleProtocol(B, ThemeProvider) -> Success", "FreePool(HandleBuffer) -> Success",
                                 std::string(kInstall) + "3"}));
}

TEST(RegistrationRecord, EntrySetsUpTheLibraryFirstAndLeavesTheFirmwarePointersSet) {
  FreshDriverState Fresh;
  FakeBootServices Boot;
  FakeBootServices::NameGuid(gPcdProtocolGuid, "Pcd");
  FakeBootServices::NameGuid(gHeapRecordListProtocolGuid, "HeapRecordList");
  TracePointerNames().Name(&mHeapRecordList, "mHeapRecordList");

  EXPECT_EQ(ThemeDriverEntry(kImageHandle, &Boot.SystemTable), EFI_SUCCESS);

  EXPECT_EQ(Boot.Calls(),
            (Trace{"LocateProtocol(Pcd, null) -> NotFound", "LocateProtocol(HeapRecordList, null) -> NotFound",
                   "InstallProtocolInterface(null, HeapRecordList, 0, mHeapRecordList) -> Success on NewHandle1",
                   "LocateHandleBuffer(ByProtocol, ThemeProvider, null) -> NotFound", std::string(kInstall) + "2"}));

  EXPECT_EQ(gLibSystemTable, &Boot.SystemTable);
  EXPECT_EQ(gLibBootServices, &Boot.BootServices);
  EXPECT_EQ(gSystemTable, &Boot.SystemTable);
  EXPECT_EQ(gBootServices, &Boot.BootServices);
  EXPECT_EQ(gRuntimeServices, &Boot.RuntimeServices);
}

TEST(RegistrationRecord, RegistrationAloneRecordsTheFirmwareTablesItUses) {
  FreshDriverState Fresh;
  FakeBootServices Boot;

  EXPECT_EQ(RegisterThemeProvider(kImageHandle, &Boot.SystemTable), EFI_SUCCESS);

  EXPECT_EQ(gLibBootServices, &Boot.BootServices);
  EXPECT_EQ(gSystemTable, &Boot.SystemTable);
  EXPECT_EQ(gRuntimeServices, &Boot.RuntimeServices);
}

}  // namespace
