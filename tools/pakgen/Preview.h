// Pictures for checking the archive by eye: a contact sheet of every PNG and
// JPEG entry, decoded back from the bytes that go into game.pak.
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

#include "Encode.h"
#include "kit/DrawKit.h"
#include "pak/PakWriter.h"

// Decodes a PNG or JPEG entry through the game's loaders into a new ARGB32
// surface; none when the bytes are neither or do not decode.
kit::TSurfacePtr DecodeToSurface(const TBytes& Data);

// Every picture of Entries in manifest order (entries the manifest does not
// know come last), each labelled with its name over a checkerboard; small
// sprites enlarged, large pictures reduced.
void WriteContactSheet(const std::vector<TPakEntry>& Entries, const std::string& Path);

// Names the manifest lists but Entries lacks, names Entries holds that the
// manifest lacks, and names Entries holds twice, one per line; empty when the
// archive matches the manifest.
std::string ManifestDifferences(const std::vector<TPakEntry>& Entries);

// Every level of the level table as it starts in the game, read from the
// written archive and drawn by the game's board renderer, at half size.
void WriteLevelPreview(const std::string& PakPath, const std::string& Path);

// Every actor (each set's first picture, the markers' four facings, the
// explosion at its peak) on every level background, drawn by the game's board
// renderer, shadow mask and sprite blend: on free ground with the markers on
// their trails at the left, the same on claimed ground at the right. One
// picture per background, "actor_grid_" + its name + ".png", in Folder.
void WriteActorGrid(const std::string& PakPath, const std::string& Folder);

// The menu's seven screens, the panels of a one- and a two-player game, the
// bonus screen, the loading bar and the pause menu, drawn by the game's own
// menu and panels running headless on the written archive with sample
// values: "ui_*.png" in Folder, most with an enlarged "_zoom" detail.
void WriteUiPreviews(const std::string& PakPath, const std::string& Folder);
