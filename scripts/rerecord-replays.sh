#!/bin/bash
# Re-records the golden replays under tests/program/replays from their scripts
# (the seed is on each script's "# seed: N" line), then the sums of the frames
# they show. Run it after a change that alters the game or its pictures on
# purpose; `git diff --stat` then shows which ones moved.
# Usage: scripts/rerecord-replays.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target vyrn-record vyrn-sim game_pak test_replay -j2 >/dev/null
for script in tests/program/replays/*.txt; do
  name=${script%.txt}
  seed=$(sed -n 's/^# seed: *\([0-9]*\).*/\1/p' "$script" | head -1)
  [ -n "$seed" ] || { echo "$script: no '# seed: N' line" >&2; exit 1; }
  "$build/tools/replay/vyrn-record" --pak "$build/game.pak" --seed "$seed" --script "$script" --out "$name.vrp"
  "$build/tools/sim/vyrn-sim" --pak "$build/game.pak" --replay "$name.vrp" >/dev/null
done
VYRN_RECORD_FRAME_SUMS=1 "$build/tests/program/test_replay" --gtest_filter='ReplayFrames.*' >/dev/null
git status --short tests/program/replays
