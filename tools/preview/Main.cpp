#include <iostream>

#include "tools/preview/ThemePreview.h"

int main(int argc, char **argv) {
  return preview::RunThemePreview(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
