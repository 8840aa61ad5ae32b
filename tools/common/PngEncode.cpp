#include "PngEncode.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <new>

namespace {

// Everything libpng may jump over is plain data; the C++ objects live in
// EncodePng's frame, set up before and read after the C code ran.
struct TWriteJob {
  const TPngFormat* Format;
  png_bytep* Rows;
  const png_color* Palette;
  const png_color_16* Transparent;
  TBytes* Out;
  char Error[160];
};

void OnError(png_structp Png, png_const_charp Message) {
  auto* Job = static_cast<TWriteJob*>(png_get_error_ptr(Png));
  std::snprintf(Job->Error, sizeof Job->Error, "%s", Message ? Message : "unknown libpng error");
  png_longjmp(Png, 1);
}
void OnWarning(png_structp, png_const_charp) {}

void OnWrite(png_structp Png, png_bytep Data, png_size_t Length) {
  auto* Job = static_cast<TWriteJob*>(png_get_io_ptr(Png));
  try {
    Job->Out->insert(Job->Out->end(), Data, Data + Length);
  } catch (const std::bad_alloc&) {
    png_error(Png, "out of memory");  // no exception may cross libpng's frames
  }
}
void OnFlush(png_structp) {}

bool RunWrite(TWriteJob* Job) {
  png_structp Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, Job, OnError, OnWarning);
  if (!Png) {
    std::snprintf(Job->Error, sizeof Job->Error, "out of memory");
    return false;
  }
  png_infop Info = png_create_info_struct(Png);
  if (!Info) {
    png_destroy_write_struct(&Png, nullptr);
    std::snprintf(Job->Error, sizeof Job->Error, "out of memory");
    return false;
  }
  if (setjmp(png_jmpbuf(Png))) {
    png_destroy_write_struct(&Png, &Info);
    return false;
  }
  const TPngFormat& F = *Job->Format;
  png_set_write_fn(Png, Job, OnWrite, OnFlush);
  png_set_IHDR(Png, Info, static_cast<png_uint_32>(F.Width), static_cast<png_uint_32>(F.Height), F.BitDepth,
               static_cast<int>(F.Colour), F.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(Png, F.Compression);
  if (!F.Palette.empty()) png_set_PLTE(Png, Info, Job->Palette, static_cast<int>(F.Palette.size()));
  if (!F.PaletteAlpha.empty())
    png_set_tRNS(Png, Info, F.PaletteAlpha.data(), static_cast<int>(F.PaletteAlpha.size()), nullptr);
  if (Job->Transparent) png_set_tRNS(Png, Info, nullptr, 0, const_cast<png_color_16p>(Job->Transparent));
  png_write_info(Png, Info);
  png_write_image(Png, Job->Rows);
  png_write_end(Png, Info);
  png_destroy_write_struct(&Png, &Info);
  return true;
}

}  // namespace

TBytes EncodePng(const TPngFormat& Format, const std::uint8_t* Rows, std::size_t Stride) {
  if (Format.Width < 1 || Format.Height < 1) throw EPngEncodeError("PNG encoding: empty picture");
  std::vector<png_bytep> RowPointers(static_cast<std::size_t>(Format.Height));
  for (std::size_t Y = 0; Y < RowPointers.size(); ++Y) RowPointers[Y] = const_cast<png_bytep>(Rows + Y * Stride);
  std::vector<png_color> Palette;
  for (const TPngPaletteEntry& E : Format.Palette) Palette.push_back(png_color{E.R, E.G, E.B});
  png_color_16 Transparent{};
  if (Format.Transparent) {
    Transparent.gray = Format.Transparent->Grey;
    Transparent.red = Format.Transparent->R;
    Transparent.green = Format.Transparent->G;
    Transparent.blue = Format.Transparent->B;
  }
  TBytes Out;
  TWriteJob Job{&Format, RowPointers.data(), Palette.data(), Format.Transparent ? &Transparent : nullptr, &Out, {}};
  if (!RunWrite(&Job)) throw EPngEncodeError(std::string("PNG encoding: ") + Job.Error);
  return Out;
}

TBytes EncodePngRgba(const std::uint8_t* Rgba, std::int32_t Width, std::int32_t Height, int Compression) {
  TPngFormat Format;
  Format.Width = Width;
  Format.Height = Height;
  Format.Compression = Compression;
  return EncodePng(Format, Rgba, static_cast<std::size_t>(Width) * 4);
}

TBytes EncodePngRgb(const std::uint8_t* Rgb, std::int32_t Width, std::int32_t Height, int Compression) {
  TPngFormat Format;
  Format.Width = Width;
  Format.Height = Height;
  Format.Colour = TPngColour::Rgb;
  Format.Compression = Compression;
  return EncodePng(Format, Rgb, static_cast<std::size_t>(Width) * 3);
}
