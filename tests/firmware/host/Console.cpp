// The host writes to COM1 itself instead of through ConOut: the firmware's
// serial terminal would wrap lines and add cursor and colour sequences,
// while plain port writes give one clean line per check in the log file.
#include "tests/firmware/host/Console.h"

namespace {

constexpr UINT16 kSerialData = 0x3F8;
constexpr UINT16 kSerialLineStatus = 0x3FD;
constexpr UINT8 kTransmitterEmpty = 0x20;
// The emulator's debug-exit device: writing V ends it with status 2V + 1.
constexpr UINT16 kDebugExitPort = 0xF4;
constexpr UINT8 kDebugExitPassed = 0x10;  // status 33
constexpr UINT8 kDebugExitFailed = 0x11;  // status 35

inline void OutByte(UINT16 Port, UINT8 Value) { __asm__ volatile("outb %0, %1" : : "a"(Value), "Nd"(Port)); }

inline UINT8 InByte(UINT16 Port) {
  UINT8 Value;
  __asm__ volatile("inb %1, %0" : "=a"(Value) : "Nd"(Port));
  return Value;
}

void SerialPut(char Character) {
  // Bounded, so that a machine without the port cannot hang the host.
  for (UINTN Spin = 0; Spin < 1000000 && (InByte(kSerialLineStatus) & kTransmitterEmpty) == 0; Spin++) {
    __asm__ volatile("pause");
  }
  OutByte(kSerialData, (UINT8)Character);
}

struct Sink {
  char *Buffer;
  UINTN Capacity;
  UINTN Length;
  void Put(char Character) {
    if (Length + 1 < Capacity) {
      Buffer[Length] = Character;
    }
    Length++;
  }
};

void PutNumber(Sink &Out, UINT64 Value, UINT32 Base, BOOLEAN Upper, BOOLEAN Negative, UINT32 Width, char Pad) {
  char Digits[24];
  UINTN Count = 0;
  const char *Alphabet = Upper ? "0123456789ABCDEF" : "0123456789abcdef";
  do {
    Digits[Count++] = Alphabet[Value % Base];
    Value /= Base;
  } while (Value != 0);
  UINTN Total = Count + (Negative ? 1 : 0);
  if (Negative && Pad == '0') {
    Out.Put('-');
  }
  for (; Total < Width; Total++) {
    Out.Put(Pad);
  }
  if (Negative && Pad != '0') {
    Out.Put('-');
  }
  while (Count > 0) {
    Out.Put(Digits[--Count]);
  }
}

}  // namespace

void ConsoleWrite(const char *Text) {
  for (; *Text != '\0'; Text++) {
    if (*Text == '\n') {
      SerialPut('\r');
    }
    SerialPut(*Text);
  }
}

UINTN FormatText(char *Buffer, UINTN Capacity, const char *Format, __builtin_va_list Arguments) {
  Sink Out{Buffer, Capacity, 0};
  for (const char *P = Format; *P != '\0'; P++) {
    if (*P != '%') {
      Out.Put(*P);
      continue;
    }
    P++;
    char Pad = ' ';
    if (*P == '0') {
      Pad = '0';
      P++;
    }
    UINT32 Width = 0;
    while (*P >= '0' && *P <= '9') {
      Width = Width * 10 + (UINT32)(*P - '0');
      P++;
    }
    UINTN LongCount = 0;
    while (*P == 'l') {
      LongCount++;
      P++;
    }
    const BOOLEAN Wide = LongCount >= 2;
    switch (*P) {
      case 'd': {
        const INT64 Value = Wide ? __builtin_va_arg(Arguments, INT64) : __builtin_va_arg(Arguments, INT32);
        const UINT64 Magnitude = Value < 0 ? (UINT64)0 - (UINT64)Value : (UINT64)Value;
        PutNumber(Out, Magnitude, 10, FALSE, Value < 0, Width, Pad);
        break;
      }
      case 'u':
      case 'x':
      case 'X': {
        const UINT64 Value = Wide ? __builtin_va_arg(Arguments, UINT64) : __builtin_va_arg(Arguments, UINT32);
        PutNumber(Out, Value, *P == 'u' ? 10 : 16, *P == 'X', FALSE, Width, Pad);
        break;
      }
      case 's': {
        const char *Text = __builtin_va_arg(Arguments, const char *);
        for (Text = Text != nullptr ? Text : "(null)"; *Text != '\0'; Text++) {
          Out.Put(*Text);
        }
        break;
      }
      case 'c':
        Out.Put((char)__builtin_va_arg(Arguments, int));
        break;
      case '%':
        Out.Put('%');
        break;
      default:
        Out.Put('%');
        if (*P == '\0') {
          P--;
        } else {
          Out.Put(*P);
        }
        break;
    }
  }
  if (Capacity > 0) {
    Buffer[Out.Length < Capacity ? Out.Length : Capacity - 1] = '\0';
  }
  return Out.Length;
}

UINTN FormatTextTo(char *Buffer, UINTN Capacity, const char *Format, ...) {
  __builtin_va_list Arguments;
  __builtin_va_start(Arguments, Format);
  const UINTN Length = FormatText(Buffer, Capacity, Format, Arguments);
  __builtin_va_end(Arguments);
  return Length;
}

void NarrowText(const CHAR16 *Text, UINTN MaxChars, char *Buffer, UINTN Capacity) {
  UINTN Length = 0;
  for (UINTN Index = 0; Index < MaxChars && Text[Index] != 0 && Length + 1 < Capacity; Index++) {
    const CHAR16 Character = Text[Index];
    Buffer[Length++] = (Character >= 0x20 && Character < 0x7F) ? (char)Character : '?';
  }
  if (Capacity > 0) {
    Buffer[Length] = '\0';
  }
}

void ExitEmulator(BOOLEAN Passed) { OutByte(kDebugExitPort, Passed ? kDebugExitPassed : kDebugExitFailed); }
