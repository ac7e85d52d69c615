// theme-inspect: checks the image package inside a built driver file.
#include <iostream>

#include "tools/imagepkg/DriverPackageCheck.h"

int main(int Argc, char **Argv) {
  return imagepkg::RunThemeInspect(std::vector<std::string>(Argv + 1, Argv + Argc), std::cout, std::cerr);
}
