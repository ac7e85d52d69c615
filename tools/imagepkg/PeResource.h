// Finds one resource in a PE32+ image file: DOS header, PE headers, the
// resource data directory, the section table to turn RVAs into file
// offsets, then the three levels of the resource tree (type, name,
// language). Every offset read from the file is checked before use.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/imagepkg/ByteIo.h"

namespace imagepkg {

constexpr uint16_t kMachineX64 = 0x8664;
constexpr uint16_t kOptionalHeaderMagicPe32Plus = 0x20B;
constexpr uint16_t kSubsystemEfiBootServiceDriver = 11;

struct PeSummary {
  uint16_t Machine = 0;
  uint16_t Magic = 0;
  uint16_t Subsystem = 0;
};

struct ResourceLookup {
  bool Found = false;
  PeSummary Pe;
  uint32_t DataRva = 0;
  uint64_t FileOffset = 0;
  uint32_t CodePage = 0;
  ByteView Data;  // the resource's bytes within the file
  std::vector<std::string> Problems;
};

// Looks up the resource of string type TypeName, numeric name NameId and
// language Language. A loader may simply take the first name and the first
// language under a type, so the wanted name and language must be the only
// ones under TypeName; anything else is reported as a problem.
ResourceLookup FindPeResource(ByteView File, std::u16string_view TypeName, uint16_t NameId, uint16_t Language);

}  // namespace imagepkg
