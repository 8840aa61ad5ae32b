#!/bin/bash
# Starts the game again and again on a private X display and checks that its
# window shows up every time and that it closes again on SIGTERM. A start
# whose window has not been mapped within START_TIMEOUT seconds (or that does
# not end within it) counts as a stall: the state of all its threads is saved
# (gdb when installed, /proc otherwise) before it is killed.
#   scripts/start-loop.sh GAME_BINARY GAME_PAK [STARTS]
# Environment:
#   STARTS         how many starts (default 5; the third argument wins)
#   START_TIMEOUT  seconds a start may take to map its window (default 10)
#   LOAD_JOBS      busy loops run beside the game to crowd the CPU (default 0)
#   WM             a window manager to run on the display (e.g. openbox)
#   STALL_DIR      where stall reports go (default: a folder that is kept)
#   XVFB_DISPLAY   use this display number instead of a free one
# Exits 0 when no start stalled, 1 when one did, 77 when Xvfb or xdotool is
# missing (the test is skipped then).
set -uo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 GAME_BINARY GAME_PAK [STARTS]" >&2
  exit 2
fi
for tool in Xvfb xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "start-loop: $tool is not installed; skipped"
    exit 77
  fi
done

BIN=$(realpath "$1")
PAK=$(realpath "$2")
STARTS=${3:-${STARTS:-5}}
START_TIMEOUT=${START_TIMEOUT:-10}
LOAD_JOBS=${LOAD_JOBS:-0}

WORK=$(mktemp -d)
STALL_DIR=${STALL_DIR:-$(mktemp -d /tmp/vyrn-stalls.XXXXXX)}
mkdir -p "$STALL_DIR"
XVFB_PID="" WM_PID="" GAME_PID="" LOAD_PIDS=()

