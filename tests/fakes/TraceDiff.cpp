#include "fakes/TraceDiff.h"

#include <sstream>

std::vector<std::string> TraceLines(const std::string &Text) {
  std::vector<std::string> Lines;
  std::istringstream Stream(Text);
  std::string Line;
  while (std::getline(Stream, Line)) {
    const size_t First = Line.find_first_not_of(" \t\r");
    if (First != std::string::npos) {
      Lines.push_back(Line.substr(First, Line.find_last_not_of(" \t\r") - First + 1));
    }
  }
  return Lines;
}

std::string TraceDiff(const std::vector<std::string> &Expected, const std::vector<std::string> &Actual) {
  // Longest common subsequence, filled from the ends so the walk runs forward.
  const size_t Rows = Expected.size(), Columns = Actual.size();
  std::vector<std::vector<size_t>> Common(Rows + 1, std::vector<size_t>(Columns + 1, 0));
  for (size_t Row = Rows; Row-- > 0;) {
    for (size_t Column = Columns; Column-- > 0;) {
      Common[Row][Column] = Expected[Row] == Actual[Column] ? Common[Row + 1][Column + 1] + 1
                                                            : std::max(Common[Row + 1][Column], Common[Row][Column + 1]);
    }
  }
  std::ostringstream Out;
  size_t Row = 0, Column = 0;
  while (Row < Rows || Column < Columns) {
    if (Row < Rows && Column < Columns && Expected[Row] == Actual[Column]) {
      Out << "  " << Expected[Row++] << '\n';
      Column++;
    } else if (Row < Rows && (Column == Columns || Common[Row + 1][Column] >= Common[Row][Column + 1])) {
      Out << "- " << Expected[Row++] << '\n';
    } else {
      Out << "+ " << Actual[Column++] << '\n';
    }
  }
  return Out.str();
}
