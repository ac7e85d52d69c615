// theme-pack: validates the theme images and packs them for the driver's link.
#include <iostream>

#include "tools/imagepkg/ThemePack.h"

int main(int Argc, char **Argv) {
  return imagepkg::RunThemePack(std::vector<std::string>(Argv + 1, Argv + Argc), std::cout, std::cerr);
}
