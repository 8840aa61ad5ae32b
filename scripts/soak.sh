#!/bin/bash
# The bot's soak: vyrn-sim --bot over all 29 start levels (the start level
# as the level word sets it), one and two players, a new seed every run,
# until TOTAL game ticks have been played. vyrn-sim checks the game's rules
# after every tick and exits 1 on the first broken one.
# Usage: scripts/soak.sh VYRN_SIM GAME_PAK TOTAL_TICKS [TICKS_PER_GAME]
# (4000 ticks a game unless given; a short soak with short games still
# visits every start level, one and two players, within 58 games.)
set -uo pipefail
sim=$1 pak=$2 total=$3 per_game=${4:-4000}
out=$(mktemp)
trap 'rm -f "$out"' EXIT
played=0 run=0 start=$(date +%s)
while [ "$played" -lt "$total" ]; do
  level=$((run % 29 + 1)) players=$((run / 29 % 2 + 1)) seed=$((run * 7919 + 17))
  left=$((total - played))
  ticks=$((left < per_game ? left : per_game))
  if ! "$sim" --pak "$pak" --seed "$seed" --level "$level" --lives 9 --players "$players" --ticks "$ticks" --bot >"$out"; then
    echo "soak: failed in run $run (seed $seed, level $level, $players players); last lines:" >&2
    tail -n 3 "$out" | cut -c1-400 >&2
    exit 1
  fi
  n=$(grep -c '"tick"' "$out")
  [ "$n" -gt 0 ] || { echo "soak: run $run played no tick" >&2; exit 1; }
  played=$((played + n)) run=$((run + 1))
done
echo "soak: $played ticks in $run games, $(($(date +%s) - start)) s"
