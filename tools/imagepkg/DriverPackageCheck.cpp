#include "tools/imagepkg/DriverPackageCheck.h"

#include <cstdio>
#include <ostream>
#include <set>

#include "tools/imagepkg/DriverImageMap.h"
#include "tools/imagepkg/FileIo.h"
#include "tools/imagepkg/ImageCheck.h"
#include "tools/imagepkg/ResFile.h"
#include "tools/imagepkg/ThemePack.h"

namespace imagepkg {

namespace {

constexpr const char *kTool = "theme-inspect: ";

std::string Hex8(uint64_t Value) {
  char Text[24];
  std::snprintf(Text, sizeof(Text), "0x%08llX", static_cast<unsigned long long>(Value));
  return Text;
}

void CheckResourceData(DriverReport &Report, ByteView Data) {
  auto Problem = [&](const std::string &Message) { Report.Problems.push_back("resource data: " + Message); };
  const std::optional<uint32_t> ListLength = ReadU32(Data, 16);
  if (!ListLength) {
    Problem(std::to_string(Data.size()) + " bytes, too short for a package list header");
    return;
  }
  // The resource is the package list and one zero byte.
  ByteView List = Data.first(std::min<uint64_t>(*ListLength, Data.size()));
  if (Data.size() != uint64_t{*ListLength} + 1) {
    Problem(std::to_string(Data.size()) + " bytes, expected the package list length " + std::to_string(*ListLength) +
            " plus one");
  } else if (Data.back() != 0) {
    Problem("the byte after the package list is " + std::to_string(Data.back()) + ", expected 0");
  }
  Report.Package = ReadPackageList(List);
  Report.Problems.insert(Report.Problems.end(), Report.Package.Problems.begin(), Report.Package.Problems.end());
}

void CheckImages(DriverReport &Report) {
  for (const ImageBlock &Block : Report.Package.Blocks) {
    InspectedImage Image;
    Image.Id = Block.Id;
    Image.Format = Block.Type == kBlockTypeJpeg ? ImageFormat::Jpeg : ImageFormat::Png;
    Image.FileSize = Block.File.size();
    const std::string Where = "image " + std::to_string(Block.Id) + ": ";
    const ProbeResult Probe = ProbeImage(Block.File);
    if (!Probe.Ok) {
      Report.Problems.push_back(Where + Probe.Error);
    } else {
      Image.Decoded = true;
      Image.Facts = Probe.Facts;
      if (Probe.Facts.Format != Image.Format) {
        Report.Problems.push_back(Where + FormatName(Image.Format) + " block holds a " +
                                  FormatName(Probe.Facts.Format) + " file");
      }
      if (const ImageRequirement *Required = FindImageRequirement(Block.Id)) {
        for (const std::string &Mismatch : CompareWithRequirement(Probe.Facts, *Required)) {
          Report.Problems.push_back(Where + Mismatch);
        }
      }
    }
    Report.Images.push_back(std::move(Image));
  }
}

// Every theme id that the driver's image map hands to the host must name an
// image of the package.
void CheckImageMap(DriverReport &Report) {
  std::set<uint32_t> ThemeIds;
  std::set<uint32_t> Missing;
  uint32_t MissingHostIds = 0;
  for (const auto [HostId, ThemeId] : DriverImageMap()) {
    Report.MappedHostIds++;
    ThemeIds.insert(ThemeId);
    if (ThemeId == 0 || ThemeId > Report.Images.size()) {
      Missing.insert(ThemeId);
      MissingHostIds++;
    } else {
      Report.Images[ThemeId - 1].HostIds.push_back(HostId);
    }
  }
  Report.MappedThemeIds = static_cast<uint32_t>(ThemeIds.size());
  Report.MappedButMissing = static_cast<uint32_t>(Missing.size());
  if (!Missing.empty()) {
    std::string Ids;
    for (const uint32_t ThemeId : Missing) {
      Ids += (Ids.empty() ? "" : ", ") + std::to_string(ThemeId);
    }
    Report.Problems.push_back("image map: " + std::to_string(MissingHostIds) +
                              " host image ids map to theme images that the package does not hold: " + Ids);
  }
}

std::string HostIdList(const std::vector<uint32_t> &HostIds) {
  if (HostIds.empty()) {
    return "-";
  }
  std::string Text;
  for (const uint32_t HostId : HostIds) {
    Text += (Text.empty() ? "" : ",") + std::to_string(HostId);
  }
  return Text;
}

void PrintReport(const std::string &Path, uint64_t FileSize, const DriverReport &Report, std::ostream &Out) {
  char Line[256];
  std::snprintf(Line, sizeof(Line), "driver        %s (%llu bytes): machine 0x%04X, optional header 0x%03X, subsystem %u\n",
                Path.c_str(), static_cast<unsigned long long>(FileSize), Report.Resource.Pe.Machine,
                Report.Resource.Pe.Magic, Report.Resource.Pe.Subsystem);
  Out << Line;
  if (!Report.Resource.Found) {
    return;
  }
  Out << "resource      type \"HII\", id " << kHiiResourceId << ", language " << kLanguageEnglishUs << ", code page "
      << Report.Resource.CodePage << "\n";
  Out << "resource data rva " << Hex8(Report.Resource.DataRva) << ", file offset " << Hex8(Report.Resource.FileOffset)
      << ", " << Report.Resource.Data.size() << " bytes\n";
  Out << "package list  " << kThemePackageListGuidText << ", " << Report.Package.ListLength
      << " bytes; image package " << Report.Package.ImagePackageLength << " bytes; " << Report.Package.Blocks.size()
      << " images\n";
  Out << "image map     " << Report.MappedHostIds << " host image ids name " << Report.MappedThemeIds
      << " theme images; "
      << (Report.MappedButMissing == 0 ? std::string("every one is in the package")
                                       : std::to_string(Report.MappedButMissing) + " are not in the package")
      << "\n\n";
  Out << " id  format  size       bytes    interlaced  host image ids\n";
  for (const InspectedImage &Image : Report.Images) {
    const std::string Size =
        Image.Decoded ? std::to_string(Image.Facts.Width) + "x" + std::to_string(Image.Facts.Height) : "?";
    const char *Interlaced = !Image.Decoded ? "?" : Image.Facts.Interlaced ? "yes" : "no";
    std::snprintf(Line, sizeof(Line), "%3u  %-6s  %-9s  %7llu  %-10s  ", Image.Id, FormatName(Image.Format),
                  Size.c_str(), static_cast<unsigned long long>(Image.FileSize), Interlaced);
    Out << Line << HostIdList(Image.HostIds) << "\n";
  }
}

}  // namespace

DriverReport InspectDriver(ByteView File) {
  DriverReport Report;
  Report.Resource = FindPeResource(File, kHiiResourceType, kHiiResourceId, kLanguageEnglishUs);
  Report.Problems = Report.Resource.Problems;
  if (!Report.Resource.Found) {
    return Report;
  }
  if (Report.Resource.CodePage != 0) {
    Report.Problems.push_back("resource: code page " + std::to_string(Report.Resource.CodePage) + ", expected 0");
  }
  CheckResourceData(Report, Report.Resource.Data);
  CheckImages(Report);
  CheckImageMap(Report);
  return Report;
}

int RunThemeInspect(const std::vector<std::string> &Arguments, std::ostream &Out, std::ostream &Err) {
  if (Arguments.size() != 1 || Arguments[0].empty() || Arguments[0][0] == '-') {
    Err << "usage: theme-inspect DRIVER.efi\n";
    return 2;
  }
  std::string Error;
  const std::optional<Bytes> File = ReadWholeFile(Arguments[0], Error);
  if (!File) {
    Err << kTool << Arguments[0] << ": " << Error << "\n";
    return 1;
  }
  const DriverReport Report = InspectDriver(*File);
  PrintReport(Arguments[0], File->size(), Report, Out);
  if (!Report.Problems.empty()) {
    for (const std::string &Problem : Report.Problems) {
      Err << kTool << Problem << "\n";
    }
    Err << kTool << Arguments[0] << ": " << Report.Problems.size()
        << (Report.Problems.size() == 1 ? " problem" : " problems") << "\n";
    return 1;
  }
  Out << "\n" << kTool << "OK: " << Report.Images.size() << " images, every one as required\n";
  return 0;
}

}  // namespace imagepkg
