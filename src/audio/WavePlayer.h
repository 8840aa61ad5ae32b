// One sound effect held in memory: played once or looped until halted, each
// playback on a mixer channel of its own so that effects overlap freely.
// The owner fills Stream with a RIFF WAVE (or bare MPEG audio) file and keeps
// ownership of it.
#pragma once

#include "pak/MemoryStream.h"
#include "platform/Audio.h"

#include <cstdint>
#include <optional>
#include <span>

// Where a sound file's samples are and how they are laid out.
struct TSoundLayout {
  TWaveFormat Format;
  // Byte positions in the file: the first sample byte and just past the last.
  std::int64_t DataStart = 0;
  std::int64_t DataEnd = 0;
};

// RIFF WAVE: the format record, then the chunks up to "data".
std::optional<TSoundLayout> ReadWaveLayout(std::span<const std::uint8_t> File);
// Bare MPEG audio: the first frame header, described as MPEG-1 Layer III.
std::optional<TSoundLayout> ReadMpegLayout(std::span<const std::uint8_t> File);
// The wave layout, else the MPEG layout.
std::optional<TSoundLayout> ReadSoundLayout(std::span<const std::uint8_t> File);

class TWavePlayer : private ISoundListener {
public:
  static constexpr std::uint8_t Stopped = 0;
  static constexpr std::uint8_t Playing = 1;
  static constexpr std::uint8_t Paused = 2;

  TWavePlayer() = default;
  TWavePlayer(const TWavePlayer&) = delete;
  TWavePlayer& operator=(const TWavePlayer&) = delete;
  virtual ~TWavePlayer();

  // From the start when stopped; resumes a paused sound; false (and nothing
  // changes) while it plays, and when the sound cannot be played.
  virtual bool Play();
  // Ends the playback; false when nothing was playing.
  virtual bool Stop();
  // Ends the playback at once; false when there was none to end.
  virtual bool Halt();
  // Playing becomes paused and paused becomes playing; false when stopped.
  virtual bool TogglePause();

  // 0 stopped, 1 playing, 2 paused. Takes in the notices of sounds that have
  // ended, so a sound that has played out reads as stopped.
  std::uint8_t State();

  // Bytes of 1/64 s of the current sound; 0 before the first start.
  std::int32_t BufferSize() const { return FBufferSize; }
  std::int64_t DataStart() const { return FDataStart; }
  std::int64_t DataEnd() const { return FDataEnd; }

  // Restart at the end of the data until halted; read when a start begins.
  bool Looping = false;
  // The sound file's bytes; not owned, may be absent.
  TMemoryStream* Stream = nullptr;

private:
  void OnSoundFinished(TSoundId Id) override;
  void Release();

  std::uint8_t FState = Stopped;
  TSoundId FSound = 0;
  std::int32_t FBufferSize = 0;
  std::int64_t FDataStart = 0;
  std::int64_t FDataEnd = 0;
};
