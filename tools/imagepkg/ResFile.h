// A Win32 resource (.res) file with one resource, for the linker to place
// in the driver's resource section.
#pragma once

#include <cstdint>
#include <string_view>

#include "tools/imagepkg/ByteIo.h"

namespace imagepkg {

constexpr uint16_t kLanguageEnglishUs = 1033;

// The leading empty entry that marks a 32-bit .res file, then one entry of
// type TypeName (a string name, not a numeric type), numeric name NameId,
// language Language, holding Data.
Bytes BuildResFile(std::u16string_view TypeName, uint16_t NameId, uint16_t Language, ByteView Data);

}  // namespace imagepkg
