// Whole traces compared as text: the expected block is split into trimmed
// lines, and a mismatch is shown as a line diff.
#pragma once

#include <string>
#include <vector>

// The non-blank lines of Text, each without leading and trailing blanks.
std::vector<std::string> TraceLines(const std::string &Text);

// A line diff of two traces: "  " lines in both, "- " expected only,
// "+ " actual only, in order.
std::string TraceDiff(const std::vector<std::string> &Expected, const std::vector<std::string> &Actual);
