#include "ImageFixtures.h"

#include <png.h>
#include <setjmp.h>
#include <stdio.h>

#include <jpeglib.h>

#include <cstdlib>

namespace fixtures {

namespace {

void PngWriteToVector(png_structp Png, png_bytep Data, size_t Length) {
  Bytes *Out = static_cast<Bytes *>(png_get_io_ptr(Png));
  Out->insert(Out->end(), Data, Data + Length);
}

void PngFlush(png_structp) {}

void PngAbort(png_structp, png_const_charp Message) {
  fprintf(stderr, "fixture PNG encoder failed: %s\n", Message);
  std::abort();
}

void JpegAbort(j_common_ptr Info) {
  (*Info->err->output_message)(Info);
  std::abort();
}

}  // namespace

Bytes EncodePng(const PngShape &Shape, uint32_t Seed) {
  Bytes Out;
  png_structp Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngAbort, nullptr);
  png_infop Info = png_create_info_struct(Png);
  png_set_write_fn(Png, &Out, PngWriteToVector, PngFlush);
  png_set_IHDR(Png, Info, Shape.Width, Shape.Height, Shape.BitDepth, Shape.ColorType,
               Shape.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_color Palette[4] = {{0, 0, 0}, {255, 131, 51}, {229, 226, 225}, {255, 255, 255}};
  if (Shape.ColorType == PNG_COLOR_TYPE_PALETTE) {
    png_set_PLTE(Png, Info, Palette, 4);
  }
  png_text Text = {};
  Text.compression = PNG_TEXT_COMPRESSION_NONE;
  Text.key = const_cast<char *>("Comment");
  Text.text = const_cast<char *>("made by a test");
  if (Shape.WithTextChunk) {
    png_set_text(Png, Info, &Text, 1);
  }
  png_write_info(Png, Info);

  int Channels = 1;
  switch (Shape.ColorType) {
    case PNG_COLOR_TYPE_RGB:
      Channels = 3;
      break;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      Channels = 2;
      break;
    case PNG_COLOR_TYPE_RGB_ALPHA:
      Channels = 4;
      break;
    default:
      break;
  }
  const size_t BytesPerSample = Shape.BitDepth == 16 ? 2 : 1;
  std::vector<Bytes> Rows(Shape.Height, Bytes(Shape.Width * Channels * BytesPerSample));
  std::vector<png_bytep> RowPointers;
  for (uint32_t Y = 0; Y < Shape.Height; Y++) {
    for (size_t X = 0; X < Rows[Y].size(); X++) {
      Rows[Y][X] = static_cast<uint8_t>(Shape.ColorType == PNG_COLOR_TYPE_PALETTE ? (X + Y + Seed) % 4
                                                                                   : X * 7 + Y * 13 + Seed * 31);
    }
    RowPointers.push_back(Rows[Y].data());
  }
  png_write_image(Png, RowPointers.data());
  png_write_end(Png, nullptr);
  png_destroy_write_struct(&Png, &Info);
  return Out;
}

Bytes EncodeJpeg(const JpegShape &Shape, uint32_t Seed) {
  jpeg_compress_struct Info;
  jpeg_error_mgr Errors;
  Info.err = jpeg_std_error(&Errors);
  Errors.error_exit = JpegAbort;
  jpeg_create_compress(&Info);
  unsigned char *Buffer = nullptr;
  unsigned long Size = 0;
  jpeg_mem_dest(&Info, &Buffer, &Size);
  Info.image_width = Shape.Width;
  Info.image_height = Shape.Height;
  Info.input_components = Shape.Components;
  Info.in_color_space = Shape.Components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&Info);
  jpeg_set_quality(&Info, 85, TRUE);
  if (Shape.Progressive) {
    jpeg_simple_progression(&Info);
  }
  jpeg_start_compress(&Info, TRUE);
  if (Shape.WithApp1) {
    static const JOCTET Exif[] = {'E', 'x', 'i', 'f', 0, 0};
    jpeg_write_marker(&Info, JPEG_APP0 + 1, Exif, sizeof(Exif));
  }
  Bytes Row(Shape.Width * Shape.Components);
  while (Info.next_scanline < Info.image_height) {
    for (size_t X = 0; X < Row.size(); X++) {
      Row[X] = static_cast<uint8_t>(X / 3 + Info.next_scanline + Seed * 31);
    }
    JSAMPROW Pointer = Row.data();
    jpeg_write_scanlines(&Info, &Pointer, 1);
  }
  jpeg_finish_compress(&Info);
  jpeg_destroy_compress(&Info);
  Bytes Out(Buffer, Buffer + Size);
  free(Buffer);
  return Out;
}

}  // namespace fixtures
