// An Ogg Vorbis piece decoded as it plays, from its own copy of the encoded
// bytes: a few hundred kilobytes of state where the whole decoded piece
// would take ten megabytes a minute, and no wait before it starts.
#pragma once

#include "platform/MusicRenderer.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class TOggVorbisSource : public IMusicSource {
public:
  // Null unless Data is an Ogg Vorbis stream of one or two channels at
  // exactly Rate frames a second (anything else is left to a decoder that
  // converts). Mono comes out on both channels.
  static std::unique_ptr<TOggVorbisSource> Open(std::span<const std::uint8_t> Data, int Rate);
  ~TOggVorbisSource() override;

  std::int64_t Frames() const { return FFrames; }
  int Read(std::int16_t* Out, int Frames) override;
  void Rewind() override;

  // The decoder and the bytes it reads; opaque outside the unit.
  struct TState;

private:
  TOggVorbisSource();

  std::unique_ptr<TState> FState;
  int FChannels = 2;
  std::int64_t FFrames = 0;
  // Set once the stream has ended or cannot be read further: nothing more
  // comes until a rewind.
  bool FEnded = false;
};
