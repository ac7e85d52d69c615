// The inspector: reads a built driver file and checks that it carries the
// theme's image package exactly as the driver's code and the host expect.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "tools/imagepkg/ImageProbe.h"
#include "tools/imagepkg/PackageList.h"
#include "tools/imagepkg/PeResource.h"

namespace imagepkg {

struct InspectedImage {
  uint32_t Id = 0;
  ImageFormat Format = ImageFormat::Png;  // by block type
  uint64_t FileSize = 0;
  bool Decoded = false;
  ImageFacts Facts;
  std::vector<uint32_t> HostIds;  // host image ids that the image map points here
};

struct DriverReport {
  ResourceLookup Resource;
  PackageListReport Package;
  std::vector<InspectedImage> Images;
  uint32_t MappedHostIds = 0;
  uint32_t MappedThemeIds = 0;
  uint32_t MappedButMissing = 0;  // mapped theme ids that the package lacks
  std::vector<std::string> Problems;  // empty when the driver is right
};

// Checks the driver file's bytes; the report's views point into File.
DriverReport InspectDriver(ByteView File);

// theme-inspect DRIVER.efi
// Prints the resource and a table of the images; returns 0 only when every
// check passes, 1 when any fails, 2 on bad usage.
int RunThemeInspect(const std::vector<std::string> &Arguments, std::ostream &Out, std::ostream &Err);

}  // namespace imagepkg
