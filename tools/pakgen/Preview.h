// Pictures for checking the archive by eye: a contact sheet of every PNG and
// JPEG entry, decoded back from the bytes that go into game.pak.
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

#include "Encode.h"
#include "pak/PakWriter.h"

// Decodes a PNG or JPEG entry into a new ARGB32 surface (the caller destroys
// it); nullptr when the bytes are neither or do not decode.
cairo_surface_t* DecodePicture(const TBytes& Data);

// Every picture of Entries in manifest order (entries the manifest does not
// know come last), each labelled with its name over a checkerboard; small
// sprites enlarged, large pictures reduced.
void WriteContactSheet(const std::vector<TPakEntry>& Entries, const std::string& Path);

// Names the manifest lists but Entries lacks, names Entries holds that the
// manifest lacks, and names Entries holds twice, one per line; empty when the
// archive matches the manifest.
std::string ManifestDifferences(const std::vector<TPakEntry>& Entries);
