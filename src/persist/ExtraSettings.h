// Settings the game has beyond its classic ones. They live in "extras.dat"
// beside config.dat, so config.dat stays exactly as older builds read and
// write it. Plain "name=value" lines under a header; names this build does
// not know are kept and written back, so a newer build's settings survive a
// round through an older one.
#pragma once

#include <string>
#include <utility>
#include <vector>

enum class TClaimedGroundLook { Classic, Clear };

class TExtraSettings {
public:
  static constexpr const char* FileName = "extras.dat";
  static constexpr const char* Header = "vyrn-extras 1";
  static constexpr const char* DamagedMessage = "Error reading extras.dat - rebuilding...";

  // Loads (or rebuilds) extras.dat in Folder.
  explicit TExtraSettings(std::string Folder = ".");
  TExtraSettings(const TExtraSettings&) = delete;
  TExtraSettings& operator=(const TExtraSettings&) = delete;

  TClaimedGroundLook ClaimedGround = TClaimedGroundLook::Classic;
  // Set once a player has made a first claim: the intro hints stop then.
  bool HintsSeen = false;

  // A missing file gives the defaults silently (and is written at the first
  // change); a damaged one is reported and
  // rebuilt; one that exists but cannot be read is reported and left alone:
  // the defaults play in memory and nothing is saved over it this run.
  void Load();
  // Writes extras.dat atomically; a failure is reported once per run of
  // failures. False when not written (or when saving is held back).
  bool Save();

  void SetClaimedGround(TClaimedGroundLook Value);
  void SetHintsSeen(bool Value);

  const std::string& FilePath() const { return FPath; }
  // True after a read error: the file on disk is kept as it is.
  bool SavingHeldBack() const { return FHoldSaves; }

private:
  void TakeDefaults();
  std::string PlainText() const;

  std::string FPath;
  bool FHoldSaves = false;
  bool FWriteFailureShown = false;
  // Lines of names this build does not know, in their order.
  std::vector<std::pair<std::string, std::string>> FUnknown;
};
