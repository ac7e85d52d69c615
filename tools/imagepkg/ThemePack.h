// The packer: reads the manifest and the image files it names, checks
// every file against the manifest and the fixed requirements, and writes
// the package list as a .res file for the driver's link.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "tools/imagepkg/ByteIo.h"

namespace imagepkg {

// The resource that carries the package list in the driver.
inline constexpr char16_t kHiiResourceType[] = u"HII";
constexpr uint16_t kHiiResourceId = 1;

struct PackResult {
  std::vector<std::string> Problems;  // every problem found; empty on success
  Bytes List;                         // the package list, when no problems
};

// Reads ManifestPath and the images beside it and builds the package list.
// Image files are named in messages as the manifest's folder joined with
// the file name from the manifest.
PackResult PackFromManifest(const std::string &ManifestPath);

// The resource data for a package list: the list and one zero byte.
Bytes ResourceDataFor(ByteView List);

// One image file checked for the place of theme image IdText (decimal), by
// the same rules as a packed one: one message per fault, empty when it fits.
std::vector<std::string> CheckReplacement(const std::string &IdText, const std::string &Path);

// theme-pack [--package-out FILE] MANIFEST OUTPUT.res
// theme-pack --check ID FILE [ID FILE ...]: checks files for those places
// only, writes nothing, and returns 0 when every one fits, 1 otherwise.
// Returns 0 when both files are written, 1 when the images are refused or
// a file cannot be written (no output is left behind), 2 on bad usage.
int RunThemePack(const std::vector<std::string> &Arguments, std::ostream &Out, std::ostream &Err);

}  // namespace imagepkg
