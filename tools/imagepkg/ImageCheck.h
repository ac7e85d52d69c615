// Holds a decoded image's facts against the requirement for its id.
#pragma once

#include <string>
#include <vector>

#include "tools/imagepkg/ImageProbe.h"
#include "tools/imagepkg/ImageRequirements.h"

namespace imagepkg {

// What is wrong with an image of these facts in the place of Required, one
// message per fault; empty when it fits.
std::vector<std::string> CompareWithRequirement(const ImageFacts &Facts, const ImageRequirement &Required);

}  // namespace imagepkg
