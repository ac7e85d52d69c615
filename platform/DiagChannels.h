// The diagnostic output channels and the list that set-up goes through.
#pragma once

#include "platform/uefi/UefiBase.h"

// An output channel. Set-up initialises it only when IsPresent answers TRUE;
// a writer calls Write only after CanWrite answered TRUE.
typedef struct {
  BOOLEAN (*IsPresent)();
  void (*Initialize)();
  BOOLEAN (*CanWrite)();
  void (*Write)(const UINT8 *Data, UINTN Length);
} DIAG_CHANNEL;
static_assert(sizeof(DIAG_CHANNEL) == 32);
static_assert(offsetof(DIAG_CHANNEL, IsPresent) == 0);
static_assert(offsetof(DIAG_CHANNEL, Initialize) == 8);
static_assert(offsetof(DIAG_CHANNEL, CanWrite) == 16);
static_assert(offsetof(DIAG_CHANNEL, Write) == 24);

// POST port, serial, memory log, then null.
extern const DIAG_CHANNEL *const gDiagChannels[4];

// Asks every channel, without stopping at the first that answers TRUE.
BOOLEAN AnyChannelPresent(const DIAG_CHANNEL *const *Channels);
// Initialises each channel that says it is present, if any does.
void InitializePresentChannels(const DIAG_CHANNEL *const *Channels);

// Every channel of this build reports itself absent and unwritable.
BOOLEAN ChannelAbsent();
// The serial and POST ports are used as earlier firmware left them.
void ChannelNoInit();

// Each byte waits for the transmitter on its own budget of status reads;
// a byte that never sees it ready is dropped.
void SerialWrite(const UINT8 *Data, UINTN Length);
// The bytes framed by the "_STR" and "_END" markers on the POST port.
void PostPortWrite(const UINT8 *Data, UINTN Length);
