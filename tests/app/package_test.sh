#!/bin/sh
# Builds the Debian package of the build tree, checks it with lintian and its AppStream
# metainfo with appstreamcli, unpacks it into a scratch root with dpkg -x, searches with the
# unpacked /usr/bin/quorvi-dict from an empty folder, starts the
# unpacked program from an empty folder elsewhere on the current X display, types
# [bi:tl] (keyboard letters only, which xdotool types reliably) and copies the first
# listed word through the list's context menu: it must be "beetle".
#   package_test.sh BUILD_DIR SCREEN_HELPER
# Exits 77 (skipped) when the build has no dictionary to package, 1 in the full run.
set -eu
build=$1
helper=$2
export QT_QPA_PLATFORM=xcb
export LC_ALL=C.UTF-8

if [ ! -f "$build/runtime/dict/words.db" ]; then
  echo "package test: no dictionary built in $build/runtime"
  # In the full run (scripts/test.sh) a missing dictionary fails the test instead.
  [ "${QUORVI_FULL_RUN:-0}" = 1 ] && exit 1
  exit 77
fi

scratch=$(mktemp -d)
pid=
cleanup() {
  [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/package" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log"; exit 1; }
deb=$(ls "$scratch"/package/quorvi_*.deb)
echo "package test: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB"

# lintian: no errors, and no warnings but the one a first package cannot avoid (no ITP
# bug to close).
lintian --tag-display-limit 0 "$deb" 2>/dev/null | grep -E '^[EW]:' | grep -v 'initial-upload-closes-no-bugs' >"$scratch/lintian.log" || true
if [ -s "$scratch/lintian.log" ]; then
  echo "package test: lintian:"; cat "$scratch/lintian.log"; exit 1
fi

dpkg-deb -x "$deb" "$scratch/root"
appstreamcli validate --no-net "$scratch"/root/usr/share/metainfo/*.metainfo.xml
grep -q '^Exec=/usr/bin/quorvi-finder$' "$scratch/root/usr/share/applications/quorvi-finder.desktop"

mkdir "$scratch/elsewhere"
cd "$scratch/elsewhere"

# The command-line tool is on the PATH too, with its manual page, and finds its own runtime
# folder (dictionary and REGEXP module) from any folder through the link.
[ -f "$scratch/root/usr/share/man/man1/quorvi-dict.1.gz" ]
[ -L "$scratch/root/usr/bin/quorvi-dict" ]
found=$("$scratch/root/usr/bin/quorvi-dict" search 'kæt') ||
  { echo "package test: quorvi-dict search failed"; exit 1; }
echo "package test: quorvi-dict search kæt: $(echo "$found" | head -n 3 | tr '\n' ' ')"
echo "$found" | grep -qx 'cat' || { echo "package test: quorvi-dict did not find cat"; exit 1; }
spelt=$("$scratch/root/usr/bin/quorvi-dict" search --spelling '^beetl') ||
  { echo "package test: quorvi-dict search --spelling failed"; exit 1; }
echo "$spelt" | grep -qx 'beetle' || { echo "package test: quorvi-dict did not spell beetle"; exit 1; }
"$scratch/root/usr/bin/quorvi-finder" --lang en >"$scratch/finder.log" 2>&1 &
pid=$!
title='Quorvi Word Finder V1.7 -- find English words by their sound'
tries=0
until window=$(xdotool search --name "^$title\$" 2>/dev/null | head -n 1) && [ -n "$window" ]; do
  tries=$((tries + 1))
  if [ "$tries" -gt 150 ] || ! kill -0 "$pid" 2>/dev/null; then
    echo "package test: no window"; cat "$scratch/finder.log"; exit 1
  fi
  sleep 0.1
done
sleep 1

# Type into the input field, then copy the first row's word from its context menu.
xdotool mousemove --window "$window" 100 140 click 1
xdotool key --window "$window" ctrl+a BackSpace
xdotool type --window "$window" --delay 50 'bi:tl'
sleep 1
xdotool mousemove --window "$window" 60 178 click 3
sleep 0.5
xdotool key Down Return
sleep 0.5
copied=$("$helper" clipboard)
echo "package test: copied \"$copied\""
if grep -q -e 'Error' "$scratch/finder.log"; then
  echo "package test: the program reported errors:"; cat "$scratch/finder.log"; exit 1
fi
[ "$copied" = "beetle" ]
