#include "tools/imagepkg/ImageDecode.h"

#include <png.h>
#include <setjmp.h>
#include <stdio.h>
#include <string.h>

#include <jpeglib.h>

#include <memory>

namespace imagepkg {

namespace {

uint32_t PackArgb(uint8_t R, uint8_t G, uint8_t B, uint8_t A) {
  return uint32_t{A} << 24 | uint32_t{R} << 16 | uint32_t{G} << 8 | B;
}

// libpng's simplified reader handles interlacing and every colour type.
DecodedImage DecodePng(ByteView Data, uint32_t MaxDimension) {
  DecodedImage Result;
  png_image Image;
  memset(&Image, 0, sizeof(Image));
  Image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&Image, Data.data(), Data.size())) {
    Result.Error = std::string("PNG does not decode: ") + Image.message;
    return Result;
  }
  if (Image.width > MaxDimension || Image.height > MaxDimension) {
    png_image_free(&Image);
    Result.Error = "PNG is larger than " + std::to_string(MaxDimension) + " pixels";
    return Result;
  }
  Image.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> Rgba(PNG_IMAGE_SIZE(Image));
  if (!png_image_finish_read(&Image, nullptr, Rgba.data(), 0, nullptr)) {
    Result.Error = std::string("PNG does not decode: ") + Image.message;
    return Result;
  }
  Result.Width = Image.width;
  Result.Height = Image.height;
  Result.Argb.resize(size_t{Image.width} * Image.height);
  for (size_t Pixel = 0; Pixel < Result.Argb.size(); Pixel++) {
    const uint8_t *P = &Rgba[Pixel * 4];
    Result.Argb[Pixel] = PackArgb(P[0], P[1], P[2], P[3]);
  }
  Result.Ok = true;
  return Result;
}

struct JpegErrors {
  jpeg_error_mgr Manager;
  jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

void JpegOnError(j_common_ptr Info) {
  JpegErrors *Errors = reinterpret_cast<JpegErrors *>(Info->err);
  (*Info->err->format_message)(Info, Errors->Message);
  longjmp(Errors->Jump, 1);
}

struct JpegState {
  jpeg_decompress_struct Info;
  JpegErrors Errors;
};

// Everything that must survive libjpeg's longjmp lives in State or Result.
bool DecodeJpegInto(ByteView Data, uint32_t MaxDimension, JpegState *State, DecodedImage *Result) {
  State->Info.err = jpeg_std_error(&State->Errors.Manager);
  State->Errors.Manager.error_exit = JpegOnError;
  if (setjmp(State->Errors.Jump)) {
    jpeg_destroy_decompress(&State->Info);
    return false;
  }
  jpeg_create_decompress(&State->Info);
  jpeg_mem_src(&State->Info, Data.data(), static_cast<unsigned long>(Data.size()));
  if (jpeg_read_header(&State->Info, TRUE) != JPEG_HEADER_OK || State->Info.image_width > MaxDimension ||
      State->Info.image_height > MaxDimension) {
    snprintf(State->Errors.Message, sizeof(State->Errors.Message), "no image of a usable size");
    jpeg_destroy_decompress(&State->Info);
    return false;
  }
  State->Info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&State->Info);
  Result->Width = State->Info.output_width;
  Result->Height = State->Info.output_height;
  Result->Argb.assign(size_t{Result->Width} * Result->Height, 0);
  JSAMPARRAY Row = (*State->Info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&State->Info), JPOOL_IMAGE,
                                                    Result->Width * 3, 1);
  while (State->Info.output_scanline < State->Info.output_height) {
    const size_t Y = State->Info.output_scanline;
    jpeg_read_scanlines(&State->Info, Row, 1);
    for (size_t X = 0; X < Result->Width; X++) {
      const uint8_t *P = &Row[0][X * 3];
      Result->Argb[Y * Result->Width + X] = PackArgb(P[0], P[1], P[2], 0xFF);
    }
  }
  jpeg_finish_decompress(&State->Info);
  jpeg_destroy_decompress(&State->Info);
  return true;
}

DecodedImage DecodeJpeg(ByteView Data, uint32_t MaxDimension) {
  DecodedImage Result;
  const std::unique_ptr<JpegState> State = std::make_unique<JpegState>();
  if (!DecodeJpegInto(Data, MaxDimension, State.get(), &Result)) {
    Result = DecodedImage{};
    Result.Error = std::string("JPEG does not decode: ") + State->Errors.Message;
    return Result;
  }
  Result.Ok = true;
  return Result;
}

void AppendToBytes(png_structp Png, png_bytep Data, size_t Length) {
  Bytes *Out = static_cast<Bytes *>(png_get_io_ptr(Png));
  Out->insert(Out->end(), Data, Data + Length);
}

}  // namespace

DecodedImage DecodeImagePixels(ByteView Data, uint32_t MaxDimension) {
  if (const std::optional<ImageFormat> Format = FormatOfContent(Data)) {
    return *Format == ImageFormat::Png ? DecodePng(Data, MaxDimension) : DecodeJpeg(Data, MaxDimension);
  }
  DecodedImage Result;
  Result.Error = "neither a PNG nor a JPEG file";
  return Result;
}

// Fixed compression settings and no time or text chunks, so equal pixels
// always give equal files.
Bytes EncodePng(uint32_t Width, uint32_t Height, const std::vector<uint32_t> &Argb) {
  Bytes Out;
  png_structp Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop Info = png_create_info_struct(Png);
  std::vector<uint8_t> Row(size_t{Width} * 4);
  if (setjmp(png_jmpbuf(Png))) {
    png_destroy_write_struct(&Png, &Info);
    return {};
  }
  png_set_write_fn(Png, &Out, AppendToBytes, nullptr);
  png_set_IHDR(Png, Info, Width, Height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(Png, 6);
  png_write_info(Png, Info);
  for (uint32_t Y = 0; Y < Height; Y++) {
    for (uint32_t X = 0; X < Width; X++) {
      const uint32_t P = Argb[size_t{Y} * Width + X];
      uint8_t *Q = &Row[size_t{X} * 4];
      Q[0] = static_cast<uint8_t>(P >> 16);
      Q[1] = static_cast<uint8_t>(P >> 8);
      Q[2] = static_cast<uint8_t>(P);
      Q[3] = static_cast<uint8_t>(P >> 24);
    }
    png_write_row(Png, Row.data());
  }
  png_write_end(Png, Info);
  png_destroy_write_struct(&Png, &Info);
  return Out;
}

}  // namespace imagepkg
