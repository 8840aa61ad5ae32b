#include "persist/DataPaths.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "persist/FileStore.h"

namespace {
constexpr const char* ArchiveName = "game.pak";
constexpr const char* DefaultDataDirs = "/usr/local/share/:/usr/share/";

bool HasArchive(const std::string& Folder) {
  std::error_code Ec;
  return std::filesystem::is_regular_file(JoinPath(Folder, ArchiveName), Ec);
}

// The base-directory rules: paths must be absolute, others are ignored.
bool Usable(const std::string& Path) { return !Path.empty() && Path.front() == '/'; }

std::vector<std::string> SplitDirs(const std::string& List) {
  std::vector<std::string> Dirs;
  std::size_t Start = 0;
  for (;;) {
    const std::size_t Colon = List.find(':', Start);
    const std::string Dir = List.substr(Start, Colon == std::string::npos ? std::string::npos : Colon - Start);
    if (Usable(Dir)) Dirs.push_back(Dir);
    if (Colon == std::string::npos) return Dirs;
    Start = Colon + 1;
  }
}

std::string Variable(const TEnvLookup& Env, const char* Name) {
  const char* Value = Env ? Env(Name) : nullptr;
  return Value ? Value : "";
}
}  // namespace

TDataPaths FindDataPaths(const std::string& InstallDataDir, const TEnvLookup& Env, const std::string& WorkFolder) {
  TDataPaths Paths{WorkFolder, WorkFolder};
  if (HasArchive(WorkFolder)) return Paths;

  std::string DataDirs = Variable(Env, "XDG_DATA_DIRS");
  if (DataDirs.empty()) DataDirs = DefaultDataDirs;
  std::vector<std::string> Candidates = SplitDirs(DataDirs);
  if (Usable(InstallDataDir)) Candidates.push_back(InstallDataDir);
  bool Found = false;
  for (const std::string& Dir : Candidates) {
    const std::string Folder = JoinPath(Dir, DataFolderName);
    if (HasArchive(Folder)) {
      Paths.ArchiveFolder = Folder;
      Found = true;
      break;
    }
  }
  if (!Found) return Paths;

  std::string DataHome = Variable(Env, "XDG_DATA_HOME");
  if (!Usable(DataHome)) {
    const std::string Home = Variable(Env, "HOME");
    if (!Usable(Home)) return Paths;
    DataHome = JoinPath(Home, ".local/share");
  }
  const std::string UserFolder = JoinPath(DataHome, DataFolderName);
  std::error_code Ec;
  std::filesystem::create_directories(UserFolder, Ec);
  if (!Ec && std::filesystem::is_directory(UserFolder, Ec)) Paths.UserFolder = UserFolder;
  return Paths;
}
