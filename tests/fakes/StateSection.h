// Every mutable global of the driver is defined DRIVER_STATE and so lies in
// one section of the host build: a copy of that section taken once puts all
// of them back later, so a new global cannot be forgotten. Framework-free:
// the unit tests' fixture and the fuzz targets both use it.
#pragma once

#include <cstring>
#include <vector>

extern "C" char __start_theme_driver_state[];
extern "C" char __stop_theme_driver_state[];

class DriverStateCopy {
 public:
  DriverStateCopy() : Bytes_(__start_theme_driver_state, __stop_theme_driver_state) {}
  void Restore() const { memcpy(__start_theme_driver_state, Bytes_.data(), Bytes_.size()); }

 private:
  std::vector<char> Bytes_;
};
