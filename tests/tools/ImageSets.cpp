#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "ImageFixtures.h"
#include "tools/imagepkg/ImageRequirements.h"

namespace fixtures {

Bytes ValidImageFor(uint32_t Id) {
  const imagepkg::ImageRequirement *Required = imagepkg::FindImageRequirement(Id);
  if (Required == nullptr) {
    throw std::invalid_argument("no theme image " + std::to_string(Id));
  }
  if (Required->Format == imagepkg::ImageFormat::Jpeg) {
    return EncodeJpeg({Required->Width, Required->Height}, Id);
  }
  return EncodePng({Required->Width, Required->Height, Required->Interlaced}, Id);
}

void WriteSyntheticImageSet(const std::filesystem::path &Folder) {
  std::filesystem::create_directories(Folder);
  std::ofstream Manifest(Folder / "manifest.tsv", std::ios::binary);
  Manifest << "id\tfile\tformat\twidth\theight\tinterlaced\n";
  for (uint32_t Id = 1; Id <= imagepkg::kThemeImageCount; Id++) {
    const imagepkg::ImageRequirement &Required = *imagepkg::FindImageRequirement(Id);
    const bool Jpeg = Required.Format == imagepkg::ImageFormat::Jpeg;
    char Name[32];
    snprintf(Name, sizeof(Name), "%03u-synthetic.%s", Id, Jpeg ? "jpg" : "png");
    WriteFile(Folder / Name, ValidImageFor(Id));
    Manifest << Id << '\t' << Name << '\t' << (Jpeg ? "jpeg" : "png") << '\t' << Required.Width << '\t'
             << Required.Height << '\t' << (Required.Interlaced ? 1 : 0) << '\n';
  }
}

void WriteFile(const std::filesystem::path &Path, imagepkg::ByteView Data) {
  std::ofstream Out(Path, std::ios::binary | std::ios::trunc);
  Out.write(reinterpret_cast<const char *>(Data.data()), static_cast<std::streamsize>(Data.size()));
  if (!Out) {
    throw std::runtime_error("cannot write " + Path.string());
  }
}

Bytes ReadFile(const std::filesystem::path &Path) {
  std::ifstream In(Path, std::ios::binary);
  if (!In) {
    throw std::runtime_error("cannot read " + Path.string());
  }
  return Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
}

}  // namespace fixtures