cleanup() {
  [ -n "$GAME_PID" ] && kill -9 "$GAME_PID" 2>/dev/null
  for p in "${LOAD_PIDS[@]}"; do kill "$p" 2>/dev/null; done
  [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A display of our own: a free number unless one is asked for.
if [ -n "${XVFB_DISPLAY:-}" ]; then
  Xvfb ":$XVFB_DISPLAY" -screen 0 1024x768x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  NUM=$XVFB_DISPLAY
else
  exec 3>"$WORK/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  exec 3>&-
  NUM=""
  for _ in $(seq 100); do
    NUM=$(head -n1 "$WORK/display" 2>/dev/null)
    [ -n "$NUM" ] && break
    sleep 0.1
  done
fi
export DISPLAY=":$NUM"
for _ in $(seq 100); do
  xdotool getmouselocation >/dev/null 2>&1 && break
  sleep 0.1
done
if ! xdotool getmouselocation >/dev/null 2>&1; then
  echo "start-loop: Xvfb did not start" >&2
  cat "$WORK/xvfb.log" >&2
  exit 1
fi
if [ -n "${WM:-}" ]; then
  "$WM" >"$WORK/wm.log" 2>&1 &
  WM_PID=$!
  sleep 1
fi

for _ in $(seq "$LOAD_JOBS"); do
  (while :; do :; done) &
  LOAD_PIDS+=($!)
done

# The state of every thread of the game, for a start that hung.
report() {
  local pid=$1 file=$2
  {
    echo "$3"
    echo "== threads (name, state, kernel wait)"
    for t in /proc/"$pid"/task/*; do
      echo "$(basename "$t") $(cat "$t/comm" 2>/dev/null) $(awk '{print $3}' "$t/stat" 2>/dev/null) $(cat "$t/wchan" 2>/dev/null)"
    done
    echo "== windows of the game"
    xdotool search --pid "$pid" 2>/dev/null | while read -r w; do
      echo "window $w: $(xdotool getwindowname "$w" 2>/dev/null)"
      xwininfo -id "$w" 2>/dev/null | grep -E "Map State|geometry"
      command -v xprop >/dev/null && xprop -id "$w" WM_STATE _NET_WM_STATE 2>/dev/null
    done
    echo "== top-level windows (and whether the display answers at all)"
    xwininfo -root -children 2>&1 | tail -n +7
    echo "display server: $(ps -o stat=,etime= -p "$XVFB_PID")"
    echo "== sockets"
    ls -l /proc/"$pid"/fd 2>/dev/null | grep -c socket
    if command -v gdb >/dev/null; then
      echo "== backtraces"
      timeout 120 gdb -p "$pid" -batch -ex "thread apply all bt" \
        -ex 'print (char*)SDL_GetCurrentVideoDriver()' -ex 'print (int)SDL_GetNumVideoDisplays()' \
        -ex 'print (int)SDL_NumJoysticks()' -ex 'print (void*)SDL_GetKeyboardFocus()' 2>&1 | grep -v '^\[New'
    fi
    echo "== windows of the game after that"
    xdotool search --pid "$pid" 2>/dev/null
    echo "== game output"
    cat "$RUN/out.log"
  } >"$file" 2>&1
}

now_ms() { date +%s%3N; }

# The settings file From with full screen turned off, written to To: its
# scrambled bytes come in pairs (pad, pad xor byte) and the plain text ends
# in the decimal sum of its bytes.
windowed_settings() {
  local bytes plain="" text sum=0 out="" i c
  read -ra bytes <<<"$(od -An -v -tu1 "$1" | tr -s ' \n' ' ')"
  for ((i = 0; i + 1 < ${#bytes[@]}; i += 2)); do
    printf -v c "\\$(printf %03o $((bytes[i] ^ bytes[i + 1])))"
    plain+=$c
  done
  local -a fields
  IFS=, read -ra fields <<<"${plain%,*}"
  fields[2]=0
  text="$(IFS=,; echo "${fields[*]}"),"
  for ((i = 0; i < ${#text}; i++)); do
    printf -v c %d "'${text:i:1}"
    sum=$((sum + c))
  done
  text+=$sum
  # One pad for every byte: the reader only checks the sum.
  for ((i = 0; i < ${#text}; i++)); do
    printf -v c %d "'${text:i:1}"
    out+="\\$(printf %03o 100)\\$(printf %03o $((100 ^ c)))"
  done
  printf "$out" >"$2"
}

stalled=0 slowest=0 total_ms=0
for i in $(seq "$STARTS"); do
  RUN="$WORK/run$i"
  mkdir -p "$RUN"
  cp "$PAK" "$RUN/game.pak"
  # Every other start is windowed: a copy of the settings the last windowed
  # start left behind once one exists (the default is full screen).
  [ $((i % 2)) -eq 0 ] && [ -f "$WORK/windowed.dat" ] && cp "$WORK/windowed.dat" "$RUN/config.dat"
  start=$(now_ms)
  # The game picks its video driver itself, as a player's would.
  (cd "$RUN" && exec env -u SDL_VIDEODRIVER SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}" "$BIN" >"$RUN/out.log" 2>&1) &
  GAME_PID=$!
  shown=""
  deadline=$((start + START_TIMEOUT * 1000))
  while [ "$(now_ms)" -lt "$deadline" ]; do
    if ! kill -0 "$GAME_PID" 2>/dev/null; then break; fi
    shown=$(xdotool search --onlyvisible --pid "$GAME_PID" --name '^Vyrn' 2>/dev/null | head -n1)
    [ -n "$shown" ] && break
    sleep 0.05
  done
  took=$(($(now_ms) - start))
  if [ -z "$shown" ]; then
    if kill -0 "$GAME_PID" 2>/dev/null; then
      stalled=$((stalled + 1))
      report "$GAME_PID" "$STALL_DIR/stall-$i.txt" "start $i: no window after ${took} ms"
      echo "start-loop: start $i stalled (no window after ${took} ms); report in $STALL_DIR/stall-$i.txt"
      kill -9 "$GAME_PID" 2>/dev/null
    else
      wait "$GAME_PID"
      echo "start-loop: start $i ended with code $? before showing a window:" >&2
      cat "$RUN/out.log" >&2
      stalled=$((stalled + 1))
    fi
    wait "$GAME_PID" 2>/dev/null
    GAME_PID=""
    continue
  fi
  total_ms=$((total_ms + took))
  [ "$took" -gt "$slowest" ] && slowest=$took
  # Let the splash run a little, then close through the game's own path.
  sleep 0.3
  kill -TERM "$GAME_PID" 2>/dev/null
  ended=""
  for _ in $(seq $((START_TIMEOUT * 20))); do
    kill -0 "$GAME_PID" 2>/dev/null || { ended=1; break; }
    sleep 0.05
  done
  if [ -z "$ended" ]; then
    stalled=$((stalled + 1))
    report "$GAME_PID" "$STALL_DIR/stall-$i.txt" "start $i: did not end within ${START_TIMEOUT} s of SIGTERM"
    echo "start-loop: start $i did not close; report in $STALL_DIR/stall-$i.txt"
    kill -9 "$GAME_PID" 2>/dev/null
  fi
  wait "$GAME_PID" 2>/dev/null
  GAME_PID=""
  [ -f "$WORK/windowed.dat" ] || [ ! -f "$RUN/config.dat" ] || windowed_settings "$RUN/config.dat" "$WORK/windowed.dat"
done

shown_count=$((STARTS - stalled))
echo "start-loop: $STARTS starts, $stalled stalled; window shown after $((shown_count > 0 ? total_ms / shown_count : 0)) ms on average, $slowest ms at most (load jobs: $LOAD_JOBS)"
[ "$stalled" -eq 0 ] || { echo "start-loop: reports in $STALL_DIR"; exit 1; }
rmdir "$STALL_DIR" 2>/dev/null
exit 0
