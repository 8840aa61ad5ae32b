#!/usr/bin/env bash
# Runs a program under rising address-space limits. Below some limit it
# cannot even load; above it, until it has what it needs, its allocations
# fail: each such run must end with the "Not enough memory" words and an
# exit code, never by a signal (an uncaught bad_alloc aborts) and never
# with the bare "std::bad_alloc".
#   LowMemory.sh STEP_KB EXE ARGS...   (run in a fresh folder)
set -u
step=$1; shift
dir=$(cd "$(mktemp -d)" && pwd -P)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
[ -n "${VYRN_PAK_COPY:-}" ] && cp "$VYRN_PAK_COPY" game.pak
found=0
for ((limit = step; limit <= 600000; limit += step)); do
  out=$( (ulimit -v $limit; timeout 3 "$@") 2>&1 ); rc=$?
  if grep -qF "std::bad_alloc" <<<"$out"; then echo "limit ${limit} KiB: bare bad_alloc (rc $rc): $out"; exit 1; fi
  if [ $rc -ge 128 ] && [ $rc -ne 124 ]; then echo "limit ${limit} KiB: died by a signal (rc $rc): $out"; exit 1; fi
  if grep -qF "Not enough memory" <<<"$out"; then
    [ $rc -ne 0 ] || { echo "limit ${limit} KiB: out of memory but exit code 0"; exit 1; }
    found=1
    continue
  fi
  [ $rc -eq 124 ] || [ $rc -eq 0 ] && break  # it has all it needs from here on
done
[ $found -eq 1 ] || { echo "no limit made an allocation fail after the program had loaded (last: $limit KiB)"; exit 1; }
echo "low memory: ok (enough from $limit KiB)"
