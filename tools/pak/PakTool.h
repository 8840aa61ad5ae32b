// vyrn-pak: builds, lists and extracts game archives. The logic lives here
// so that tests can run it without spawning a process.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// Args without the program name, e.g. {"list", "game.pak"}. Normal output
// goes to Out, messages to Err. Returns the exit status: 0 done, 1 entry or
// archive not found (extract), 2 usage error, refused input or read/write
// error.
int RunPakTool(const std::vector<std::string>& Args, std::ostream& Out, std::ostream& Err);
