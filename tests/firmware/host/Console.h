// Output of the reference host: lines written straight to the first serial
// port, and the verdict handed to the emulator's exit device.
#pragma once

#include "platform/uefi/UefiBase.h"

// Writes Text to the serial port as it is.
void ConsoleWrite(const char *Text);

// Formats like printf into Buffer (always terminated). Understands %d %u %x
// %X (32-bit), %lld %llu %llx %llX (64-bit), %s, %c, %%, a 0 flag and a width.
UINTN FormatText(char *Buffer, UINTN Capacity, const char *Format, __builtin_va_list Arguments);
UINTN FormatTextTo(char *Buffer, UINTN Capacity, const char *Format, ...)
    __attribute__((format(printf, 3, 4)));

// Copies a CHAR16 name into ASCII, '?' for anything outside printable ASCII.
void NarrowText(const CHAR16 *Text, UINTN MaxChars, char *Buffer, UINTN Capacity);

// Ends the emulator with the host's verdict through its debug-exit device.
// Returns only when there is no such device.
void ExitEmulator(BOOLEAN Passed);
