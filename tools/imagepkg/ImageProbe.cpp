#include "tools/imagepkg/ImageProbe.h"

#include <png.h>
#include <setjmp.h>
#include <stdio.h>
#include <string.h>

#include <jpeglib.h>

#include <memory>

namespace imagepkg {

namespace {

// ---- PNG ------------------------------------------------------------------
//
// libpng reports errors by longjmp. Everything that must survive the jump
// lives in this plain record, reached through a pointer.
struct PngSource {
  const uint8_t *Data;
  size_t Size;
  size_t Position;
  png_bytep Row;
  char Error[256];
  char Warning[256];
};

void PngOnError(png_structp Png, png_const_charp Message) {
  PngSource *Source = static_cast<PngSource *>(png_get_error_ptr(Png));
  snprintf(Source->Error, sizeof(Source->Error), "%s", Message);
  png_longjmp(Png, 1);
}

void PngOnWarning(png_structp Png, png_const_charp Message) {
  PngSource *Source = static_cast<PngSource *>(png_get_error_ptr(Png));
  if (Source->Warning[0] == '\0') {
    snprintf(Source->Warning, sizeof(Source->Warning), "%s", Message);
  }
}

void PngOnRead(png_structp Png, png_bytep Out, size_t Length) {
  PngSource *Source = static_cast<PngSource *>(png_get_io_ptr(Png));
  if (Length > Source->Size - Source->Position) {
    png_error(Png, "file ends early");
  }
  memcpy(Out, Source->Data + Source->Position, Length);
  Source->Position += Length;
}

// Decodes every row of every pass into one reused row buffer: the pixels
// are not kept, but each byte of compressed data is inflated, unfiltered
// and CRC-checked.
bool DecodePng(PngSource *Source, ImageFacts *Facts) {
  png_structp Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, Source, PngOnError, PngOnWarning);
  if (Png == nullptr) {
    snprintf(Source->Error, sizeof(Source->Error), "out of memory");
    return false;
  }
  png_infop Info = png_create_info_struct(Png);
  if (Info == nullptr) {
    png_destroy_read_struct(&Png, nullptr, nullptr);
    snprintf(Source->Error, sizeof(Source->Error), "out of memory");
    return false;
  }
  if (setjmp(png_jmpbuf(Png))) {
    png_free(Png, Source->Row);
    Source->Row = nullptr;
    png_destroy_read_struct(&Png, &Info, nullptr);
    return false;
  }
  png_set_read_fn(Png, Source, PngOnRead);
  png_set_user_limits(Png, kMaxImageDimension, kMaxImageDimension);
  png_set_crc_action(Png, PNG_CRC_ERROR_QUIT, PNG_CRC_ERROR_QUIT);
  png_set_benign_errors(Png, 0);

  png_read_info(Png, Info);
  png_uint_32 Width = 0;
  png_uint_32 Height = 0;
  int BitDepth = 0;
  int ColorType = 0;
  int Interlace = 0;
  png_get_IHDR(Png, Info, &Width, &Height, &BitDepth, &ColorType, &Interlace, nullptr, nullptr);
  Facts->Width = Width;
  Facts->Height = Height;
  Facts->BitDepth = BitDepth;
  Facts->ColorType = ColorType;
  Facts->Interlaced = Interlace == PNG_INTERLACE_ADAM7;

