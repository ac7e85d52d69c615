#include "tools/preview/ThemePreview.h"

#include <chrono>
#include <optional>
#include <ostream>
#include <utility>

#include "tools/imagepkg/FileIo.h"
#include "tools/imagepkg/ImageDecode.h"
#include "tools/preview/Compare.h"
#include "tools/preview/FactsFile.h"
#include "tools/preview/Font.h"
#include "tools/preview/Preview.h"
#include "tools/preview/Sheet.h"

namespace preview {

namespace {

constexpr const char *kTool = "theme-preview: ";

// The design size, and a smaller screen of another shape.
const std::vector<std::pair<int32_t, int32_t>> kScreenSizes = {{THEME_DESIGN_WIDTH, THEME_DESIGN_HEIGHT}, {1280, 800}};

std::string WithExtension(const std::string &Path, const std::string &Extension) {
  const size_t Slash = Path.find_last_of('/');
  const size_t Dot = Path.find_last_of('.');
  const bool HasExtension = Dot != std::string::npos && (Slash == std::string::npos || Dot > Slash);
  return (HasExtension ? Path.substr(0, Dot) : Path) + Extension;
}

std::string FileName(const std::string &Path) {
  const size_t Slash = Path.find_last_of('/');
  return Slash == std::string::npos ? Path : Path.substr(Slash + 1);
}

std::string Directory(const std::string &Path) {
  const size_t Slash = Path.find_last_of('/');
  return Slash == std::string::npos ? std::string() : Path.substr(0, Slash + 1);
}

bool WriteText(const std::string &Path, const std::string &Text, std::ostream &Err) {
  std::string Error;
  const imagepkg::ByteView Data(reinterpret_cast<const uint8_t *>(Text.data()), Text.size());
  if (!imagepkg::WriteFileAtomically(Path, Data, Error)) {
    Err << kTool << Path << ": " << Error << "\n";
    return false;
  }
  return true;
}

bool WritePng(const std::string &Path, const Pixmap &Pixels, std::ostream &Err) {
  const imagepkg::Bytes Png = imagepkg::EncodePng(static_cast<uint32_t>(Pixels.Width),
                                                  static_cast<uint32_t>(Pixels.Height), Pixels.Argb);
  std::string Error;
  if (Png.empty() || !imagepkg::WriteFileAtomically(Path, Png, Error)) {
    Err << kTool << Path << ": " << (Png.empty() ? "the PNG does not encode" : Error) << "\n";
    return false;
  }
  return true;
}

// The sheet beside a facts file; an empty pixmap when it cannot be read.
Pixmap ReadSheet(const std::string &FactsPath, const Json &Facts) {
  std::string Error;
  const std::string Path = Directory(FactsPath) + Facts["sheet"].value("file", "");
  const std::optional<imagepkg::Bytes> File = imagepkg::ReadWholeFile(Path, Error);
  if (!File) {
    return {};
  }
  return ToPixmap(imagepkg::DecodeImagePixels(*File, kLargestSheet));
}

int DrawDriverSheet(const std::string &DriverPath, const std::string &SheetPath, std::ostream &Out,
                    std::ostream &Err) {
  const auto Start = std::chrono::steady_clock::now();
  Fonts Text;
  if (!Text.Ok()) {
    Err << kTool << Text.Error << "\n";
    return 2;
  }
  std::string Error;
  std::optional<std::vector<ThemeImage>> Images = LoadDriverImages(DriverPath, Error);
  if (!Images) {
    Err << kTool << Error << "\n";
    return 2;
  }
  const PreviewFacts Facts = RunPreview(std::move(*Images), kScreenSizes, &Text);
  const Sheet Drawn = DrawSheet(Facts, Text);
  const std::string FactsPath = WithExtension(SheetPath, ".json");
  const Json FactsJson = FactsToJson(Facts, Drawn, FileName(SheetPath));
  if (!WritePng(SheetPath, Drawn.Pixels, Err) || !WriteText(FactsPath, FactsJson.dump(1) + "\n", Err)) {
    return 2;
  }
  const auto Milliseconds =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - Start).count();
  Out << "sheet  " << SheetPath << " (" << Drawn.Pixels.Width << "x" << Drawn.Pixels.Height << ")\nfacts  "
      << FactsPath << "\n"
      << Facts.StyleRows.size() << " styled rows, " << Facts.Palette.size() << " colours, " << Facts.Images.size()
      << " images, " << Facts.Screens.size() << " screens; " << Milliseconds << " ms\n";
  return 0;
}

int CompareBuilds(const std::string &OldPath, const std::string &NewPath, std::string DiffPath, std::ostream &Out,
                  std::ostream &Err) {
  std::string Error;
  const std::optional<Json> Old = ReadFacts(OldPath, Error);
  const std::optional<Json> New = Old ? ReadFacts(NewPath, Error) : std::nullopt;
  if (!Old || !New) {
    Err << kTool << Error << "\n";
    return 2;
  }
  // The sheets are read only when there is something to count or cut out
  // of them.
  std::optional<std::pair<Pixmap, Pixmap>> Drawn;
  const auto ReadSheets = [&]() {
    if (!Drawn) {
      Drawn.emplace(ReadSheet(OldPath, *Old), ReadSheet(NewPath, *New));
    }
    return SheetPair{&Drawn->first, &Drawn->second};
  };
  const Comparison Result = CompareFacts(*Old, *New, ReadSheets);
  if (!Result.Error.empty()) {
    Err << kTool << Result.Error << "\n";
    return 2;
  }
  if (Result.Changes.empty()) {
    Out << "no difference\n";
    return 0;
  }
  const SheetPair Sheets = ReadSheets();
  const Pixmap &OldSheet = *Sheets.Old;
  const Pixmap &NewSheet = *Sheets.New;
  for (const Change &Item : Result.Changes) {
    Out << Item.Text << "\n";
  }
  Out << "in short:\n";
  for (const std::string &Line : Result.Summary) {
    Out << "  " << Line << "\n";
  }
  Fonts Text;
  if (DiffPath.empty()) {
    DiffPath = WithExtension(NewPath, "-compare.png");
  }
  if (Text.Ok() && WritePng(DiffPath, DrawComparison(Result, *Old, *New, OldSheet, NewSheet, Text), Err)) {
    Out << Result.Changes.size() << (Result.Changes.size() == 1 ? " difference" : " differences") << "; drawn in "
        << DiffPath << "\n";
  }
  return 1;
}

}  // namespace

int RunThemePreview(const std::vector<std::string> &Arguments, std::ostream &Out, std::ostream &Err) {
  const auto Usage = [&Err]() {
    Err << "usage: theme-preview DRIVER.efi --out SHEET.png\n"
           "       theme-preview --compare OLD.json NEW.json [--out DIFF.png]\n";
    return 2;
  };
  if (Arguments.size() >= 3 && Arguments[0] == "--compare") {
    if (Arguments.size() == 3) {
      return CompareBuilds(Arguments[1], Arguments[2], {}, Out, Err);
    }
    if (Arguments.size() == 5 && Arguments[3] == "--out") {
      return CompareBuilds(Arguments[1], Arguments[2], Arguments[4], Out, Err);
    }
    return Usage();
  }
  if (Arguments.size() == 3 && Arguments[1] == "--out" && !Arguments[0].empty() && Arguments[0][0] != '-') {
    return DrawDriverSheet(Arguments[0], Arguments[2], Out, Err);
  }
  return Usage();
}

}  // namespace preview
