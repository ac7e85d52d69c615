// Whole-file reads and all-or-nothing writes for the two tools.
#pragma once

#include <optional>
#include <string>

#include "tools/imagepkg/ByteIo.h"

namespace imagepkg {

// The file's bytes, or nothing with Error set to the reason.
std::optional<Bytes> ReadWholeFile(const std::string &Path, std::string &Error);

// Writes Data to a temporary file beside Path and renames it into place, so
// that Path holds either its old content or all of Data, never a partial
// file that a build could take as up to date.
bool WriteFileAtomically(const std::string &Path, ByteView Data, std::string &Error);

}  // namespace imagepkg