  const int Passes = png_set_interlace_handling(Png);
  png_read_update_info(Png, Info);
  Source->Row = static_cast<png_bytep>(png_malloc(Png, png_get_rowbytes(Png, Info)));
  for (int Pass = 0; Pass < Passes; Pass++) {
    for (png_uint_32 Y = 0; Y < Height; Y++) {
      png_read_row(Png, Source->Row, nullptr);
    }
  }
  png_read_end(Png, nullptr);
  png_free(Png, Source->Row);
  Source->Row = nullptr;
  png_destroy_read_struct(&Png, &Info, nullptr);
  return true;
}

// The names of the chunks that carry more than the pixels. Called only for
// a file that decoded completely, so every chunk header is in bounds; the
// walk checks anyway.
std::vector<std::string> FindExtraChunks(ByteView Data) {
  std::vector<std::string> Names;
  uint64_t Position = sizeof(kPngSignature);
  while (RangeFits(Data.size(), Position, 8)) {
    const uint32_t Length = static_cast<uint32_t>(Data[Position]) << 24 | Data[Position + 1] << 16 |
                            Data[Position + 2] << 8 | Data[Position + 3];
    const std::string Name(reinterpret_cast<const char *>(Data.data() + Position + 4), 4);
    if (Name != "IHDR" && Name != "IDAT" && Name != "IEND") {
      Names.push_back(Name);
    }
    Position += uint64_t{12} + Length;
  }
  return Names;
}

ProbeResult ProbePng(ByteView Data) {
  ProbeResult Result;
  Result.Facts.Format = ImageFormat::Png;
  PngSource Source{};
  Source.Data = Data.data();
  Source.Size = Data.size();
  if (!DecodePng(&Source, &Result.Facts)) {
    Result.Error = std::string("PNG does not decode: ") + Source.Error;
  } else if (Source.Warning[0] != '\0') {
    Result.Error = std::string("PNG decodes only with a warning: ") + Source.Warning;
  } else if (Source.Position != Source.Size) {
    Result.Error = std::to_string(Source.Size - Source.Position) + " bytes after the PNG end chunk";
  } else {
    Result.Facts.ExtraChunks = FindExtraChunks(Data);
    Result.Ok = true;
  }
  return Result;
}

// ---- JPEG -----------------------------------------------------------------

struct JpegErrors {
  jpeg_error_mgr Manager;
  jmp_buf Jump;
  char Error[JMSG_LENGTH_MAX];
  char Warning[JMSG_LENGTH_MAX];
};

struct JpegState {
  jpeg_decompress_struct Info;
  JpegErrors Errors;
  size_t TrailingBytes;
};

void JpegOnError(j_common_ptr Info) {
  JpegErrors *Errors = reinterpret_cast<JpegErrors *>(Info->err);
  (*Info->err->format_message)(Info, Errors->Error);
  longjmp(Errors->Jump, 1);
}

// Level -1 is a warning (corrupt data that the decoder papered over);
// higher levels are trace output.
void JpegOnMessage(j_common_ptr Info, int Level) {
  JpegErrors *Errors = reinterpret_cast<JpegErrors *>(Info->err);
  if (Level < 0 && Errors->Warning[0] == '\0') {
    (*Info->err->format_message)(Info, Errors->Warning);
  }
}

bool DecodeJpeg(ByteView Data, JpegState *State, ImageFacts *Facts) {
  State->Info.err = jpeg_std_error(&State->Errors.Manager);
  State->Errors.Manager.error_exit = JpegOnError;
  State->Errors.Manager.emit_message = JpegOnMessage;
  if (setjmp(State->Errors.Jump)) {
    jpeg_destroy_decompress(&State->Info);
    return false;
  }
  jpeg_create_decompress(&State->Info);
  jpeg_mem_src(&State->Info, Data.data(), static_cast<unsigned long>(Data.size()));
  if (jpeg_read_header(&State->Info, TRUE) != JPEG_HEADER_OK) {
    snprintf(State->Errors.Error, sizeof(State->Errors.Error), "no image in the file");
    jpeg_destroy_decompress(&State->Info);
    return false;
  }
  Facts->Width = State->Info.image_width;
  Facts->Height = State->Info.image_height;
  Facts->Components = State->Info.num_components;
  if (Facts->Width > kMaxImageDimension || Facts->Height > kMaxImageDimension) {
    snprintf(State->Errors.Error, sizeof(State->Errors.Error), "%ux%u is larger than any theme image",
             Facts->Width, Facts->Height);
    jpeg_destroy_decompress(&State->Info);
    return false;
  }
  jpeg_start_decompress(&State->Info);
  JSAMPARRAY Row = (*State->Info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&State->Info), JPOOL_IMAGE,
                                                    State->Info.output_width * State->Info.output_components, 1);
  while (State->Info.output_scanline < State->Info.output_height) {
    jpeg_read_scanlines(&State->Info, Row, 1);
  }
  jpeg_finish_decompress(&State->Info);
  State->TrailingBytes = State->Info.src->bytes_in_buffer;
  jpeg_destroy_decompress(&State->Info);
  return true;
}

bool IsStartOfFrame(uint8_t Marker) {
  return Marker >= 0xC0 && Marker <= 0xCF && Marker != 0xC4 && Marker != 0xC8 && Marker != 0xCC;
}

// The start-of-frame marker (0 when there is none) and whether an APP1
// segment comes before the scan, for a JPEG that has already decoded:
// libjpeg says neither, so walk the marker segments up to the scan.
void ReadJpegHeaders(ByteView Data, ImageFacts *Facts) {
  size_t Position = 2;
  while (Position + 1 < Data.size()) {
    if (Data[Position] != 0xFF) {
      return;
    }
    while (Position < Data.size() && Data[Position] == 0xFF) {
      Position++;
    }
    if (Position >= Data.size()) {
      return;
    }
    const uint8_t Marker = Data[Position++];
    if (Marker == 0x01 || (Marker >= 0xD0 && Marker <= 0xD7)) {
      continue;
    }
    if (IsStartOfFrame(Marker) && Facts->FrameMarker == 0) {
      Facts->FrameMarker = Marker;
    }
    Facts->HasApp1 |= Marker == 0xE1;
    if (Marker == 0xD9 || Marker == 0xDA || Position + 2 > Data.size()) {
      return;
    }
    const size_t Length = static_cast<size_t>(Data[Position]) << 8 | Data[Position + 1];
    if (Length < 2) {
      return;
    }
    Position += Length;
  }
}

ProbeResult ProbeJpeg(ByteView Data) {
  ProbeResult Result;
  Result.Facts.Format = ImageFormat::Jpeg;
  // Value-initialised, so that a failure inside jpeg_create_decompress
  // still leaves a record that jpeg_destroy_decompress can take.
  const std::unique_ptr<JpegState> State = std::make_unique<JpegState>();
  if (!DecodeJpeg(Data, State.get(), &Result.Facts)) {
    Result.Error = std::string("JPEG does not decode: ") + State->Errors.Error;
  } else if (State->Errors.Warning[0] != '\0') {
    Result.Error = std::string("JPEG decodes only with a warning: ") + State->Errors.Warning;
  } else if (State->TrailingBytes != 0) {
    Result.Error = std::to_string(State->TrailingBytes) + " bytes after the JPEG end marker";
  } else {
    ReadJpegHeaders(Data, &Result.Facts);
    Result.Ok = true;
  }
  return Result;
}

}  // namespace

ProbeResult ProbeImage(ByteView Data) {
  if (const std::optional<ImageFormat> Format = FormatOfContent(Data)) {
    return *Format == ImageFormat::Png ? ProbePng(Data) : ProbeJpeg(Data);
  }
  ProbeResult Result;
  Result.Error = Data.empty() ? "empty file" : "neither a PNG nor a JPEG file";
  return Result;
}

}  // namespace imagepkg
