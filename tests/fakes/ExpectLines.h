// Whole traces of any fake compared against a block of expected lines, with
// a line diff on mismatch (the recording host's EXPECT_TRACE, for the rest).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/TraceDiff.h"

// Heading names what differs in the failure message.
inline ::testing::AssertionResult LinesAre(const std::vector<std::string> &Actual, const std::string &Expected,
                                           const char *Heading = "traces differ") {
  const std::vector<std::string> Wanted = TraceLines(Expected);
  if (Wanted == Actual) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << Heading << " (- expected, + actual):\n" << TraceDiff(Wanted, Actual);
}

#define EXPECT_LINES(Actual, Expected) EXPECT_TRUE(LinesAre((Actual), (Expected)))
