// The three output channels of this build, all reporting themselves absent,
// and the serial and POST-port writers behind them.
#include "platform/DiagChannels.h"

#include "platform/Cpu.h"
#include "platform/MemoryLog.h"

BOOLEAN ChannelAbsent() { return FALSE; }

void ChannelNoInit() {}

namespace {

constexpr DIAG_CHANNEL kPostPortChannel = {ChannelAbsent, ChannelNoInit, ChannelAbsent, PostPortWrite};
constexpr DIAG_CHANNEL kSerialChannel = {ChannelAbsent, ChannelNoInit, ChannelAbsent, SerialWrite};
constexpr DIAG_CHANNEL kMemoryLogChannel = {ChannelAbsent, MemoryLogInitialize, ChannelAbsent, MemoryLogWrite};

}  // namespace

constinit const DIAG_CHANNEL *const gDiagChannels[4] = {&kPostPortChannel, &kSerialChannel, &kMemoryLogChannel,
                                                        nullptr};

BOOLEAN AnyChannelPresent(const DIAG_CHANNEL *const *Channels) {
  BOOLEAN Present = FALSE;
  for (; *Channels != nullptr; Channels++) {
    if ((*Channels)->IsPresent()) {
      Present = TRUE;
    }
  }
  return Present;
}

void InitializePresentChannels(const DIAG_CHANNEL *const *Channels) {
  if (!AnyChannelPresent(Channels)) {
    return;
  }
  for (; *Channels != nullptr; Channels++) {
    if ((*Channels)->IsPresent()) {
      (*Channels)->Initialize();
    }
  }
}

namespace {

constexpr UINT16 kSerialData = 0x3F8;
constexpr UINT16 kSerialLineStatus = 0x3FD;
// Transmit holding register and transmitter both empty.
constexpr UINT8 kSerialReady = 0x60;
constexpr UINT32 kSerialStatusReads = 2000;

// TRUE when the port reported ready before the budget ran out; readiness
// seen on the last read of the budget counts as too late.
BOOLEAN SerialWaitReady() {
  UINT32 Count = kSerialStatusReads;
  for (;;) {
    const UINT8 Status = IoRead8(kSerialLineStatus);
    Count--;
    if ((Status & kSerialReady) == kSerialReady || Count == 0) {
      return Count != 0;
    }
  }
}

constexpr UINT16 kPostPort = 0x80;
constexpr UINT32 kPostStartMarker = 0x5F535452;  // "_STR"
constexpr UINT32 kPostEndMarker = 0x5F454E44;    // "_END"

}  // namespace

void SerialWrite(const UINT8 *Data, UINTN Length) {
  for (UINTN Index = 0; Index < Length; Index++) {
    if (SerialWaitReady()) {
      IoWrite8(kSerialData, Data[Index]);
    }
  }
}

void PostPortWrite(const UINT8 *Data, UINTN Length) {
  IoWrite32(kPostPort, kPostStartMarker);
  for (UINTN Index = 0; Index < Length; Index++) {
    IoWrite8(kPostPort, Data[Index]);
  }
  IoWrite32(kPostPort, kPostEndMarker);
}
