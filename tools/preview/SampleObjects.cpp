#include "tools/preview/SampleObjects.h"

#include <cstdio>
#include <optional>

#include "style/StyleStages.h"

namespace preview {

namespace {

// An identifier that no row of the first stage lists, and a part code that
// no row of the second lists, so that the later stages get the object.
constexpr uint32_t kUnlistedId = 0;
constexpr uint16_t kUnlistedPart = 0;
constexpr uint16_t kAnyClass = 0;

// A class that no part code's row names: the "other" line of each.
constexpr uint16_t kOtherClass = 5;

// Calls Visit (key, marker) for every line of a stage's table, in table
// order: once for each key of the row that the line opens, and once for
// each further line of a part code's row.
template <typename Visitor>
void ForEachLine(const STYLE_TABLE &Table, Visitor Visit) {
  uint32_t RowKey = 0;
  for (uint32_t Step = 0; Table.Steps[Step].Op != StyleOpEnd; Step++) {
    const STYLE_STEP &Marker = Table.Steps[Step];
    if (Marker.Op != StyleOpLine && Marker.Op != StyleOpClassLine) {
      continue;
    }
    bool OpensRow = false;
    for (uint32_t Key = 0; Key < Table.KeyCount; Key++) {
      if (Table.FirstSteps[Key] == Step) {
        RowKey = Table.Keys[Key];
        OpensRow = true;
        Visit(RowKey, Marker);
      }
    }
    if (!OpensRow) {
      Visit(RowKey, Marker);
    }
  }
}

// The answers under which the conditional rows do their work: request 1550
// gives offset 0 (not 0xFFFFFFFF), request 852269 gives non-zero, class 16's
// tag is 1599 and class 74's is 0.
ObjectAnswers AnswersFor(Stage By, uint16_t Class) {
  ObjectAnswers Answers;
  Answers.RequestResult = By == Stage::ByClass && Class == 68 ? 1 : 0;
  Answers.Tag = By == Stage::ByClass && Class == 16 ? kTagOfSiblingAreaTaker : 0;
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
  ForEachLine(kStyleById, [&Samples](uint32_t Key, const STYLE_STEP &) {
    Samples.push_back({Stage::ById, kAnyClass, kUnlistedPart, Key, AnswersFor(Stage::ById, kAnyClass)});
  });
  // A part code's class lines each get their class, its line for every
  // class after them a class they do not name; a part code without class
  // lines gets one sample for all classes.
  std::optional<uint16_t> ClassLinesOf;
  ForEachLine(kStyleByPartCode, [&](uint32_t Key, const STYLE_STEP &Marker) {
    const uint16_t PartCode = static_cast<uint16_t>(Key);
    uint16_t Class = kAnyClass;
    if (Marker.Op == StyleOpClassLine) {
      Class = Marker.Code;
      ClassLinesOf = PartCode;
    } else {
      Class = ClassLinesOf == PartCode ? kOtherClass : kAnyClass;
      ClassLinesOf.reset();
    }
    Samples.push_back({Stage::ByPart, Class, PartCode, kUnlistedId, AnswersFor(Stage::ByPart, Class)});
  });
  ForEachLine(kStyleByClass, [&Samples](uint32_t Key, const STYLE_STEP &) {
    const uint16_t Class = static_cast<uint16_t>(Key);
    Samples.push_back({Stage::ByClass, Class, kUnlistedPart, kUnlistedId, AnswersFor(Stage::ByClass, Class)});
  });
  return Samples;
}

std::string SampleLabel(const SampleObject &Sample) {
  switch (Sample.By) {
    case Stage::ById:
      return "id " + Hex(Sample.ObjectId, 8);
    case Stage::ByPart:
      return "part " + Hex(Sample.PartCode, 4) + (Sample.Class != kAnyClass ? " class " + std::to_string(Sample.Class) : "");
    case Stage::ByClass:
      return "class " + std::to_string(Sample.Class);
  }
  return {};
}

}  // namespace preview
