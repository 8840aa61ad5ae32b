#include "platform/WaveOut.h"

namespace {
THeadlessWaveOut DefaultWaveOut;
IWaveOut* Current = &DefaultWaveOut;
}  // namespace

IWaveOut* SetWaveOutHandler(IWaveOut* Handler) {
  IWaveOut* Old = Current;
  Current = Handler ? Handler : &DefaultWaveOut;
  return Old;
}

IWaveOut& CurrentWaveOut() { return *Current; }
