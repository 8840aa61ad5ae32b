// What a replay compares with the running program: the build that recorded
// it and the session's checksum.
#pragma once

#include <cstdint>

class TMainForm;

// The identifier of this build of the game's rules.
const char* ReplayBuildId();

// The session state a desync would change: the generator, the window's
// timers and start values, and what the running game hashes of itself.
std::uint64_t SessionChecksum(const TMainForm& Form);
