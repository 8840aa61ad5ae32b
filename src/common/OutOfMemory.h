// Words for a failed allocation: the bare "std::bad_alloc" of the standard
// library tells a player nothing.
#pragma once

#include <exception>
#include <new>
#include <string>

inline constexpr const char* NotEnoughMemoryText = "Not enough memory (the system refused the memory the game asked for)";

// What to tell about E: its own text, or the words above for a bad_alloc.
inline std::string FailureText(const std::exception& E) {
  if (dynamic_cast<const std::bad_alloc*>(&E)) return NotEnoughMemoryText;
  return E.what();
}
