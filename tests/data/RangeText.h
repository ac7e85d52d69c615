// Table rows written in tests as text: "57" is one value, "57-58" the run
// from the first to the last, both included.
#pragma once

#include <string>
#include <utility>

#include "platform/uefi/UefiBase.h"

inline std::pair<UINT32, UINT32> ParseRange(const std::string &Text) {
  const size_t Dash = Text.find('-');
  const UINT32 First = std::stoul(Text.substr(0, Dash));
  return {First, Dash == std::string::npos ? First : std::stoul(Text.substr(Dash + 1))};
}
