#include "tools/imagepkg/DriverImageMap.h"

#include "data/ThemeTables.h"
#include "tools/imagepkg/ImageRequirements.h"

// The driver's image count and the manifest's rows are held together here.
static_assert(THEME_IMAGE_COUNT == imagepkg::kThemeImageCount,
              "data/images/manifest.tsv and the driver disagree on the number of theme images");

namespace imagepkg {

std::vector<HostImagePair> DriverImageMap() {
  std::vector<HostImagePair> Pairs;
  for (const THEME_IMAGE_RUN &Run : kThemeImageMap) {
    for (uint32_t HostId = Run.FirstHostId; HostId <= Run.LastHostId; HostId++) {
      Pairs.push_back(HostImagePair{HostId, ThemeIdInRun(Run, HostId)});
    }
  }
  return Pairs;
}

}  // namespace imagepkg
