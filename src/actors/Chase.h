// What the big enemy and the small enemies share about chasing a player.
#pragma once

#include <cmath>

#include "actors/Player.h"

// The nearer of the two players, measured from (X, Y) in extended precision;
// player 1 when alone or on a tie.
inline const TPlayer* NearerPlayer(float X, float Y, const TPlayer& Player1, const TPlayer* Player2) {
  if (Player2 == nullptr) return &Player1;
  const auto Distance2 = [X, Y](const TPlayer& P) {
    const long double DX = static_cast<long double>(P.X) - X;
    const long double DY = static_cast<long double>(P.Y) - Y;
    return DX * DX + DY * DY;
  };
  return Distance2(*Player2) < Distance2(Player1) ? Player2 : &Player1;
}

// The length of a velocity, in extended precision, stored as a float.
inline float VelocityLength(float VX, float VY) {
  return static_cast<float>(std::sqrt(static_cast<long double>(VX) * VX + static_cast<long double>(VY) * VY));
}
