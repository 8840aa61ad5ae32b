#!/usr/bin/env bash
# Starts the real program headless in a fresh folder.
#   missing: without game.pak it must name the file and the folder and exit non-zero.
#   sigterm: with game.pak it must run until SIGTERM and then end cleanly with 0.
set -u
mode=$1 exe=$2 pak=$3
dir=$(cd "$(mktemp -d)" && pwd -P)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
case $mode in
  missing)
    out=$(timeout 20 "$exe" 2>&1); rc=$?
    [ "$rc" -ne 0 ] && [ "$rc" -ne 124 ] || { echo "exit code $rc without game.pak"; exit 1; }
    grep -qF '"game.pak"' <<<"$out" || { echo "message does not name the file: $out"; exit 1; }
    grep -qF "\"$dir\"" <<<"$out" || { echo "message does not name the folder $dir: $out"; exit 1; }
    [ ! -e config.dat ] || { echo "settings written although the game could not start"; exit 1; }
    ;;
  sigterm)
    cp "$pak" game.pak
    "$exe" & pid=$!
    # config.dat appears during start-up, after the signal handlers are in place.
    for _ in $(seq 100); do [ -f config.dat ] && break; sleep 0.1; done
    [ -f config.dat ] || { echo "the program wrote no config.dat"; kill -KILL $pid; exit 1; }
    sleep 0.3
    kill -0 $pid 2>/dev/null || { echo "the program ended by itself"; exit 1; }
    kill -TERM $pid
    wait $pid; rc=$?
    [ "$rc" -eq 0 ] || { echo "exit code $rc after SIGTERM"; exit 1; }
    ;;
  *) echo "unknown mode $mode"; exit 2 ;;
esac
echo "vyrn $mode: ok"
