#include "tools/imagepkg/ResFile.h"

namespace imagepkg {

namespace {

// Entry header: DataSize, HeaderSize, type, name (each a UTF-16 string or
// 0xFFFF plus a numeric id), padding to 4, then DataVersion, MemoryFlags,
// LanguageId, Version and Characteristics. Data follows, padded to 4.
constexpr uint16_t kMemoryFlagsMoveablePureDiscardable = 0x1030;

void PadTo4(Bytes &Out) {
  while (Out.size() % 4 != 0) {
    Out.push_back(0);
  }
}

void AppendEntry(Bytes &Out, ByteView TypeAndName, uint16_t MemoryFlags, uint16_t Language, ByteView Data) {
  const size_t Start = Out.size();
  AppendU32(Out, static_cast<uint32_t>(Data.size()));
  AppendU32(Out, 0);  // header size, filled in below
  AppendBytes(Out, TypeAndName);
  PadTo4(Out);
  AppendU32(Out, 0);  // DataVersion
  AppendU16(Out, MemoryFlags);
  AppendU16(Out, Language);
  AppendU32(Out, 0);  // Version
  AppendU32(Out, 0);  // Characteristics
  PutU32(Out, Start + 4, static_cast<uint32_t>(Out.size() - Start));
  AppendBytes(Out, Data);
  PadTo4(Out);
}

}  // namespace

Bytes BuildResFile(std::u16string_view TypeName, uint16_t NameId, uint16_t Language, ByteView Data) {
  Bytes Out;
  // The empty entry: type 0 and name 0, both numeric.
  const Bytes EmptyTypeAndName = {0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00};
  AppendEntry(Out, EmptyTypeAndName, 0, 0, {});

  Bytes TypeAndName;
  for (const char16_t Character : TypeName) {
    AppendU16(TypeAndName, Character);
  }
  AppendU16(TypeAndName, 0);
  AppendU16(TypeAndName, 0xFFFF);
  AppendU16(TypeAndName, NameId);
  AppendEntry(Out, TypeAndName, kMemoryFlagsMoveablePureDiscardable, Language, Data);
  return Out;
}

}  // namespace imagepkg
