// The one Ogg Vorbis encoder of the tools and tests. The same samples always
// give the same bytes: the stream's serial number is fixed.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

using TBytes = std::vector<std::uint8_t>;

class EOggEncodeError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Channels: one run of samples in [-1, 1] per channel (1 or 2), all of one
// length. Variable bit rate at Quality (-0.1 .. 1.0). Throws EOggEncodeError
// when the encoder refuses the settings or the channels differ in length.
TBytes EncodeOggVorbis(std::span<const std::span<const float>> Channels, int Rate, float Quality,
                       int Serial = 0x56797231);
