#!/usr/bin/env bash
# Runs a program under rising address-space limits. Below some limit it
# cannot even load; above it, until it has what it needs, its allocations
# fail: each such run must end with the "Not enough memory" words and an
# exit code, never by a signal (an uncaught bad_alloc aborts) and never
# with the bare "std::bad_alloc".
#   LowMemory.sh STEP_KB EXE ARGS...   (run in a fresh folder)
# LOW_MEMORY_SECONDS (default 3) is how long each run may go on. A program
# that allocates its big pieces late (the game's menu music) may fit at one
# limit and still fail a little higher up, where the loader lays the
# libraries out differently: after the first run that had enough, the limits
# go on rising for a while before the search gives up.
set -u
step=$1; shift
dir=$(cd "$(mktemp -d)" && pwd -P)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
[ -n "${VYRN_PAK_COPY:-}" ] && cp "$VYRN_PAK_COPY" game.pak
found=0
seconds=${LOW_MEMORY_SECONDS:-3}
first_enough=0
for ((limit = step; limit <= 600000; limit += step)); do
  out=$( (ulimit -v $limit; timeout "$seconds" "$@") 2>&1 ); rc=$?
  if grep -qF "std::bad_alloc" <<<"$out"; then echo "limit ${limit} KiB: bare bad_alloc (rc $rc): $out"; exit 1; fi
  if [ $rc -ge 128 ] && [ $rc -ne 124 ]; then echo "limit ${limit} KiB: died by a signal (rc $rc): $out"; exit 1; fi
  if grep -qF "Not enough memory" <<<"$out"; then
    [ $rc -ne 0 ] || { echo "limit ${limit} KiB: out of memory but exit code 0"; exit 1; }
    found=1
    continue
  fi
  if [ $rc -eq 124 ] || [ $rc -eq 0 ]; then
    [ $first_enough -eq 0 ] && first_enough=$limit
    # It has all it needs from here on, once a failure was seen or the
    # search has gone well past the first limit that was enough.
    [ $found -eq 1 ] || [ $limit -ge $((first_enough + 32000)) ] && break
  fi
done
[ $found -eq 1 ] || { echo "no limit made an allocation fail after the program had loaded (last: $limit KiB)"; exit 1; }
echo "low memory: ok (enough from $limit KiB)"
