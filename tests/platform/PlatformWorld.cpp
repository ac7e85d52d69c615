#include "platform/PlatformWorld.h"

#include <cstdio>

#include "fakes/TraceFormat.h"

namespace {

// The values behind the PCD tokens; each read is traced with its answer.
const std::map<UINTN, UINT32> kPcdValues = {
    {1055, 1}, {1427, 0}, {1346, 0x5A}, {1430, 0x11223344}, {1428, 1}, {1355, 0x55667788}, {1354, 0x99AABBCC},
    {1429, 0x7E},
};

UINT32 PcdRead(const char *Operation, UINTN Token) {
  const auto Found = kPcdValues.find(Token);
  const UINT32 Value = Found == kPcdValues.end() ? 0 : Found->second;
  FakeBootServices::Active().Record(FormatCall(Operation, Token) + " -> " + FormatArgument(Value));
  return Value;
}

UINT8 EFIAPI PcdGet8(UINTN Token) { return static_cast<UINT8>(PcdRead("Get8", Token)); }
UINT32 EFIAPI PcdGet32(UINTN Token) { return PcdRead("Get32", Token); }
BOOLEAN EFIAPI PcdGetBool(UINTN Token) { return static_cast<BOOLEAN>(PcdRead("GetBool", Token)); }

void Append(std::vector<UINT8> &Bytes, const void *Data, size_t Length) {
  const auto *From = static_cast<const UINT8 *>(Data);
  Bytes.insert(Bytes.end(), From, From + Length);
}

}  // namespace

HobListBuilder &HobListBuilder::Heap(const HeapHobSpec &Spec) {
  HEAP_HOB Hob{};
  const size_t Length = (sizeof(HEAP_HOB) + Spec.Payload.size() + 7) & ~size_t{7};
  Hob.Header.Header = {Spec.HobType, static_cast<UINT16>(Length), 0};
  Hob.Header.Name = gHeapRecordHobGuid;
  Hob.Descriptor = {Spec.Signature, 0x01020304, static_cast<UINT32>(Spec.Payload.size() + Spec.SizeOverstatedBy), Spec.PoolKind, Spec.Active,
                    {0x0B, 0x0A}};
  Append(Bytes_, &Hob, sizeof(Hob));
  Append(Bytes_, Spec.Payload.data(), Spec.Payload.size());
  Bytes_.resize(Bytes_.size() + Length - sizeof(Hob) - Spec.Payload.size(), 0);
  return *this;
}

HobListBuilder &HobListBuilder::OtherGuid() {
  EFI_HOB_GUID_TYPE Hob{{EFI_HOB_TYPE_GUID_EXTENSION, sizeof(EFI_HOB_GUID_TYPE) + 16, 0}, gEfiHobListGuid};
  Append(Bytes_, &Hob, sizeof(Hob));
  Bytes_.resize(Bytes_.size() + 16, 0x48);
  return *this;
}

HobListBuilder &HobListBuilder::Raw(UINT16 Type, UINT16 Length) {
  const EFI_HOB_GENERIC_HEADER Header{Type, Length, 0};
  Append(Bytes_, &Header, sizeof(Header));
  Bytes_.resize(Bytes_.size() + (Length > sizeof(Header) ? Length - sizeof(Header) : 0), 0);
  return *this;
}

std::vector<UINT64> HobListBuilder::End() {
  Raw(EFI_HOB_TYPE_END_OF_HOB_LIST, sizeof(EFI_HOB_GENERIC_HEADER));
  std::vector<UINT64> Aligned((Bytes_.size() + 7) / 8);
  memcpy(Aligned.data(), Bytes_.data(), Bytes_.size());
  return Aligned;
}

PlatformWorld::PlatformWorld() {
  FakeBootServices::NameGuid(gPcdProtocolGuid, "Pcd");
  FakeBootServices::NameGuid(gEfiPcdProtocolGuid, "PiPcd");
  FakeBootServices::NameGuid(gHeapRecordListProtocolGuid, "HeapRecordList");
  TracePointerNames().Name(&mHeapRecordList, "mHeapRecordList");
  Pcd.Get8 = PcdGet8;
  Pcd.Get32 = PcdGet32;
  Pcd.GetBool = PcdGetBool;
  // A probe that answers lets a fatal halt return, so set-up goes on.
  Machine.ProbeSi = 1;
  Boot.SystemTable.NumberOfTableEntries = 0;
}

PlatformWorld::~PlatformWorld() = default;

void PlatformWorld::OfferPcdProtocols(bool Native, bool Pi) {
  if (Native) {
    Boot.InstallOnNewHandle(gPcdProtocolGuid, &Pcd, "PcdHandle");
  }
  if (Pi) {
    Boot.InstallOnNewHandle(gEfiPcdProtocolGuid, &PiPcd, "PiPcdHandle");
  }
}

void PlatformWorld::PublishHobList(std::vector<UINT64> List) {
  HobList = std::move(List);
  const EFI_GUID Unrelated = {0x12345678, 0x1234, 0x5678, {1, 2, 3, 4, 5, 6, 7, 8}};
  Configuration = {{Unrelated, nullptr}, {gEfiHobListGuid, HobList.data()}};
  Boot.SystemTable.NumberOfTableEntries = Configuration.size();
  Boot.SystemTable.ConfigurationTable = Configuration.data();
}

std::vector<std::string> DescribeHeapRecords() {
  std::vector<std::string> Lines;
  for (LIST_ENTRY *Link = gHeapRecordListHead->ForwardLink; Link != gHeapRecordListHead; Link = Link->ForwardLink) {
    const auto *Record = reinterpret_cast<const HEAP_RECORD *>(Link);
    const HEAP_DESCRIPTOR &Descriptor = Record->Descriptor;
    char Line[96];
    snprintf(Line, sizeof(Line), "kind %u size %u extra 0x%08X 0x%02X%02X payload ", Descriptor.PoolKind,
             Descriptor.Size, Descriptor.Unread1, Descriptor.Unread2[1], Descriptor.Unread2[0]);
    std::string Text = Line;
    const auto *Payload = reinterpret_cast<const UINT8 *>(Record + 1);
    for (UINT32 Index = 0; Index < Descriptor.Size; Index++) {
      snprintf(Line, sizeof(Line), "%02X", Payload[Index]);
      Text += Line;
    }
    Lines.push_back(Text);
  }
  return Lines;
}
