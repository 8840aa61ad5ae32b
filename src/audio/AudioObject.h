// The music engine the game creates: the engine plus a playlist and the
// file filter that names playlists too.
#pragma once

#include "audio/AudioEngine.h"
#include "audio/PlayListClass.h"

#include <memory>

class TAudioObject : public TAudioEngine {
public:
  explicit TAudioObject(std::intptr_t Window = 0);
  ~TAudioObject() override;

  std::string FileFilter() const override;

  std::unique_ptr<TPlaylist> Playlist;
};
