// The driver's image map as plain pairs, for the inspector. Only the source
// of this header reads the driver's own tables, so that no other host tool
// file sees the UEFI types (whose INT32 clashes with libjpeg's).
#pragma once

#include <cstdint>
#include <vector>

namespace imagepkg {

struct HostImagePair {
  uint32_t HostId;
  uint32_t ThemeId;
};

// Every host image id that the driver's image map names, in ascending
// order, with the theme image id it maps to.
std::vector<HostImagePair> DriverImageMap();

}  // namespace imagepkg
