#include "tools/imagepkg/ThemePack.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <set>

#include "tools/imagepkg/FileIo.h"
#include "tools/imagepkg/ImageCheck.h"
#include "tools/imagepkg/Manifest.h"
#include "tools/imagepkg/PackageList.h"
#include "tools/imagepkg/ResFile.h"

namespace imagepkg {

namespace {

constexpr const char *kTool = "theme-pack: ";

std::string JoinPath(const std::string &Folder, const std::string &File) {
  return Folder.empty() ? File : Folder + "/" + File;
}

bool LooksLikeImageFile(const std::filesystem::path &Path) {
  const std::string Extension = Path.extension().string();
  return Extension == ".png" || Extension == ".jpg" || Extension == ".jpeg";
}

// An image file beside the manifest that no row names is most likely an
// image whose row was forgotten or still names its old file.
void ReportUnlistedImages(const std::string &Folder, const std::vector<ManifestRow> &Rows,
                          std::vector<std::string> &Problems) {
  std::set<std::string> Listed;
  for (const ManifestRow &Row : Rows) {
    Listed.insert(Row.File);
  }
  std::error_code Error;
  std::set<std::string> Unlisted;
  for (const auto &Entry : std::filesystem::directory_iterator(Folder.empty() ? "." : Folder, Error)) {
    const std::string Name = Entry.path().filename().string();
    if (Entry.is_regular_file(Error) && LooksLikeImageFile(Entry.path()) && Listed.count(Name) == 0) {
      Unlisted.insert(Name);
    }
  }
  for (const std::string &Name : Unlisted) {
    Problems.push_back(JoinPath(Folder, Name) + ": image file that the manifest does not list");
  }
}

}  // namespace

PackResult PackFromManifest(const std::string &ManifestPath) {
  PackResult Result;
  std::string Error;
  const std::optional<Bytes> ManifestBytes = ReadWholeFile(ManifestPath, Error);
  if (!ManifestBytes) {
    Result.Problems.push_back(ManifestPath + ": cannot read the manifest: " + Error);
    return Result;
  }
  const std::string_view Text(reinterpret_cast<const char *>(ManifestBytes->data()), ManifestBytes->size());
  const Manifest Parsed = ParseManifest(Text, ManifestPath);
  Result.Problems = Parsed.Problems;

  // Every file is read and checked even after a failure, so that one run
  // names every problem.
  const std::string Folder = std::filesystem::path(ManifestPath).parent_path().string();
  std::vector<Bytes> Files;
  std::vector<ImageFormat> Formats;
  for (const ManifestRow &Row : Parsed.Rows) {
    const std::string Path = JoinPath(Folder, Row.File);
    const std::string Where = "image " + std::to_string(Row.Id) + " (" + Path + "): ";
    std::optional<Bytes> File = ReadWholeFile(Path, Error);
    if (!File) {
      Result.Problems.push_back(Where + "cannot read the file: " + Error);
      continue;
    }
    const ProbeResult Probe = ProbeImage(*File);
    if (!Probe.Ok) {
      Result.Problems.push_back(Where + Probe.Error);
      continue;
    }
    for (const std::string &Mismatch : CompareWithRequirement(Probe.Facts, *FindImageRequirement(Row.Id))) {
      Result.Problems.push_back(Where + Mismatch);
    }
    Files.push_back(std::move(*File));
    Formats.push_back(Probe.Facts.Format);
  }
  ReportUnlistedImages(Folder, Parsed.Rows, Result.Problems);
  if (!Result.Problems.empty()) {
    return Result;
  }

  std::vector<PackedImage> Images;
  for (size_t Index = 0; Index < Files.size(); Index++) {
    Images.push_back(PackedImage{Formats[Index], Files[Index]});
  }
  BuildResult Built = BuildPackageList(Images);
  if (!Built.Error.empty()) {
    Result.Problems.push_back(Built.Error);
    return Result;
  }
  // Read the result back with the inspector's own checks before anyone
  // links it.
  const PackageListReport Report = ReadPackageList(Built.List);
  if (!Report.Problems.empty()) {
    for (const std::string &Problem : Report.Problems) {
      Result.Problems.push_back("internal error: the packed " + Problem);
    }
    return Result;
  }
  Result.List = std::move(Built.List);
  return Result;
}

std::vector<std::string> CheckReplacement(const std::string &IdText, const std::string &Path) {
  char *End = nullptr;
  const unsigned long Id = std::strtoul(IdText.c_str(), &End, 10);
  const ImageRequirement *Required =
      IdText.empty() || *End != 0 || Id > kThemeImageCount ? nullptr : FindImageRequirement((uint32_t)Id);
  if (Required == nullptr) {
    return {"image " + IdText + " (" + Path + "): not a theme image id, expected 1 to " +
            std::to_string(kThemeImageCount)};
  }
  const std::string Where = "image " + IdText + " (" + Path + "): ";
  std::string Error;
  const std::optional<Bytes> File = ReadWholeFile(Path, Error);
  if (!File) {
    return {Where + "cannot read the file: " + Error};
  }
  const ProbeResult Probe = ProbeImage(*File);
  if (!Probe.Ok) {
    return {Where + Probe.Error};
  }
  std::vector<std::string> Problems;
  for (const std::string &Mismatch : CompareWithRequirement(Probe.Facts, *Required)) {
    Problems.push_back(Where + Mismatch);
  }
  return Problems;
}

Bytes ResourceDataFor(ByteView List) {
  Bytes Data(List.begin(), List.end());
  Data.push_back(0);
  return Data;
}

int RunThemePack(const std::vector<std::string> &Arguments, std::ostream &Out, std::ostream &Err) {
  if (!Arguments.empty() && Arguments[0] == "--check") {
    if (Arguments.size() < 3 || Arguments.size() % 2 == 0) {
      Err << "usage: theme-pack --check ID FILE [ID FILE ...]\n";
      return 2;
    }
    size_t Problems = 0;
    for (size_t Index = 1; Index + 1 < Arguments.size(); Index += 2) {
      for (const std::string &Problem : CheckReplacement(Arguments[Index], Arguments[Index + 1])) {
        Err << kTool << Problem << "\n";
        Problems++;
      }
    }
    return Problems == 0 ? 0 : 1;
  }
  std::string PackageOut;
  std::vector<std::string> Positional;
  for (size_t Index = 0; Index < Arguments.size(); Index++) {
    if (Arguments[Index] == "--package-out" && Index + 1 < Arguments.size()) {
      PackageOut = Arguments[++Index];
    } else if (!Arguments[Index].empty() && Arguments[Index][0] == '-') {
      Positional.clear();
      break;
    } else {
      Positional.push_back(Arguments[Index]);
    }
  }
  if (Positional.size() != 2) {
    Err << "usage: theme-pack [--package-out FILE] MANIFEST OUTPUT.res\n";
    return 2;
  }
  const std::string &ManifestPath = Positional[0];
  const std::string &ResPath = Positional[1];

  // A refused run leaves no output behind, so no build can link a stale one.
  auto RemoveOutputs = [&] {
    std::remove(ResPath.c_str());
    if (!PackageOut.empty()) {
      std::remove(PackageOut.c_str());
    }
  };

  const PackResult Packed = PackFromManifest(ManifestPath);
  if (!Packed.Problems.empty()) {
    for (const std::string &Problem : Packed.Problems) {
      Err << kTool << Problem << "\n";
    }
    Err << kTool << Packed.Problems.size() << (Packed.Problems.size() == 1 ? " problem" : " problems")
        << "; no package written\n";
    RemoveOutputs();
    return 1;
  }

  const Bytes Res = BuildResFile(kHiiResourceType, kHiiResourceId, kLanguageEnglishUs, ResourceDataFor(Packed.List));
  std::string Error;
  if (!WriteFileAtomically(ResPath, Res, Error) ||
      (!PackageOut.empty() && !WriteFileAtomically(PackageOut, Packed.List, Error))) {
    Err << kTool << Error << "\n";
    RemoveOutputs();
    return 1;
  }
  Out << kTool << "packed " << kThemeImageCount << " images, package list " << Packed.List.size() << " bytes, into "
      << ResPath << "\n";
  return 0;
}

}  // namespace imagepkg
