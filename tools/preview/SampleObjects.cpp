#include "tools/preview/SampleObjects.h"

#include <cstdio>

namespace preview {

namespace {

// An identifier that no row of the first stage lists, and a part code that
// no row of the second lists, so that the later stages get the object.
constexpr uint32_t UnlistedId = 0;
constexpr uint16_t UnlistedPart = 0;
constexpr uint16_t AnyClass = 0;

constexpr uint32_t StyledIds[] = {
    0x14531000, 0x14531001, 0x19592000, 0x19592001, 0x19592002, 0x20241079,
    0x39000000, 0x39001003, 0x39001004, 0x39001005, 0xA0000000, 0xA0001001,
    0xA0001002, 0xA0001003, 0xA0001004, 0xA2000201, 0xB0000000, 0xB0002004,
};

struct PartLine {
  uint16_t PartCode;
  uint16_t Class;
};

// A class that no part code's row names: the "other" line of each.
constexpr uint16_t OtherClass = 5;

// Part codes with every class that their rows tell apart.
constexpr PartLine StyledParts[] = {
    {0x1101, AnyClass}, {0x1103, AnyClass}, {0x1102, AnyClass},   {0x1105, AnyClass}, {0x1304, AnyClass},
    {0x2080, 2},        {0x2080, 7},        {0x2080, 19},         {0x2080, OtherClass}, {0x2081, 2},
    {0x2081, OtherClass}, {0x2082, 2},      {0x2082, OtherClass}, {0x2200, AnyClass}, {0x2400, 2},
    {0x2400, 11},       {0x2400, 15},       {0x2400, OtherClass}, {0x3002, 2},        {0x3002, OtherClass},
    {0x3003, 2},        {0x3003, 11},       {0x3003, OtherClass}, {0x4001, AnyClass}, {0x4002, AnyClass},
};

constexpr uint16_t StyledClasses[] = {9, 16, 27, 30, 33, 34, 36, 37, 39, 60, 61, 62, 63, 68, 74, 75, 80, 95, 101};

// The answers under which the conditional rows do their work: request 1550
// gives offset 0 (not 0xFFFFFFFF), request 852269 gives non-zero, class 16's
// tag is 1599 and class 74's is 0.
ObjectAnswers AnswersFor(Stage By, uint16_t Class) {
  ObjectAnswers Answers;
  Answers.RequestResult = By == Stage::ByClass && Class == 68 ? 1 : 0;
  Answers.Tag = By == Stage::ByClass && Class == 16 ? 1599 : 0;
  return Answers;
}

std::string Hex(uint32_t Value, int Digits) {
  char Text[16];
  snprintf(Text, sizeof(Text), "0x%0*X", Digits, Value);
  return Text;
}

}  // namespace

std::vector<SampleObject> SampleObjects() {
  std::vector<SampleObject> Samples;
  for (const uint32_t Id : StyledIds) {
    Samples.push_back({Stage::ById, AnyClass, UnlistedPart, Id, AnswersFor(Stage::ById, AnyClass)});
  }
  for (const PartLine &Line : StyledParts) {
    Samples.push_back({Stage::ByPart, Line.Class, Line.PartCode, UnlistedId, AnswersFor(Stage::ByPart, Line.Class)});
  }
  for (const uint16_t Class : StyledClasses) {
    Samples.push_back({Stage::ByClass, Class, UnlistedPart, UnlistedId, AnswersFor(Stage::ByClass, Class)});
  }
  return Samples;
}

std::string SampleLabel(const SampleObject &Sample) {
  switch (Sample.By) {
    case Stage::ById:
      return "id " + Hex(Sample.ObjectId, 8);
    case Stage::ByPart:
      return "part " + Hex(Sample.PartCode, 4) + (Sample.Class != AnyClass ? " class " + std::to_string(Sample.Class) : "");
    case Stage::ByClass:
      return "class " + std::to_string(Sample.Class);
  }
  return {};
}

}  // namespace preview
