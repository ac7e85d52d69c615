// The reference host's own slot numbers against the driver's slot lists:
// a slot number wrong in either place shows as a difference.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/ThemeProviderProtocol.h"
#include "tests/firmware/host/HostSlotList.h"

namespace {

#define LISTED(Number, Name, Type) std::to_string(Number) + " " #Name,

TEST(ReferenceHostSlots, AgreeWithTheDriversLists) {
  const std::vector<std::string> HostUi = {REFERENCE_HOST_UI_SLOTS(LISTED)};
  const std::vector<std::string> HostServices = {REFERENCE_HOST_SERVICES_SLOTS(LISTED)};
#define HOST_UI_SLOT LISTED
  const std::vector<std::string> DriverUi = {
#include "host/HostUiSlots.def"
  };
#undef HOST_UI_SLOT
#define HOST_SERVICES_SLOT LISTED
  const std::vector<std::string> DriverServices = {
#include "host/HostServicesSlots.def"
  };
#undef HOST_SERVICES_SLOT
  EXPECT_EQ(HostUi, DriverUi);
  EXPECT_EQ(HostServices, DriverServices);
  EXPECT_EQ(REFERENCE_HOST_UI_TABLE_SLOTS, HOST_UI_TABLE_SLOT_COUNT);
  EXPECT_EQ(REFERENCE_HOST_SERVICES_TABLE_SLOTS, HOST_SERVICES_TABLE_SLOT_COUNT);
}

}  // namespace
