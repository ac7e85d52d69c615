// Puts the driver's state back to that of a freshly loaded image before each
// fuzz input: the first call keeps a copy of the state section.
#pragma once

#include <cstring>
#include <vector>

extern "C" char __start_theme_driver_state[];
extern "C" char __stop_theme_driver_state[];

inline void RestoreFreshDriverState() {
  static const std::vector<char> Fresh(__start_theme_driver_state, __stop_theme_driver_state);
  memcpy(__start_theme_driver_state, Fresh.data(), Fresh.size());
}
