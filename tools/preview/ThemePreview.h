// theme-preview DRIVER.efi --out SHEET.png
//   draws the sheet of a built driver and writes SHEET.png with its facts
//   in SHEET.json beside it; exit 0, or 2 with no file written on bad input.
// theme-preview --compare OLD.json NEW.json [--out DIFF.png]
//   names every difference between two builds' facts and draws each changed
//   item old beside new (default DIFF.png: NEW's name with -compare.png);
//   exit 0 for no difference, 1 for differences, 2 on bad input.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace preview {

int RunThemePreview(const std::vector<std::string> &Arguments, std::ostream &Out, std::ostream &Err);

}  // namespace preview
