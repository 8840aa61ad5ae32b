#include "gfx/PNGObjectImprov.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>

#include "gfx/ImageErrors.h"
#include "pak/MemoryStream.h"

// libpng reports errors by longjmp. Everything between setjmp and the
// error callbacks below is plain C data (no destructors to skip); the C++
// wrapper throws only after the decoding function has returned.
namespace {

struct TPngSource {
  const std::uint8_t* Data;
  std::size_t Size;
  std::size_t Position;
};

struct TPngDecoded {
  std::uint8_t* Pixels;     // malloc'ed, Width * Height * 4 bytes
  png_bytep* Rows;          // malloc'ed row table into Pixels
  std::uint32_t Width;
  std::uint32_t Height;
  char Error[200];
};

void PngError(png_structp Png, png_const_charp Message) {
  auto* Out = static_cast<TPngDecoded*>(png_get_error_ptr(Png));
  std::snprintf(Out->Error, sizeof Out->Error, "%s", Message ? Message : "unknown error");
  png_longjmp(Png, 1);
}

// Warnings (unknown chunks, odd colour profiles) are not worth a word.
void PngWarning(png_structp, png_const_charp) {}

void PngRead(png_structp Png, png_bytep Into, png_size_t Length) {
  auto* Source = static_cast<TPngSource*>(png_get_io_ptr(Png));
  if (Source->Size - Source->Position < Length) png_error(Png, "PNG data ends early");
  std::memcpy(Into, Source->Data + Source->Position, Length);
  Source->Position += Length;
}

// Decodes into Out; returns false with Out->Error set on failure. On failure
// every allocation of this function has been released.
bool DecodePng(TPngSource* Source, TPngDecoded* Out) {
  Out->Pixels = nullptr;
  Out->Rows = nullptr;
  Out->Width = 0;
  Out->Height = 0;
  Out->Error[0] = '\0';
  if (Source->Size < 8 || png_sig_cmp(Source->Data, 0, 8) != 0) {
    std::snprintf(Out->Error, sizeof Out->Error, "not a PNG file");
    return false;
  }
  png_structp Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, Out, PngError, PngWarning);
  if (!Png) {
    std::snprintf(Out->Error, sizeof Out->Error, "out of memory");
    return false;
  }
  png_infop Info = png_create_info_struct(Png);
  if (!Info) {
    png_destroy_read_struct(&Png, nullptr, nullptr);
    std::snprintf(Out->Error, sizeof Out->Error, "out of memory");
    return false;
  }
  if (setjmp(png_jmpbuf(Png))) {
    png_destroy_read_struct(&Png, &Info, nullptr);
    std::free(Out->Rows);
    std::free(Out->Pixels);
    Out->Rows = nullptr;
    Out->Pixels = nullptr;
    return false;
  }
  png_set_read_fn(Png, Source, PngRead);
  png_set_user_limits(Png, MaxPictureSide, MaxPictureSide);
  png_read_info(Png, Info);

  const png_uint_32 Width = png_get_image_width(Png, Info);
  const png_uint_32 Height = png_get_image_height(Png, Info);
  if (static_cast<std::uint64_t>(Width) * Height > MaxPicturePixels) png_error(Png, "picture too large");
  const int ColorType = png_get_color_type(Png, Info);

  // Everything becomes 8-bit RGBA: palettes and low-depth grey are expanded,
  // a transparency chunk becomes alpha, 16-bit samples keep their high byte,
  // grey is copied to all three channels, and a missing alpha is opaque.
  png_set_expand(Png);
  png_set_strip_16(Png);
  if (ColorType == PNG_COLOR_TYPE_GRAY || ColorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(Png);
  if (!(ColorType & PNG_COLOR_MASK_ALPHA) && !png_get_valid(Png, Info, PNG_INFO_tRNS))
    png_set_add_alpha(Png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(Png);
  png_read_update_info(Png, Info);
  if (png_get_rowbytes(Png, Info) != static_cast<png_size_t>(Width) * 4 || png_get_bit_depth(Png, Info) != 8)
    png_error(Png, "unexpected sample layout after conversion");

  Out->Pixels = static_cast<std::uint8_t*>(std::malloc(static_cast<std::size_t>(Width) * Height * 4 + 1));
  Out->Rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * (static_cast<std::size_t>(Height) + 1)));
  if (!Out->Pixels || !Out->Rows) png_error(Png, "out of memory");
  for (png_uint_32 Y = 0; Y < Height; ++Y) Out->Rows[Y] = Out->Pixels + static_cast<std::size_t>(Y) * Width * 4;
  png_read_image(Png, Out->Rows);

  png_destroy_read_struct(&Png, &Info, nullptr);
  std::free(Out->Rows);
  Out->Rows = nullptr;
  Out->Width = Width;
  Out->Height = Height;
  return true;
}

}  // namespace

void TPNGObjectImprov::LoadFromStream(TMemoryStream& Stream) {
  LoadFromMemory(Stream.Remaining(), Stream.RemainingSize());
  Stream.Seek(0, TSeekOrigin::End);
}

void TPNGObjectImprov::LoadFromMemory(const std::uint8_t* Data, std::size_t Size) {
  TPngSource Source{Data, Data ? Size : 0, 0};
  TPngDecoded Out;
  if (!DecodePng(&Source, &Out)) throw EImageDecodeError(std::string("PNG: ") + Out.Error);
  FPixels.reset(Out.Pixels);
  FWidth = static_cast<std::int32_t>(Out.Width);
  FHeight = static_cast<std::int32_t>(Out.Height);
}
