#!/bin/sh
# Starts the built program on the current X display from an empty folder elsewhere
# (it finds its runtime folder beside its executable), once in Chinese and once in
# English. Each time it waits for the window by its title, checks its size, opens the
# result list's context menu with a right click and takes a screenshot.
#   screen_test.sh RUNTIME_DIR SCREEN_HELPER OUTPUT_PNG
# OUTPUT_PNG gets the Chinese window; the English one goes beside it as *-en.png.
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
pid=
cleanup() {
  [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
  rm -rf "$elsewhere"
  [ "$folder" = "$runtime" ] || rm -rf "$folder"
}
trap cleanup EXIT
if [ ! -f "$runtime/dict/words.db" ]; then
  folder=$(mktemp -d)
  "$helper" layout "$folder"
  cp "$runtime/quorvi-finder" "$folder/"
  cp -r "$runtime/help" "$runtime/translations" "$folder/" 2>/dev/null || true
  echo "screen test: no dict/words.db in $runtime, using a test dictionary in $folder"
fi

# shoot LANGUAGE TITLE PNG
shoot() {
  cd "$elsewhere"
  QUORVI_LANG=$1 "$folder/quorvi-finder" >"$3.log" 2>&1 &
  pid=$!
  tries=0
  while :; do
    window=$(xwininfo -root -tree | grep -F "\"$2\"" | awk '{print $1}' | head -n 1)
    [ -n "$window" ] && break
    tries=$((tries + 1))
    if [ "$tries" -gt 150 ] || ! kill -0 "$pid" 2>/dev/null; then
      echo "screen test: no window titled \"$2\""
      xwininfo -root -tree | head -n 20
      cat "$3.log"
      exit 1
    fi
    sleep 0.1
  done
  echo "screen test ($1): window $window"
  xwininfo -id "$window" | grep -E 'Width|Height|Map State'
  xwininfo -id "$window" | grep -q 'Width: 613' || { echo "screen test: wrong width"; exit 1; }
  xwininfo -id "$window" | grep -q 'Height: 397' || { echo "screen test: wrong height"; exit 1; }

  # A right click on the list's first row, "example".
  sleep 1
  if command -v xdotool >/dev/null; then
    xdotool mousemove --window "$window" 60 178 click 3
    sleep 1
  else
    echo "screen test: no xdotool (package xdotool), no context menu in the screenshot"
  fi
  "$helper" grab "$3"

  # The dictionary and the REGEXP module loaded without complaint.
  if grep -q 'Error' "$3.log"; then
    echo "screen test: the program reported errors:"
    cat "$3.log"
    exit 1
  fi
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  pid=
}

shoot zh 'Quorvi英语听音查词 V1.7 --音标查词，听音查字的利器' "$png"
shoot en 'Quorvi Word Finder V1.7 -- find English words by their sound' "${png%.png}-en.png"
