// The objects the preview styles: one for every row of the three styling
// stages, read from the stages' own tables, with the host answers that let a
// row's condition hold, so that every row shows what it does.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/preview/DrawingHost.h"

namespace preview {

enum class Stage { ById, ByPart, ByClass };

struct SampleObject {
  Stage By;
  uint16_t Class;
  uint16_t PartCode;
  uint32_t ObjectId;
  ObjectAnswers Answers;
};

std::vector<SampleObject> SampleObjects();

// "id 0x14531000", "part 0x2080 class 7", "class 16".
std::string SampleLabel(const SampleObject &Sample);

}  // namespace preview
