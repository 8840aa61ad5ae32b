#include "gfx/JpegDecode.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

#include "gfx/FastImaging.h"
#include "gfx/ImageErrors.h"

namespace {

// libjpeg reports fatal errors through error_exit, which must not return.
// Ours jumps back to the setjmp in the C-style step that was running; those
// steps hold no C++ objects with destructors, so the jump skips none. The
// exception is thrown afterwards, in ordinary C++ code.
struct TJpegJob {
  jpeg_decompress_struct Info;
  jpeg_error_mgr Errors;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
  bool Created;
};

void JobErrorExit(j_common_ptr Info) {
  TJpegJob* Job = static_cast<TJpegJob*>(Info->client_data);
  (*Info->err->format_message)(Info, Job->Message);
  std::longjmp(Job->Jump, 1);
}

// Warnings mean corrupt data (a truncated file is only a warning to libjpeg,
// which then pads the picture with grey); our assets have none, so a
// warning fails the decode as well. Trace messages (level > 0) are ignored.
void JobEmitMessage(j_common_ptr Info, int Level) {
  if (Level < 0) JobErrorExit(Info);
}

void JobOutputMessage(j_common_ptr) {}

// Steps 1 and 2: header and decompressor start. Returns false on a decoder
// error with the message in Job->Message.
bool StartDecode(TJpegJob* Job, const unsigned char* Data, unsigned long Size) {
  if (setjmp(Job->Jump)) return false;
  jpeg_mem_src(&Job->Info, Data, Size);
  jpeg_read_header(&Job->Info, TRUE);
  switch (Job->Info.jpeg_color_space) {
    case JCS_CMYK:
    case JCS_YCCK:
      Job->Info.out_color_space = JCS_CMYK;
      break;
    default:
      Job->Info.out_color_space = JCS_EXT_BGR;
      break;
  }
  jpeg_calc_output_dimensions(&Job->Info);
  // Checked before the decompressor allocates its buffers, let alone the
  // picture: a small file may claim an enormous size.
  if (Job->Info.output_width > MaxPictureSide || Job->Info.output_height > MaxPictureSide ||
      static_cast<std::uint64_t>(Job->Info.output_width) * Job->Info.output_height > MaxPicturePixels) {
    std::snprintf(Job->Message, sizeof Job->Message, "picture of %u x %u pixels is too large",
                  static_cast<unsigned>(Job->Info.output_width), static_cast<unsigned>(Job->Info.output_height));
    return false;
  }
  jpeg_start_decompress(&Job->Info);
  return true;
}

// Step 3: reads every scanline into Rows[line] (picture order, top first).
// CMYK lines land in Scratch first and are converted into their row.
bool ReadLines(TJpegJob* Job, unsigned char** Rows, unsigned char* Scratch) {
  if (setjmp(Job->Jump)) return false;
  const bool Cmyk = Job->Info.out_color_space == JCS_CMYK;
  // Adobe writers store CMYK inverted (0 = full ink).
  const bool Inverted = Job->Info.saw_Adobe_marker;
  const JDIMENSION Width = Job->Info.output_width;
  while (Job->Info.output_scanline < Job->Info.output_height) {
    unsigned char* Target = Rows[Job->Info.output_scanline];
    JSAMPROW Line = Cmyk ? Scratch : Target;
    if (jpeg_read_scanlines(&Job->Info, &Line, 1) != 1) {
      std::snprintf(Job->Message, sizeof Job->Message, "decoder delivered no scanline");
      return false;
    }
    if (Cmyk) {
      for (JDIMENSION x = 0; x < Width; ++x) {
        unsigned C = Scratch[4 * x], M = Scratch[4 * x + 1], Y = Scratch[4 * x + 2], K = Scratch[4 * x + 3];
        if (!Inverted) {
          C = 255 - C;
          M = 255 - M;
          Y = 255 - Y;
          K = 255 - K;
        }
        // Now 255 = no ink.
        Target[3 * x] = static_cast<unsigned char>((Y * K + 127) / 255);
        Target[3 * x + 1] = static_cast<unsigned char>((M * K + 127) / 255);
        Target[3 * x + 2] = static_cast<unsigned char>((C * K + 127) / 255);
      }
    }
  }
  jpeg_finish_decompress(&Job->Info);
  return true;
}

bool CreateDecoder(TJpegJob* Job) {
  if (setjmp(Job->Jump)) return false;
  jpeg_create_decompress(&Job->Info);
  Job->Created = true;
  return true;
}

struct TJobDeleter {
  void operator()(TJpegJob* Job) const {
    if (Job->Created) jpeg_destroy_decompress(&Job->Info);
    delete Job;
  }
};

[[noreturn]] void Fail(const TJpegJob& Job) { throw EImageDecodeError(std::string("JPEG: ") + Job.Message); }

}  // namespace

void DecodeJpeg(const std::uint8_t* Data, std::size_t Size, TFastBMP& Out) {
  if (Size == 0) throw EImageDecodeError("JPEG: no data");
  std::unique_ptr<TJpegJob, TJobDeleter> Job(new TJpegJob{});
  Job->Info.err = jpeg_std_error(&Job->Errors);
  Job->Errors.error_exit = JobErrorExit;
  Job->Errors.emit_message = JobEmitMessage;
  Job->Errors.output_message = JobOutputMessage;
  Job->Info.client_data = Job.get();
  if (!CreateDecoder(Job.get())) Fail(*Job);  // creation keeps err and client_data
  if (!StartDecode(Job.get(), Data, static_cast<unsigned long>(Size))) Fail(*Job);

  const JDIMENSION Width = Job->Info.output_width;
  const JDIMENSION Height = Job->Info.output_height;
  Out.SetSize(static_cast<std::int32_t>(Width), static_cast<std::int32_t>(Height));
  std::vector<unsigned char*> Rows(Height);
  for (JDIMENSION y = 0; y < Height; ++y) Rows[y] = Out.Row(static_cast<std::int32_t>(Height - 1 - y));
  std::vector<unsigned char> Scratch(Job->Info.out_color_space == JCS_CMYK ? static_cast<std::size_t>(Width) * 4 : 0);
  if (!ReadLines(Job.get(), Rows.data(), Scratch.data())) Fail(*Job);
}
