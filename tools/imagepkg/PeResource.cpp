#include "tools/imagepkg/PeResource.h"

#include <cstdio>
#include <optional>

namespace imagepkg {

namespace {

constexpr uint32_t kDosLfanewOffset = 0x3C;
constexpr uint32_t kCoffHeaderSize = 20;
constexpr uint32_t kOptionalSubsystemOffset = 68;
constexpr uint32_t kOptionalRvaCountOffset = 108;
constexpr uint32_t kOptionalDirectoriesOffset = 112;
constexpr uint32_t kResourceDirectoryIndex = 2;
constexpr uint32_t kSectionHeaderSize = 40;
constexpr uint32_t kResourceDirectorySize = 16;
constexpr uint32_t kResourceEntrySize = 8;
constexpr uint32_t kResourceDataEntrySize = 16;
constexpr uint32_t kHighBit = 0x80000000u;

struct Section {
  uint32_t VirtualAddress;
  uint32_t MappedSize;  // bytes that are both in the file and mapped
  uint32_t RawPointer;
};

std::string Hex(uint64_t Value) {
  char Text[24];
  std::snprintf(Text, sizeof(Text), "0x%llX", static_cast<unsigned long long>(Value));
  return Text;
}

std::string Narrow(std::u16string_view Text) {
  std::string Out;
  for (const char16_t Character : Text) {
    Out.push_back(Character < 0x80 ? static_cast<char>(Character) : '?');
  }
  return Out;
}

// The file bytes of [Rva, Rva + Length), when one section holds them all.
std::optional<ByteView> MapRva(ByteView File, const std::vector<Section> &Sections, uint32_t Rva, uint64_t Length,
                               uint64_t *FileOffset) {
  for (const Section &Candidate : Sections) {
    if (Rva < Candidate.VirtualAddress) {
      continue;
    }
    const uint64_t Into = Rva - Candidate.VirtualAddress;
    if (!RangeFits(Candidate.MappedSize, Into, Length)) {
      continue;
    }
    const uint64_t Offset = Candidate.RawPointer + Into;
    const std::optional<ByteView> Bytes = SubView(File, Offset, Length);
    if (Bytes && FileOffset != nullptr) {
      *FileOffset = Offset;
    }
    return Bytes;
  }
  return std::nullopt;
}

struct DirectoryEntry {
  bool NameIsString;
  uint32_t NameField;   // id, or offset of the name string
  bool IsDirectory;
  uint32_t TargetOffset;  // of a subdirectory or a data entry
};

class ResourceTree {
 public:
  explicit ResourceTree(ByteView Directory) : Directory_(Directory) {}

  // The entries of the directory at Offset, or nothing when it does not
  // fit in the resource data.
  std::optional<std::vector<DirectoryEntry>> Entries(uint32_t Offset) const {
    const std::optional<uint16_t> Named = ReadU16(Directory_, uint64_t{Offset} + 12);
    const std::optional<uint16_t> Ids = ReadU16(Directory_, uint64_t{Offset} + 14);
    const uint64_t Count = Named && Ids ? uint64_t{*Named} + *Ids : 0;
    if (!Named || !Ids || !RangeFits(Directory_.size(), uint64_t{Offset} + kResourceDirectorySize,
                                     Count * kResourceEntrySize)) {
      return std::nullopt;
    }
    std::vector<DirectoryEntry> Result;
    for (uint64_t Index = 0; Index < Count; Index++) {
      const uint64_t At = uint64_t{Offset} + kResourceDirectorySize + Index * kResourceEntrySize;
      const uint32_t Name = *ReadU32(Directory_, At);
      const uint32_t Target = *ReadU32(Directory_, At + 4);
      Result.push_back(DirectoryEntry{(Name & kHighBit) != 0, Name & ~kHighBit, (Target & kHighBit) != 0,
                                      Target & ~kHighBit});
    }
    return Result;
  }

  // The entry's string name, or nothing when it is numeric or out of bounds.
  std::optional<std::u16string> Name(const DirectoryEntry &Entry) const {
    if (!Entry.NameIsString) {
      return std::nullopt;
    }
    const std::optional<uint16_t> Length = ReadU16(Directory_, Entry.NameField);
    if (!Length || !RangeFits(Directory_.size(), uint64_t{Entry.NameField} + 2, uint64_t{*Length} * 2)) {
      return std::nullopt;
    }
    std::u16string Text;
    for (uint32_t Index = 0; Index < *Length; Index++) {
      Text.push_back(static_cast<char16_t>(*ReadU16(Directory_, uint64_t{Entry.NameField} + 2 + Index * 2)));
    }
    return Text;
  }

