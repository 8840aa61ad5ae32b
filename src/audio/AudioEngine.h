// The music engine: one piece at a time (Ogg Vorbis and the like, tracker
// modules as the fallback) from memory, with its end detected 50 ms early,
// position and length in milliseconds, peak levels for the menu's meter, a
// ten-band equaliser in every piece, and the volume controls.
//
// The end check is polled: the main loop calls CheckEnd on every turn (at
// least once per 30 ms tick), there is no timer of the engine's own.
#pragma once

#include "pak/MemoryStream.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

class TAudioEngine {
public:
  static constexpr std::int32_t StateStopped = 1001;
  static constexpr std::int32_t StatePlaying = 1002;
  static constexpr std::int32_t StatePaused = 1003;
  static constexpr std::int32_t StateEnded = 1004;
  static constexpr int EqualizerBands = 10;
  static constexpr double EqualizerBandwidth = 3.0;
  // A piece counts as ended this long before its last sample.
  static constexpr std::int32_t EndMarginMs = 50;

  // Window is kept for the record; the output needs no window.
  explicit TAudioEngine(std::intptr_t Window = 0);
  TAudioEngine(const TAudioEngine&) = delete;
  TAudioEngine& operator=(const TAudioEngine&) = delete;
  virtual ~TAudioEngine();

  virtual std::string FileFilter() const;

  // Replaces the current piece with the one in Stream and starts it. The
  // engine plays its own copy: the stream may be freed at once. Data that is
  // neither a stream nor a module leaves nothing loaded and State unchanged.
  void PlayFromStream(const TMemoryStream* Stream);
  void PlayFromMemory(std::span<const std::uint8_t> Data);
  // Silences the piece (its position stays); State 1001.
  bool Stop();
  // Stops and frees the piece with everything kept to restart it; the next
  // piece is read afresh. State 1001.
  void Free();
  void Pause();
  void Resume();
  // Whole milliseconds, truncated; never below 0.
  std::int32_t PositionMs();
  std::int32_t LengthMs();
  // Peak levels of the music's own output, 0..32768 each.
  void GetLevels(std::uint32_t& Right, std::uint32_t& Left);
  // Output volume of every sound the game makes, 0..100.
  void SetVolume(int Percent);
  // The music's volume, 0..100 (the menu fades with it).
  void SetGlobalVolumes(int Percent);
  // Clamped to 150..2000 ms.
  void SetBufferLength(int Milliseconds);
  // Stops a piece that is within EndMarginMs of its end and reports it as
  // ended (State 1004). Runs also while paused, and harmlessly when ended.
  void CheckEnd();

  std::int32_t State() const { return FState; }
  std::int32_t SampleRate() const { return FSampleRate; }
  std::int32_t Device() const { return FDevice; }
  std::intptr_t Window() const { return FWindow; }
  // Length of the current piece in bytes of 16-bit stereo output; -1 when
  // none is loaded or its length is unknown.
  std::int64_t LengthBytes() const { return FLengthBytes; }
  double BufferLengthSeconds() const { return FBufferLength; }
  const std::vector<std::string>& DeviceNames() const { return FDeviceNames; }

  // Band centres in Hz and gains in dB, applied to each piece as it starts.
  std::array<std::int32_t, EqualizerBands> EqualizerCentres{80, 170, 310, 600, 1000, 3000, 6000, 10000, 12000, 14000};
  std::array<std::int32_t, EqualizerBands> EqualizerGains{};

private:
  std::int32_t FSampleRate = 44100;
  std::int32_t FState = StateStopped;
  std::int32_t FDevice = -1;
  std::intptr_t FWindow = 0;
  std::int64_t FLengthBytes = -1;
  bool FHasPiece = false;
  double FBufferLength = 0;
  std::vector<std::string> FDeviceNames;
};
