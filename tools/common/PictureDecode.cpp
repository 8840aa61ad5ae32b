#include "PictureDecode.h"

#include <cstring>

#include "gfx/FastImaging.h"
#include "gfx/ImageErrors.h"
#include "gfx/JpegDecode.h"
#include "gfx/PNGObjectImprov.h"

TPictureKind PictureKind(const std::uint8_t* Data, std::size_t Size) {
  static const std::uint8_t PngMagic[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (Size >= 8 && std::memcmp(Data, PngMagic, 8) == 0) return TPictureKind::Png;
  if (Size >= 3 && Data[0] == 0xFF && Data[1] == 0xD8 && Data[2] == 0xFF) return TPictureKind::Jpeg;
  return TPictureKind::Unknown;
}

TRgbaPicture DecodePicture(const std::uint8_t* Data, std::size_t Size) {
  TRgbaPicture Out;
  switch (PictureKind(Data, Size)) {
    case TPictureKind::Png: {
      TPNGObjectImprov Png;
      Png.LoadFromMemory(Data, Size);
      Out.Width = Png.Width();
      Out.Height = Png.Height();
      const std::size_t RowBytes = static_cast<std::size_t>(Out.Width) * 4;
      Out.Rgba.resize(RowBytes * static_cast<std::size_t>(Out.Height));
      for (std::int32_t Y = 0; Y < Out.Height; ++Y)
        std::memcpy(Out.Rgba.data() + RowBytes * static_cast<std::size_t>(Y), Png.Row(Y), RowBytes);
      return Out;
    }
    case TPictureKind::Jpeg: {
      // Bottom-up rows of blue, green, red.
      TFastBMP Bitmap;
      DecodeJpeg(Data, Size, Bitmap);
      Out.Width = Bitmap.Width();
      Out.Height = Bitmap.Height();
      Out.Rgba.resize(static_cast<std::size_t>(Out.Width) * static_cast<std::size_t>(Out.Height) * 4);
      std::uint8_t* To = Out.Rgba.data();
      for (std::int32_t Y = 0; Y < Out.Height; ++Y) {
        const std::uint8_t* From = Bitmap.Row(Out.Height - 1 - Y);
        for (std::int32_t X = 0; X < Out.Width; ++X, From += 3, To += 4) {
          To[0] = From[2];
          To[1] = From[1];
          To[2] = From[0];
          To[3] = 255;
        }
      }
      return Out;
    }
    case TPictureKind::Unknown: break;
  }
  throw EImageDecodeError("neither a PNG nor a JPEG file");
}
