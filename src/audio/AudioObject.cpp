#include "audio/AudioObject.h"

TAudioObject::TAudioObject(std::intptr_t Window) : TAudioEngine(Window), Playlist(std::make_unique<TPlaylist>()) {}

TAudioObject::~TAudioObject() { Playlist.reset(); }

std::string TAudioObject::FileFilter() const { return TAudioEngine::FileFilter() + "|Playlist (pls/m3u)|*.pls;*.m3u"; }
