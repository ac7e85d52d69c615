// Library set-up in a driver built without PCD token numbers: with both PCD
// protocols present it makes none of the PCD calls, and its settings are
// those of a platform without them, so a failure is passed over in silence.
#include <gtest/gtest.h>

#include "fakes/ExpectLines.h"
#include "platform/FirmwareTables.h"
#include "platform/PlatformLibrary.h"
#include "platform/PlatformWorld.h"

namespace {

TEST(LibrarySetUpWithoutPcdTokens, MakesNoPcdCallAndNeverHalts) {
  PlatformWorld World;
  World.OfferPcdProtocols(true, true);
  World.Boot.Script("InstallProtocolInterface", {EFI_OUT_OF_RESOURCES});

  InitializePlatformLibrary(reinterpret_cast<EFI_HANDLE>(0x1000), &World.Boot.SystemTable);

  EXPECT_LINES(World.Boot.Calls(), R"(
    LocateProtocol(HeapRecordList, null) -> NotFound
    InstallProtocolInterface(null, HeapRecordList, 0, mHeapRecordList) -> OutOfResources)");
  EXPECT_LINES(World.Machine.Trace(), "");
  const DEBUG_SETTINGS Zero{};
  EXPECT_EQ(memcmp(&gDebugSettings, &Zero, sizeof(Zero)), 0);
  EXPECT_EQ(gPcdProtocol, nullptr);
}

}  // namespace
