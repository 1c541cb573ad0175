#!/bin/sh
# Starts the built program on the current X display from an empty folder elsewhere
# (it finds its runtime folder beside its executable), waits for its window by title
# and takes a screenshot.
#   screen_test.sh RUNTIME_DIR SCREEN_HELPER OUTPUT_PNG
# Without a built dictionary in the runtime folder, a copy of the program runs from a
# folder laid out with a small test dictionary instead.
set -eu
runtime=$1
helper=$2
png=$3
export QT_QPA_PLATFORM=xcb
export LC_ALL=C.UTF-8

folder=$runtime
elsewhere=$(mktemp -d)
if [ ! -f "$runtime/dict/words.db" ]; then
  folder=$(mktemp -d)
  "$helper" layout "$folder"
  cp "$runtime/quorvi-finder" "$folder/"
  echo "screen test: no dict/words.db in $runtime, using a test dictionary in $folder"
fi

cd "$elsewhere"
"$folder/quorvi-finder" >"$png.log" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$elsewhere"; [ "$folder" = "$runtime" ] || rm -rf "$folder"' EXIT

title='Quorvi英语听音查词 V1.7 --音标查词，听音查字的利器'
tries=0
while :; do
  window=$(xwininfo -root -tree | grep -F "\"$title\"" | awk '{print $1}' | head -n 1)
  [ -n "$window" ] && break
  tries=$((tries + 1))
  if [ "$tries" -gt 150 ] || ! kill -0 "$pid" 2>/dev/null; then
    echo "screen test: no window titled \"$title\""
    xwininfo -root -tree | head -n 20
    cat "$png.log"
    exit 1
  fi
  sleep 0.1
done
echo "screen test: window $window"
xwininfo -id "$window" | grep -E 'Width|Height|Map State'
xwininfo -id "$window" | grep -q 'Width: 613' || { echo "screen test: wrong width"; exit 1; }
xwininfo -id "$window" | grep -q 'Height: 397' || { echo "screen test: wrong height"; exit 1; }

sleep 1
"$helper" grab "$png"

# The dictionary and the REGEXP module loaded without complaint.
if grep -q 'Error' "$png.log"; then
  echo "screen test: the program reported errors:"
  cat "$png.log"
  exit 1
fi
