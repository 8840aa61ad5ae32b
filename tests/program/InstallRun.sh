#!/usr/bin/env bash
# Installs the build into a staging folder, validates the desktop entry and
# the AppStream metadata, then starts the installed game headless from an
# empty folder: it must find its archive through XDG_DATA_DIRS, keep its
# settings in XDG_DATA_HOME/vyrn-rekindled and leave the working folder alone.
set -u
build=$1 prefix=$2
tmp=$(cd "$(mktemp -d)" && pwd -P)
trap 'rm -rf "$tmp"' EXIT
DESTDIR="$tmp/stage" cmake --install "$build" >/dev/null || { echo "install failed"; exit 1; }
root="$tmp/stage$prefix"
for f in bin/vyrn-rekindled share/vyrn-rekindled/game.pak share/applications/net.vyrn_rekindled.Vyrn.desktop \
         share/metainfo/net.vyrn_rekindled.Vyrn.metainfo.xml; do
  [ -f "$root/$f" ] || { echo "not installed: $f"; exit 1; }
done
for s in 16 24 32 48 64 128 256; do
  icon="$root/share/icons/hicolor/${s}x${s}/apps/vyrn-rekindled.png"
  [ -f "$icon" ] || { echo "no ${s}x${s} icon"; exit 1; }
  head -c 24 "$icon" | od -An -tu1 -w24 | tr -s ' ' | grep -q "^ 137 80 78 71 13 10 26 10 0 0 0 13 73 72 68 82 0 0 $((s / 256)) $((s % 256)) 0 0 $((s / 256)) $((s % 256))" \
    || { echo "${s}x${s} icon is not a PNG of that size"; exit 1; }
done
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root/share/applications/net.vyrn_rekindled.Vyrn.desktop" || exit 1
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$root/share/metainfo/net.vyrn_rekindled.Vyrn.metainfo.xml" >/dev/null || exit 1
fi

mkdir "$tmp/work" "$tmp/home"
cd "$tmp/work"
XDG_DATA_DIRS="$root/share" XDG_DATA_HOME="$tmp/home/data" "$root/bin/vyrn-rekindled" & pid=$!
user="$tmp/home/data/vyrn-rekindled"
for _ in $(seq 100); do [ -f "$user/config.dat" ] && break; sleep 0.1; done
[ -f "$user/config.dat" ] || { echo "no config.dat in $user"; kill -KILL $pid; exit 1; }
sleep 0.3
kill -0 $pid 2>/dev/null || { echo "the installed game ended by itself"; exit 1; }
kill -TERM $pid
wait $pid; rc=$?
[ "$rc" -eq 0 ] || { echo "exit code $rc after SIGTERM"; exit 1; }
[ -z "$(ls -A "$tmp/work")" ] || { echo "files written into the working folder: $(ls -A "$tmp/work")"; exit 1; }
echo "installed game: ok"