  ByteView Bytes() const { return Directory_; }

 private:
  ByteView Directory_;
};

}  // namespace

ResourceLookup FindPeResource(ByteView File, std::u16string_view TypeName, uint16_t NameId, uint16_t Language) {
  ResourceLookup Lookup;
  auto Problem = [&](const std::string &Message) { Lookup.Problems.push_back(Message); };
  const std::string Wanted = "type \"" + Narrow(TypeName) + "\" / id " + std::to_string(NameId) + " / language " +
                             std::to_string(Language);

  // Headers.
  if (File.size() < 2 || File[0] != 'M' || File[1] != 'Z') {
    Problem("PE: no DOS header (\"MZ\") at the start of the file");
    return Lookup;
  }
  const std::optional<uint32_t> PeOffset = ReadU32(File, kDosLfanewOffset);
  if (!PeOffset) {
    Problem("PE: file ends inside the DOS header");
    return Lookup;
  }
  const std::optional<uint32_t> Signature = ReadU32(File, *PeOffset);
  if (!Signature || *Signature != 0x00004550) {
    Problem("PE: no \"PE\" signature at offset " + Hex(*PeOffset));
    return Lookup;
  }
  const uint64_t Coff = uint64_t{*PeOffset} + 4;
  const std::optional<uint16_t> Machine = ReadU16(File, Coff);
  const std::optional<uint16_t> SectionCount = ReadU16(File, Coff + 2);
  const std::optional<uint16_t> OptionalSize = ReadU16(File, Coff + 16);
  const uint64_t Optional = Coff + kCoffHeaderSize;
  const std::optional<uint16_t> Magic = ReadU16(File, Optional);
  if (!Machine || !SectionCount || !OptionalSize || !Magic) {
    Problem("PE: file ends inside the PE headers");
    return Lookup;
  }
  Lookup.Pe.Machine = *Machine;
  Lookup.Pe.Magic = *Magic;
  if (*Magic != kOptionalHeaderMagicPe32Plus) {
    Problem("PE: optional header magic " + Hex(*Magic) + ", expected " + Hex(kOptionalHeaderMagicPe32Plus) +
            " (PE32+)");
    return Lookup;
  }
  if (*Machine != kMachineX64) {
    Problem("PE: machine " + Hex(*Machine) + ", expected " + Hex(kMachineX64) + " (x64)");
  }
  const std::optional<uint16_t> Subsystem = ReadU16(File, Optional + kOptionalSubsystemOffset);
  const std::optional<uint32_t> RvaCount = ReadU32(File, Optional + kOptionalRvaCountOffset);
  if (!Subsystem || !RvaCount) {
    Problem("PE: file ends inside the optional header");
    return Lookup;
  }
  Lookup.Pe.Subsystem = *Subsystem;
  if (*Subsystem != kSubsystemEfiBootServiceDriver) {
    Problem("PE: subsystem " + std::to_string(*Subsystem) + ", expected " +
            std::to_string(kSubsystemEfiBootServiceDriver) + " (EFI boot-service driver)");
  }
  const uint64_t DirectoryEntryOffset = kOptionalDirectoriesOffset + kResourceDirectoryIndex * 8;
  if (*RvaCount <= kResourceDirectoryIndex || *OptionalSize < DirectoryEntryOffset + 8) {
    Problem("PE: the optional header has no resource data directory");
    return Lookup;
  }
  const std::optional<uint32_t> ResourceRva = ReadU32(File, Optional + DirectoryEntryOffset);
  const std::optional<uint32_t> ResourceSize = ReadU32(File, Optional + DirectoryEntryOffset + 4);
  if (!ResourceRva || !ResourceSize) {
    Problem("PE: file ends inside the optional header");
    return Lookup;
  }
  if (*ResourceRva == 0 || *ResourceSize == 0) {
    Problem("PE: no resource section (the resource data directory is empty)");
    return Lookup;
  }

  std::vector<Section> Sections;
  const uint64_t SectionTable = Optional + *OptionalSize;
  for (uint32_t Index = 0; Index < *SectionCount; Index++) {
    const uint64_t At = SectionTable + uint64_t{Index} * kSectionHeaderSize;
    const std::optional<uint32_t> VirtualSize = ReadU32(File, At + 8);
    const std::optional<uint32_t> VirtualAddress = ReadU32(File, At + 12);
    const std::optional<uint32_t> RawSize = ReadU32(File, At + 16);
    const std::optional<uint32_t> RawPointer = ReadU32(File, At + 20);
    if (!VirtualSize || !VirtualAddress || !RawSize || !RawPointer) {
      Problem("PE: file ends inside the section table");
      return Lookup;
    }
    const uint32_t Mapped = *VirtualSize != 0 && *VirtualSize < *RawSize ? *VirtualSize : *RawSize;
    Sections.push_back(Section{*VirtualAddress, Mapped, *RawPointer});
  }

  // The resource tree: type, then name, then language.
  const std::optional<ByteView> DirectoryBytes = MapRva(File, Sections, *ResourceRva, *ResourceSize, nullptr);
  if (!DirectoryBytes) {
    Problem("PE: resource data directory " + Hex(*ResourceRva) + "+" + Hex(*ResourceSize) +
            " does not lie within one section's data in the file");
    return Lookup;
  }
  const ResourceTree Tree(*DirectoryBytes);
  const std::optional<std::vector<DirectoryEntry>> Types = Tree.Entries(0);
  if (!Types) {
    Problem("resource: the root directory does not fit in the resource data");
    return Lookup;
  }
  std::optional<DirectoryEntry> TypeEntry;
  for (const DirectoryEntry &Entry : *Types) {
    if (Tree.Name(Entry) == std::u16string(TypeName)) {
      if (TypeEntry) {
        Problem("resource: type \"" + Narrow(TypeName) + "\" appears twice");
        return Lookup;
      }
      TypeEntry = Entry;
    }
  }
  if (!TypeEntry) {
    Problem("resource: no resource of type \"" + Narrow(TypeName) + "\" (a string type name)");
    return Lookup;
  }

  const DirectoryEntry *Current = &*TypeEntry;
  std::optional<std::vector<DirectoryEntry>> Level;
  const struct {
    const char *What;
    uint16_t Id;
  } Steps[] = {{"id", NameId}, {"language", Language}};
  for (const auto &Step : Steps) {
    Level = Current->IsDirectory ? Tree.Entries(Current->TargetOffset) : std::nullopt;
    if (!Level) {
      Problem(std::string("resource: the ") + Step.What + " directory for " + Wanted +
              " is missing or does not fit in the resource data");
      return Lookup;
    }
    const DirectoryEntry *Match = nullptr;
    for (const DirectoryEntry &Entry : *Level) {
      if (!Entry.NameIsString && Entry.NameField == Step.Id) {
        Match = &Entry;
      }
    }
    if (Match == nullptr) {
      Problem(std::string("resource: no ") + Step.What + " " + std::to_string(Step.Id) + " for " + Wanted);
      return Lookup;
    }
    if (Level->size() != 1) {
      Problem(std::string("resource: ") + std::to_string(Level->size()) + " entries where only " + Step.What + " " +
              std::to_string(Step.Id) + " belongs; a loader may pick any of them");
    }
    Current = Match;
  }
  if (Current->IsDirectory) {
    Problem("resource: " + Wanted + " is a directory, not data");
    return Lookup;
  }

  // The data entry: RVA, size, code page, reserved.
  const std::optional<ByteView> DataEntry = SubView(Tree.Bytes(), Current->TargetOffset, kResourceDataEntrySize);
  if (!DataEntry) {
    Problem("resource: the data entry for " + Wanted + " does not fit in the resource data");
    return Lookup;
  }
  Lookup.DataRva = *ReadU32(*DataEntry, 0);
  const uint32_t DataSize = *ReadU32(*DataEntry, 4);
  Lookup.CodePage = *ReadU32(*DataEntry, 8);
  const std::optional<ByteView> Data = MapRva(File, Sections, Lookup.DataRva, DataSize, &Lookup.FileOffset);
  if (!Data) {
    Problem("resource: data of " + Wanted + " at RVA " + Hex(Lookup.DataRva) + ", " + std::to_string(DataSize) +
            " bytes, does not lie within one section's data in the file");
    return Lookup;
  }
  Lookup.Data = *Data;
  Lookup.Found = true;
  return Lookup;
}

}  // namespace imagepkg
