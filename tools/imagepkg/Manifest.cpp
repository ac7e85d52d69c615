#include "tools/imagepkg/Manifest.h"

#include <charconv>
#include <cstdio>
#include <optional>

namespace imagepkg {

namespace {

constexpr size_t kManifestFieldCount = 6;

std::vector<std::string_view> SplitFields(std::string_view Line) {
  std::vector<std::string_view> Fields;
  size_t Start = 0;
  while (true) {
    const size_t Tab = Line.find('\t', Start);
    Fields.push_back(Line.substr(Start, Tab == std::string_view::npos ? std::string_view::npos : Tab - Start));
    if (Tab == std::string_view::npos) {
      return Fields;
    }
    Start = Tab + 1;
  }
}

std::optional<uint32_t> ParseDecimal(std::string_view Text) {
  uint32_t Value = 0;
  if (Text.empty() || Text.size() > 9) {
    return std::nullopt;
  }
  const auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
  if (Error != std::errc() || End != Text.data() + Text.size()) {
    return std::nullopt;
  }
  return Value;
}

std::string SizeText(uint32_t Width, uint32_t Height) {
  return std::to_string(Width) + "x" + std::to_string(Height);
}

// "027-button-small-normal.png": the id in three digits first, so that the
// files sort in package order, and an extension that names the format.
std::string FileNameProblem(std::string_view File, uint32_t Id, std::string_view Format) {
  const std::string_view Name = File.substr(File.rfind('/') + 1);
  char Prefix[8];
  std::snprintf(Prefix, sizeof(Prefix), "%03u-", Id);
  if (!Name.starts_with(Prefix)) {
    return "file name \"" + std::string(File) + "\" must start with \"" + Prefix + "\"";
  }
  const bool Jpeg = Format == "jpeg";
  if (Jpeg ? !Name.ends_with(".jpg") && !Name.ends_with(".jpeg") : !Name.ends_with(".png")) {
    return "file name \"" + std::string(File) + "\" must end in " + (Jpeg ? "\".jpg\" or \".jpeg\"" : "\".png\"");
  }
  return {};
}

}  // namespace

bool IsSafeImageFileName(std::string_view File) {
  if (File.empty() || File.front() == '/' || File.back() == '/') {
    return false;
  }
  for (const char Character : File) {
    const bool Allowed = (Character >= 'a' && Character <= 'z') || (Character >= 'A' && Character <= 'Z') ||
                         (Character >= '0' && Character <= '9') || Character == '.' || Character == '_' ||
                         Character == '-' || Character == '/';
    if (!Allowed) {
      return false;
    }
  }
  size_t Start = 0;
  while (Start <= File.size()) {
    const size_t Slash = File.find('/', Start);
    const std::string_view Part = File.substr(Start, Slash == std::string_view::npos ? std::string_view::npos
                                                                                      : Slash - Start);
    if (Part.empty() || Part == "." || Part == "..") {
      return false;
    }
    if (Slash == std::string_view::npos) {
      break;
    }
    Start = Slash + 1;
  }
  return true;
}

Manifest ParseManifest(std::string_view Text, std::string_view Name) {
  Manifest Result;
  const std::string Prefix(Name);
  auto Problem = [&](size_t Line, const std::string &Message) {
    Result.Problems.push_back(Prefix + ":" + std::to_string(Line) + ": " + Message);
  };

  size_t LineNumber = 0;
  size_t Position = 0;  // of the current image row, counting from 1
  bool SawHeader = false;
  size_t Start = 0;
  while (Start < Text.size()) {
    const size_t NewLine = Text.find('\n', Start);
    std::string_view Line =
        Text.substr(Start, NewLine == std::string_view::npos ? std::string_view::npos : NewLine - Start);
    Start = NewLine == std::string_view::npos ? Text.size() : NewLine + 1;
    LineNumber++;
    if (!Line.empty() && Line.back() == '\r') {
      Line.remove_suffix(1);
    }
    if (Line.empty()) {
      continue;
    }
    if (!SawHeader) {
      SawHeader = true;
      if (Line != kManifestHeader) {
        Problem(LineNumber, "header must be \"id<TAB>file<TAB>format<TAB>width<TAB>height<TAB>interlaced\"");
      }
      continue;
    }

    // Every id depends on its position in the package, so the rows must
    // run 1, 2, 3 ... without gaps or repeats.
    Position++;
    const std::vector<std::string_view> Fields = SplitFields(Line);
    if (Fields.size() != kManifestFieldCount) {
      Problem(LineNumber, std::to_string(Fields.size()) + " tab-separated fields, expected " +
                              std::to_string(kManifestFieldCount));
      continue;
    }
    const std::optional<uint32_t> Id = ParseDecimal(Fields[0]);
    const std::optional<uint32_t> Width = ParseDecimal(Fields[3]);
    const std::optional<uint32_t> Height = ParseDecimal(Fields[4]);
    bool RowOk = true;
    if (!Id || *Id == 0 || *Id > kThemeImageCount) {
      Problem(LineNumber, "id \"" + std::string(Fields[0]) + "\" is not a number from 1 to " +
                              std::to_string(kThemeImageCount));
      RowOk = false;
    } else if (*Id != Position) {
      Problem(LineNumber, "id " + std::to_string(*Id) + " out of order, expected id " + std::to_string(Position));
    }
    if (!IsSafeImageFileName(Fields[1])) {
      Problem(LineNumber, "file name \"" + std::string(Fields[1]) +
                              "\" must be a relative path inside the manifest's folder made of letters, digits, "
                              "'.', '_', '-' and '/'");
      RowOk = false;
    }
    if (Fields[2] != "png" && Fields[2] != "jpeg") {
      Problem(LineNumber, "format \"" + std::string(Fields[2]) + "\" must be png or jpeg");
      RowOk = false;
    }
    if (!Width || !Height || *Width == 0 || *Height == 0) {
      Problem(LineNumber, "size \"" + std::string(Fields[3]) + "x" + std::string(Fields[4]) +
                              "\" must be two positive numbers");
      RowOk = false;
    }
    if (Fields[5] != "0" && Fields[5] != "1") {
      Problem(LineNumber, "interlaced \"" + std::string(Fields[5]) + "\" must be 0 or 1");
      RowOk = false;
    }
    if (!RowOk) {
      continue;
    }
    if (const std::string NameProblem = FileNameProblem(Fields[1], *Id, Fields[2]); !NameProblem.empty()) {
      Problem(LineNumber, NameProblem);
    }
    Result.Rows.push_back(ManifestRow{LineNumber, *Id, std::string(Fields[1]),
                                      Fields[2] == "jpeg" ? ImageFormat::Jpeg : ImageFormat::Png, *Width,
                                      *Height, Fields[5] == "1"});
  }
  if (!SawHeader) {
    Result.Problems.push_back(Prefix + ": empty; expected a header line and " +
                              std::to_string(kThemeImageCount) + " image rows");
    return Result;
  }

  if (Position != kThemeImageCount) {
    Result.Problems.push_back(Prefix + ": " + std::to_string(Position) + " image rows, expected " +
                              std::to_string(kThemeImageCount));
  }

  for (const ManifestRow &Row : Result.Rows) {
    const ImageRequirement &Required = *FindImageRequirement(Row.Id);
    const std::string Where = "image " + std::to_string(Row.Id) + " ";
    if (Row.Format != Required.Format) {
      Problem(Row.Line, Where + "listed as " + FormatName(Row.Format) + ", expected " + FormatName(Required.Format));
    }
    if (Row.Width != Required.Width || Row.Height != Required.Height) {
      Problem(Row.Line, Where + "listed as " + SizeText(Row.Width, Row.Height) + ", expected " +
                            SizeText(Required.Width, Required.Height));
    }
    if (Row.Interlaced != Required.Interlaced) {
      Problem(Row.Line, Where + (Row.Interlaced ? "listed as interlaced, expected not interlaced"
                                                : "listed as not interlaced, expected interlaced"));
    }
  }
  return Result;
}

}  // namespace imagepkg
