#!/bin/bash
# The running game's cost beside another program's, measured the same way
# in one run on one X server of its own (Xvfb, 1024 x 768): for each of
# the default full screen and a 1:1 window, a fresh folder, the start-up
# times the game reports with --timing, then CPU seconds per second and
# anonymous memory in the menu and in a one-player game idling on level 1.
# With --peer, that command runs on the same server, alone, right before
# the game in each mode and measured for as long; without it, only the
# game's figures. With --wm, that window manager runs on the server first,
# as on a desktop (without one, SDL's full-screen request goes unanswered
# and the game covers the display by itself).
#   scripts/measure-side-by-side.sh GAME_BINARY GAME_PAK [--peer "CMD"]
#       [--seconds N] [--rounds N] [--display :N] [--modes "full window"]
#       [--wm "CMD"]
# CPU is the scheduler's own count (/proc/PID/schedstat, nanoseconds);
# memory is RssAnon and VmHWM from /proc/PID/status. The load average is
# printed with every figure: other work on the machine shows there.
# TIMING_FLAG= (empty) for a build that has no --timing; SHOTS=DIR keeps a
# screenshot of the menu and of the game in each mode.
set -eu
BIN=$(realpath "$1"); PAK=$(realpath "$2"); shift 2
PEER=""; WM=""; SECONDS_MEASURED=10; ROUNDS=3; XDISPLAY=":87"; MODES="full window"
while [ $# -gt 0 ]; do
  case "$1" in
    --peer) PEER=$2; shift 2 ;;
    --wm) WM=$2; shift 2 ;;
    --seconds) SECONDS_MEASURED=$2; shift 2 ;;
    --rounds) ROUNDS=$2; shift 2 ;;
    --display) XDISPLAY=$2; shift 2 ;;
    --modes) MODES=$2; shift 2 ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
done
for Tool in Xvfb xdotool python3 bc; do
  command -v "$Tool" >/dev/null || { echo "needs $Tool" >&2; exit 2; }
done

WORK=$(mktemp -d)
PIDS=()
cleanup() {
  for P in "${PIDS[@]}"; do kill "$P" 2>/dev/null || true; done
  sleep 1
  for P in "${PIDS[@]}"; do kill -9 "$P" 2>/dev/null || true; done
  rm -rf "$WORK"
}
trap cleanup EXIT

Xvfb "$XDISPLAY" -screen 0 1024x768x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
XPID=$!
PIDS+=("$XPID")
export DISPLAY=$XDISPLAY
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
xdotool getdisplaygeometry >/dev/null 2>&1 || { echo "Xvfb $XDISPLAY did not start" >&2; cat "$WORK/xvfb.log"; exit 1; }
if [ -n "$WM" ]; then
  $WM >"$WORK/wm.log" 2>&1 &
  PIDS+=("$!")
  for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' || { echo "the window manager did not start" >&2; cat "$WORK/wm.log" >&2; exit 1; }
  # It announces itself a little before it takes new windows in.
  sleep 1
fi
# No sound device here: SDL's dummy driver still decodes and mixes.
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

cpu_ns() { awk '{print $1}' "/proc/$1/schedstat"; }
anon_kb() { awk '/^RssAnon/ {print $2}' "/proc/$1/status"; }
hwm_kb() { awk '/^VmHWM/ {print $2}' "/proc/$1/status"; }
load() { cut -d' ' -f1 /proc/loadavg; }
# Held long enough for the 30 ms menu tick to see it.
press() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; }
median() { sort -g | awk '{v[NR]=$1} END {if (NR % 2) print v[(NR+1)/2]; else printf "%.5f\n", (v[NR/2]+v[NR/2+1])/2}'; }

# CPU seconds per second of each PID given, over the same SECONDS_MEASURED
# seconds, ROUNDS times: one line per round, then the medians.
measure() {
  local Label=$1; shift
  local R P A B Line
  : >"$WORK/rounds"
  for R in $(seq "$ROUNDS"); do
    declare -A Before=()
    for P in "$@"; do Before[$P]=$(cpu_ns "$P"); done
    sleep "$SECONDS_MEASURED"
    Line=""
    for P in "$@"; do
      A=${Before[$P]}; B=$(cpu_ns "$P")
      Line+="$(echo "scale=5; ($B - $A) / 1000000000 / $SECONDS_MEASURED" | bc) "
    done
    echo "$Line$(load)" >>"$WORK/rounds"
  done
  local Names=("$@") I
  for I in "${!Names[@]}"; do
    local Column=$((I + 1))
    printf '  %s %s: cpu-s/s median %s (rounds: %s), load %s\n' "$Label" "$(cat "$WORK/name.${Names[$I]}")" \
      "$(awk -v c=$Column '{print $c}' "$WORK/rounds" | median)" \
      "$(awk -v c=$Column '{printf "%s ", $c}' "$WORK/rounds")" "$(awk '{printf "%s ", $NF}' "$WORK/rounds")"
  done
}

