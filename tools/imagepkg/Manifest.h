// The image manifest: one tab-separated row per theme image, in id order,
// under the header line "id file format width height interlaced". It names
// each image file (relative to the manifest's folder) and states what the
// file is meant to be, so a designer sees the requirements beside the file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/imagepkg/ImageRequirements.h"

namespace imagepkg {

inline constexpr std::string_view kManifestHeader = "id\tfile\tformat\twidth\theight\tinterlaced";

struct ManifestRow {
  size_t Line;  // 1-based line in the manifest, for messages
  uint32_t Id;
  std::string File;
  ImageFormat Format;
  uint32_t Width;
  uint32_t Height;
  bool Interlaced;
};

struct Manifest {
  std::vector<ManifestRow> Rows;  // only rows that parsed
  std::vector<std::string> Problems;
};

// Parses the manifest text and checks its shape: the header, the fields of
// every row, safe file names, ids 1..kThemeImageCount in order, and each
// row's claims against the fixed requirements. Name prefixes the messages.
Manifest ParseManifest(std::string_view Text, std::string_view Name);

// A file name may hold only letters, digits, '.', '_', '-' and '/', must be
// relative, and may not step out of the manifest's folder. That keeps the
// build's own reading of the manifest (a CMake list) in step with ours.
bool IsSafeImageFileName(std::string_view File);

}  // namespace imagepkg
