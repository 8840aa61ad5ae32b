#!/bin/bash
# Idle cost of the running window: starts the game on an X display, skips
# the splash, measures the menu, starts a one-player game with the keyboard,
# lets it idle on level 1 and measures again. CPU is utime+stime from
# /proc/PID/stat over SECONDS seconds (CPU seconds per second); memory is
# VmHWM and RssAnon from /proc/PID/status.
#   scripts/measure-idle.sh GAME_BINARY GAME_PAK [SHOTS_DIR]
# CONFIG=FILE starts with that config.dat (e.g. one with full screen off).
# DISPLAY must name a running X server (e.g. Xvfb :93 -screen 0 1024x768x24).
set -eu
BIN=$(realpath "$1"); PAK=$(realpath "$2"); SHOTS=${3:-}
SECONDS_MEASURED=${SECONDS_MEASURED:-20}
RUN=$(mktemp -d)
cp "$PAK" "$RUN/game.pak"
[ -n "${CONFIG:-}" ] && cp "$CONFIG" "$RUN/config.dat"
cd "$RUN"
# No sound device here: SDL's dummy driver still decodes and mixes.
# WRAP runs the game under another program (e.g. WRAP="heaptrack -o FILE").
SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} ${WRAP:-} "$BIN" >"$RUN/out.log" 2>&1 &
PID=$!
STARTED=$PID
trap 'kill $PID $STARTED 2>/dev/null; sleep 2; rm -rf "$RUN"' EXIT

ticks() { awk '{print $14 + $15}' "/proc/$PID/stat"; }
status() { grep -E '^(VmHWM|RssAnon|VmRSS)' "/proc/$PID/status" | tr -s ' \t' ' ' | tr '\n' ' '; echo; }
measure() {
  local A B
  A=$(ticks); sleep "$SECONDS_MEASURED"; B=$(ticks)
  echo "$1: cpu $(echo "scale=2; 100 * ($B - $A) / $(getconf CLK_TCK) / $SECONDS_MEASURED" | bc) % of one core; $(status)"
}
# Held long enough for the 30 ms menu tick to see it.
press() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; }
shot() { [ -n "$SHOTS" ] && import -window root "$SHOTS/$1.png" || true; }

WIN=""
for _ in $(seq 50); do
  for W in $(xdotool search --name '^Vyrn' 2>/dev/null || true); do
    P=$(xdotool getwindowpid "$W" 2>/dev/null || true)
    if [ "$P" = "$PID" ] || [ -n "${WRAP:-}" ]; then WIN=$W; PID=${P:-$PID}; fi
  done
  [ -n "$WIN" ] && break
  sleep 0.2
done
[ -n "$WIN" ] || { echo "no window"; cat "$RUN/out.log"; exit 1; }
xdotool windowfocus "$WIN" 2>/dev/null || true
sleep 1
press space   # ends the splash
sleep 4
shot menu
measure menu
press Return  # the cursor starts on the one-player game
sleep 8
shot game
measure game
if [ -n "$SHOTS" ]; then
  xdotool windowsize "$WIN" 1000 700; sleep 2; shot resized
  xdotool windowsize "$WIN" 800 600; sleep 2; shot back
fi