# A config.dat of the game's own making with full screen off: the game
# writes its defaults at the first start, this turns the third field off.
windowed_config() {
  local Dir=$1
  python3 - "$Dir/config.dat" <<'EOF'
import sys
path = sys.argv[1]
data = open(path, 'rb').read()
plain = bytes(data[i] ^ data[i + 1] for i in range(0, len(data) - 1, 2))
payload = plain[:plain.rindex(b',') + 1]
fields = payload.split(b',')
fields[2] = b'0'
payload = b','.join(fields)
text = payload + str(sum(payload)).encode()
out = bytearray()
import random
for c in text:
    while True:
        k = random.randrange(150) + 50
        e = k ^ c
        if 66 <= e <= 128:
            break
    out += bytes([k, e])
open(path, 'wb').write(bytes(out))
EOF
}

# The peer alone, in the same way and for as long as the game is measured
# below, before each of the game's runs: both see the same server and,
# nearly, the same machine.
measure_peer() {
  [ -n "$PEER" ] || return 0
  mkdir -p "$WORK/peer"
  (cd "$WORK/peer" && exec $PEER) >"$WORK/peer.log" 2>&1 &
  local P=$!
  PIDS+=("$P")
  echo "peer" >"$WORK/name.$P"
  sleep 3
  kill -0 "$P" 2>/dev/null || { echo "the peer ended at once:" >&2; cat "$WORK/peer.log" >&2; exit 1; }
  local W
  W=$(xdotool search --pid "$P" 2>/dev/null | head -1 || true)
  [ -n "$W" ] && xdotool mousemove --window "$W" 20 20 2>/dev/null || true
  sleep 2
  measure play "$P"
  echo "  play peer: anon $(anon_kb "$P") kB"
  kill "$P"; wait "$P" 2>/dev/null || true
}

echo "machine: $(nproc) cores, load $(cat /proc/loadavg | cut -d' ' -f1-3); Xvfb $XDISPLAY 1024x768x24${WM:+ with $WM}; $SECONDS_MEASURED s x $ROUNDS rounds"
for MODE in $MODES; do
  echo "$MODE:"
  measure_peer
  RUN="$WORK/run-$MODE"
  mkdir -p "$RUN"
  cp "$PAK" "$RUN/game.pak"
  if [ "$MODE" = window ]; then
    # The first start writes the defaults; then the window setting.
    (cd "$RUN" && exec "$BIN") >/dev/null 2>&1 &
    P=$!
    for _ in $(seq 50); do [ -s "$RUN/config.dat" ] && break; sleep 0.1; done
    sleep 0.5
    kill "$P"; wait "$P" 2>/dev/null || true
    windowed_config "$RUN"
  fi
  START=$(date +%s.%N)
  (cd "$RUN" && exec "$BIN" ${TIMING_FLAG---timing}) >"$RUN/out.log" 2>&1 &
  GAME=$!
  PIDS+=("$GAME")
  echo "game" >"$WORK/name.$GAME"
  WIN=""
  for _ in $(seq 100); do
    for W in $(xdotool search --name '^Vyrn' 2>/dev/null || true); do
      [ "$(xdotool getwindowpid "$W" 2>/dev/null || true)" = "$GAME" ] && WIN=$W
    done
    [ -n "$WIN" ] && break
    sleep 0.1
  done
  [ -n "$WIN" ] || { echo "no window"; cat "$RUN/out.log"; exit 1; }
  sleep 1
  # Without a window manager the keyboard follows the pointer.
  xdotool mousemove --window "$WIN" 200 200 2>/dev/null || true
  xdotool windowfocus "$WIN" 2>/dev/null || true
  press space  # ends the splash
  sleep 2
  echo "  game window $(xdotool getwindowgeometry "$WIN" | awk '/Geometry/ {print $2}')"
  FIRST=$(awk '/first frame at/ {print $5}' "$RUN/out.log")
  [ -n "$FIRST" ] && echo "  start: first frame $(echo "$FIRST - $START * 1000" | bc) ms after exec"
  LOGO=$(awk '/first picture at/ {print $5}' "$RUN/out.log")
  [ -n "$LOGO" ] && echo "  start: first logo picture $(echo "$LOGO - $START * 1000" | bc) ms after exec (the splash shows 400 ms of black first)"
  grep -o 'menu .* after the key' "$RUN/out.log" | sed 's/^/  start: /' || true
  sleep 2
  [ -n "${SHOTS:-}" ] && import -window root "$SHOTS/$MODE-menu.png"
  measure menu "$GAME"
  echo "  menu game: anon $(anon_kb "$GAME") kB, peak rss $(hwm_kb "$GAME") kB"
  press Return  # the cursor starts on the one-player game
  sleep 8
  [ -n "${SHOTS:-}" ] && import -window root "$SHOTS/$MODE-play.png"
  measure play "$GAME"
  echo "  play game: anon $(anon_kb "$GAME") kB, peak rss $(hwm_kb "$GAME") kB"
  kill "$GAME"; wait "$GAME" 2>/dev/null || true
done
