// The output devices' volume, in the classic wave-out form: a 32-bit value,
// left channel in the low 16 bits, right in the high 16 bits, 0..0xFFFF each.
// The settings read it at start-up and the menu watches it; the platform's
// implementation applies it to every sound the game makes.
#pragma once

#include <cstdint>

class IWaveOut {
public:
  static constexpr int WaveMapper = -1;
  virtual ~IWaveOut() = default;
  virtual int DeviceCount() = 0;
  virtual bool HasVolumeControl(int Device) = 0;
  // False when the device cannot be asked.
  virtual bool GetVolume(int Device, std::uint32_t& LeftRight) = 0;
  virtual bool SetVolume(int Device, std::uint32_t LeftRight) = 0;
};

// One device with volume control, kept in memory: the stand-in for tests and
// headless runs.
class THeadlessWaveOut : public IWaveOut {
public:
  int DeviceCount() override { return 1; }
  bool HasVolumeControl(int Device) override { return Device == 0; }
  bool GetVolume(int, std::uint32_t& LeftRight) override {
    LeftRight = Volume;
    return true;
  }
  bool SetVolume(int, std::uint32_t LeftRight) override {
    Volume = LeftRight;
    return true;
  }
  std::uint32_t Volume = 0xFFFFFFFFu;
};

// Installs the implementation (nullptr restores the headless one); returns the old one.
IWaveOut* SetWaveOutHandler(IWaveOut* Handler);
IWaveOut& CurrentWaveOut();
