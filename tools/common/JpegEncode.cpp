#include "JpegEncode.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

// libjpeg reports errors by longjmp; everything it may jump over is plain
// data, and the result is copied out after it returned.
struct TJpegJob {
  jpeg_compress_struct Info;
  jpeg_error_mgr Errors;
  std::jmp_buf Jump;
  char Error[JMSG_LENGTH_MAX];
  unsigned char* Buffer;
  unsigned long Size;
};

void OnError(j_common_ptr Info) {
  // Errors is the first thing libjpeg sees of the job; step back to the job.
  auto* Job = reinterpret_cast<TJpegJob*>(reinterpret_cast<char*>(Info->err) - offsetof(TJpegJob, Errors));
  (*Info->err->format_message)(Info, Job->Error);
  std::longjmp(Job->Jump, 1);
}

int Components(TJpegInput Input) {
  switch (Input) {
    case TJpegInput::Grey: return 1;
    case TJpegInput::Cmyk: return 4;
    case TJpegInput::Rgb: break;
  }
  return 3;
}

J_COLOR_SPACE Space(TJpegInput Input) {
  switch (Input) {
    case TJpegInput::Grey: return JCS_GRAYSCALE;
    case TJpegInput::Cmyk: return JCS_CMYK;
    case TJpegInput::Rgb: break;
  }
  return JCS_RGB;
}

bool RunCompress(TJpegJob* Job, const TJpegFormat* Format, const std::uint8_t* Pixels) {
  Job->Info.err = jpeg_std_error(&Job->Errors);
  Job->Errors.error_exit = OnError;
  if (setjmp(Job->Jump)) {
    jpeg_destroy_compress(&Job->Info);
    return false;
  }
  jpeg_create_compress(&Job->Info);
  jpeg_mem_dest(&Job->Info, &Job->Buffer, &Job->Size);
  const int PerPixel = Components(Format->Input);
  Job->Info.image_width = static_cast<JDIMENSION>(Format->Width);
  Job->Info.image_height = static_cast<JDIMENSION>(Format->Height);
  Job->Info.input_components = PerPixel;
  Job->Info.in_color_space = Space(Format->Input);
  jpeg_set_defaults(&Job->Info);
  jpeg_set_quality(&Job->Info, Format->Quality, TRUE);
  if (Format->Progressive) jpeg_simple_progression(&Job->Info);
  jpeg_start_compress(&Job->Info, TRUE);
  const std::size_t Stride = static_cast<std::size_t>(Format->Width) * static_cast<std::size_t>(PerPixel);
  while (Job->Info.next_scanline < Job->Info.image_height) {
    JSAMPROW Row = const_cast<JSAMPROW>(Pixels + Job->Info.next_scanline * Stride);
    jpeg_write_scanlines(&Job->Info, &Row, 1);
  }
  jpeg_finish_compress(&Job->Info);
  jpeg_destroy_compress(&Job->Info);
  return true;
}

}  // namespace

TBytes EncodeJpeg(const TJpegFormat& Format, const std::uint8_t* Pixels) {
  if (Format.Width < 1 || Format.Height < 1) throw EJpegEncodeError("JPEG encoding: empty picture");
  TJpegJob Job{};
  const bool Done = RunCompress(&Job, &Format, Pixels);
  // libjpeg allocated the output with malloc, also when it failed half-way.
  const std::unique_ptr<unsigned char, decltype(&std::free)> Buffer(Job.Buffer, &std::free);
  if (!Done) throw EJpegEncodeError(std::string("JPEG encoding: ") + Job.Error);
  return TBytes(Buffer.get(), Buffer.get() + Job.Size);
}

TBytes EncodeJpegRgb(const std::uint8_t* Rgb, std::int32_t Width, std::int32_t Height, int Quality) {
  TJpegFormat Format;
  Format.Width = Width;
  Format.Height = Height;
  Format.Quality = Quality;
  return EncodeJpeg(Format, Rgb);
}
