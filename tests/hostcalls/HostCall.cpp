#include "tests/hostcalls/HostCall.h"

namespace {

struct SLOT_NAME {
  UINT8 Table;
  UINT8 Slot;
  const char *Name;
};

constexpr SLOT_NAME kSlotNames[] = {
#define HOST_UI_SLOT(Number, Name, Type) {kHostTableUi, Number, #Name},
#include "host/HostUiSlots.def"
#undef HOST_UI_SLOT
#define HOST_SERVICES_SLOT(Number, Name, Type) {kHostTableServices, Number, #Name},
#include "host/HostServicesSlots.def"
#undef HOST_SERVICES_SLOT
};

// A bounded text buffer that always stays terminated.
class Writer {
 public:
  Writer(CHAR8 *Buffer, UINTN Capacity) : Buffer_(Buffer), Capacity_(Capacity) { Terminate(); }

  void Char(CHAR8 Character) {
    if (Length_ + 1 < Capacity_) {
      Buffer_[Length_++] = Character;
    }
    Terminate();
  }
  void Text(const char *Text) {
    while (*Text != 0) {
      Char(*Text++);
    }
  }
  void Decimal(UINT64 Value) {
    CHAR8 Digits[20];
    UINTN Count = 0;
    do {
      Digits[Count++] = static_cast<CHAR8>('0' + Value % 10);
      Value /= 10;
    } while (Value != 0);
    while (Count > 0) {
      Char(Digits[--Count]);
    }
  }
  void Signed(INT64 Value) {
    if (Value < 0) {
      Char('-');
      Decimal(0 - static_cast<UINT64>(Value));
    } else {
      Decimal(static_cast<UINT64>(Value));
    }
  }
  void Hex(UINT64 Value) {
    Text("0x");
    HexDigits(Value, 1);
  }
  void HexDigits(UINT64 Value, UINTN MinimumDigits) {
    CHAR8 Digits[16];
    UINTN Count = 0;
    do {
      Digits[Count++] = "0123456789ABCDEF"[Value & 0xF];
      Value >>= 4;
    } while (Value != 0 || Count < MinimumDigits);
    while (Count > 0) {
      Char(Digits[--Count]);
    }
  }
  CHAR8 *Tail() { return Buffer_ + Length_; }
  UINTN Room() const { return Capacity_ - Length_; }
  void Advance() {
    while (Length_ + 1 < Capacity_ && Buffer_[Length_] != 0) {
      Length_++;
    }
    Terminate();
  }
  UINTN Length() const { return Length_; }
  void Terminate() {
    if (Capacity_ != 0) {
      Buffer_[Length_ < Capacity_ ? Length_ : Capacity_ - 1] = 0;
    }
  }

 private:
  CHAR8 *Buffer_;
  UINTN Capacity_;
  UINTN Length_ = 0;
};

struct Printer {
  Writer &Out;
  HOST_CALL_NAMER Namer;
  VOID *Context;

