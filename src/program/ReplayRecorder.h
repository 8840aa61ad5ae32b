// Recording a session into a replay file as it is played.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/InputEvent.h"
#include "program/ReplayFormat.h"

class TMainForm;

// Sits between the event loop and the window and writes every event, every
// time read and the checks. Install it before FormCreate, call Started after
// it, Finish after the loop. Reads config.dat and highscores.dat from Folder
// as they are before the window starts.
class TReplayRecorder : public IInputSink {
public:
  // Clock answers the time reads (the real time of day when not given).
  TReplayRecorder(const std::string& FileName, TMainForm& Form, const std::string& Folder,
                  std::function<std::uint32_t()> Clock = {});
  ~TReplayRecorder() override;
  TReplayRecorder(const TReplayRecorder&) = delete;
  TReplayRecorder& operator=(const TReplayRecorder&) = delete;

  // Writes the header, now that the generator holds its seed.
  void Started();
  void Dispatch(const TInputEvent& Event) override;
  // Writes the end record and closes the file; false when the disk failed.
  bool Finish();
  bool Failed() const { return FFailed; }

private:
  void Add(const TReplayRecord& Record);
  void Flush();

  TMainForm& FForm;
  std::function<std::uint32_t()> FClock;
  std::string FFileName;
  std::FILE* FFile = nullptr;
  TReplay FHeader;
  std::vector<std::uint8_t> FPending;
  std::uint32_t FRecords = 0;
  std::uint32_t FHash = ReplayHashBasis;
  std::uint32_t FTicks = 0;
  bool FFailed = false;
  bool FStarted = false;
  bool FFinished = false;
};