  bool Named(UINT64 Value) {
    if (Namer == nullptr || Value == 0 || Out.Room() < 2) {
      return false;
    }
    if (!Namer(Context, Value, Out.Tail(), Out.Room())) {
      Out.Terminate();  // drop whatever the namer left
      return false;
    }
    Out.Advance();
    return true;
  }
  // Small numbers in decimal, large ones (colours, codes, masks) in hex.
  void Number(UINT64 Value, UINT64 DecimalBelow = 0x10000) {
    if (Value < DecimalBelow) {
      Out.Decimal(Value);
    } else {
      Out.Hex(Value);
    }
  }
  void Pointer(UINT64 Value) {
    if (Value == 0) {
      Out.Text("null");
    } else if (!Named(Value)) {
      Out.Text("ptr");  // an address would make traces differ from run to run
    }
  }
  void Handle(UINT64 Value) {
    if (!Named(Value)) {
      Number(Value);
    }
  }
  void Brush(BRUSH_ID Brush) {
    if (Brush == BRUSH_KEEP) {
      Out.Text("keep");
    } else if (Brush == BRUSH_NONE) {
      Out.Char('0');
    } else {
      Out.Hex(Brush);
    }
  }
  void StateBrushes(const STATE_BRUSHES &Brushes) {
    Out.Char('[');
    for (UINTN Index = 0; Index < 4; Index++) {
      Out.Text(Index == 0 ? "" : ", ");
      Brush(Brushes.Brush[Index]);
    }
    Out.Char(']');
  }
  // Descriptor values are brushes, colours or small flags.
  void Decoration(const DECORATION_DESC &Descriptor) {
    Handle(Descriptor.Object);
    Out.Text(", ");
    Number(Descriptor.Kind);
    Out.Text(", [");
    for (UINTN Index = 0; Index < DECORATION_VALUE_COUNT; Index++) {
      Out.Text(Index == 0 ? "" : ", ");
      Number(Descriptor.Value[Index], 0x1000);
    }
    Out.Char(']');
  }
  void Area(const OBJECT_AREA &Area) {
    Out.Text("{Horizontal ");
    Out.Signed(Area.Horizontal);
    Out.Text(", Vertical ");
    Out.Signed(Area.Vertical);
    Out.Char('}');
  }
  void Rect(const HOST_RECT &Rect) {
    const INT32 Edges[4] = {Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
    Out.Char('{');
    for (UINTN Index = 0; Index < 4; Index++) {
      Out.Text(Index == 0 ? "" : ", ");
      Out.Signed(Edges[Index]);
    }
    Out.Char('}');
  }
  void Text(const CHAR16 *Text) {
    Out.Char('"');
    UINTN Index = 0;
    for (; Index < HOST_CALL_TEXT_LENGTH && Text[Index] != 0; Index++) {
      const CHAR16 Character = Text[Index];
      if (Character == u'"' || Character == u'\\') {
        Out.Char('\\');
        Out.Char(static_cast<CHAR8>(Character));
      } else if (Character >= 0x20 && Character < 0x7F) {
        Out.Char(static_cast<CHAR8>(Character));
      } else {
        Out.Text("\\u");
        Out.HexDigits(Character, 4);
      }
    }
    Out.Char('"');
    if (Index == HOST_CALL_TEXT_LENGTH) {
      Out.Text("...");
    }
  }

  template <typename Record>
  const Record &As(const HOST_CALL &Call) {
    return *reinterpret_cast<const Record *>(Call.Record);
  }

  void Value(const HOST_CALL &Call, UINT8 Kind, UINT64 Value) {
    const bool Decoded = Call.RecordTaken && Value != 0;
    switch (Kind) {
      case kHostValueSigned: Out.Signed(static_cast<INT64>(Value)); return;
      case kHostValueHex: Out.Hex(Value); return;
      case kHostValueNumber: Handle(Value); return;
      case kHostValueStateBrushes: return Decoded ? StateBrushes(As<STATE_BRUSHES>(Call)) : Pointer(Value);
      case kHostValueDecoration: return Decoded ? Decoration(As<DECORATION_DESC>(Call)) : Pointer(Value);
      case kHostValueObjectArea: return Decoded ? Area(As<OBJECT_AREA>(Call)) : Pointer(Value);
      case kHostValueRect: return Decoded ? Rect(As<HOST_RECT>(Call)) : Pointer(Value);
      case kHostValueText: return Decoded ? Text(reinterpret_cast<const CHAR16 *>(Call.Record)) : Pointer(Value);
      default: Pointer(Value); return;
    }
  }
};

void CopyBytes(VOID *Destination, const VOID *Source, UINTN Length) {
  for (UINTN Index = 0; Index < Length; Index++) {
    static_cast<UINT8 *>(Destination)[Index] = static_cast<const UINT8 *>(Source)[Index];
  }
}

}  // namespace

const char *HostSlotName(UINT8 Table, UINT8 Slot) {
  for (const SLOT_NAME &Entry : kSlotNames) {
    if (Entry.Table == Table && Entry.Slot == Slot) {
      return Entry.Name;
    }
  }
  return nullptr;
}

BOOLEAN IsOutputArgument(UINT8 Table, UINT8 Slot, UINTN Index) {
  if (Table == kHostTableUi) {
    return (Slot == (UINT8)HostUiSlot::GetObjectRect || Slot == (UINT8)HostUiSlot::CopyText) && Index == 1;
  }
  return Slot == (UINT8)HostServicesSlot::SetRect && Index == 0;
}

void host_call::Store(HOST_CALL *Call, UINTN Index, const ARGUMENT &Argument) {
  const bool IsRecord = Argument.Kind >= kHostValueStateBrushes;
  const bool IsOutput = IsOutputArgument(Call->Table, Call->Slot, Index);
  Call->Kind[Index] = IsOutput ? kHostValuePointer : Argument.Kind;
  Call->Argument[Index] = Argument.Value;
  if (!IsRecord || IsOutput || Argument.Record == nullptr || Call->RecordTaken) {
    return;
  }
  Call->RecordTaken = TRUE;
  if (Argument.Kind == kHostValueText) {
    const CHAR16 *Text = static_cast<const CHAR16 *>(Argument.Record);
    CHAR16 *Copy = reinterpret_cast<CHAR16 *>(Call->Record);
    for (UINTN Character = 0; Character < HOST_CALL_TEXT_LENGTH && (Character == 0 || Text[Character - 1] != 0); Character++) {
      Copy[Character] = Text[Character];
    }
    return;
  }
  CopyBytes(Call->Record, Argument.Record, Argument.RecordBytes);
}

UINTN FormatHostCall(const HOST_CALL *Call, HOST_CALL_NAMER Namer, VOID *Context, CHAR8 *Buffer, UINTN Capacity) {
  Writer Out(Buffer, Capacity);
  Printer Print{Out, Namer, Context};
  if (const char *Name = HostSlotName(Call->Table, Call->Slot)) {
    Out.Text(Name);
  } else {
    Out.Text(Call->Table == kHostTableUi ? "UnlistedUiSlot" : "UnlistedServicesSlot");
    Out.Decimal(Call->Slot);
  }
  Out.Char('(');
  for (UINTN Index = 0; Index < Call->ArgumentCount; Index++) {
    Out.Text(Index == 0 ? "" : ", ");
    Print.Value(*Call, Call->Kind[Index], Call->Argument[Index]);
  }
  Out.Char(')');
  if (Call->Returned) {
    Out.Text(" -> ");
    Print.Value(*Call, Call->ResultKind, Call->Result);
  }
  return Out.Length();
}
