#!/bin/sh
# Starts the built program on the current X display from an empty folder elsewhere
# (it finds its runtime folder beside its executable), once in Chinese and once in
# English. Each time it waits for the window by its title, checks its size, opens the
# result list's context menu with a right click and takes a screenshot.
#   screen_test.sh RUNTIME_DIR SCREEN_HELPER OUTPUT_PNG
# OUTPUT_PNG gets the Chinese window; the English one goes beside it as *-en.png.
# Without a built dictionary in the runtime folder, a copy of the program runs from a
# folder laid out with a small test dictionary instead.
# Then, with xdotool, it says the word from that menu and with Ctrl+Space over and over, and
# the program must live on; under an audio server of the test's own (PULSE_SERVER and
# QUORVI_PULSE_SINK, from tests/support/with_pulse_server.sh) the sound must reach its sink.
set -eu
runtime=$1
helper=$2
png=$3
export QT_QPA_PLATFORM=xcb
export LC_ALL=C.UTF-8

folder=$runtime
elsewhere=$(mktemp -d)
pid=
recorder=
cleanup() {
  [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
  [ -z "$recorder" ] || kill "$recorder" 2>/dev/null || true
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

# The loudest sample in a raw 16-bit file.
loudest() {
  od -An -v -td2 -w2 "$1" | awk '{ v = $1 < 0 ? -$1 : $1; if (v > m) m = v } END { print m + 0 }'
}

# say_words WINDOW LOG: opens the list's context menu on the first row and picks the item that
# says the word (the fourth down), then presses Ctrl+Space, eight times each, quickly.
say_words() {
  log=$2
  heard=
  if [ -n "${PULSE_SERVER:-}" ] && command -v parecord >/dev/null; then
    heard=$elsewhere/heard.raw
    parecord --device="$QUORVI_PULSE_SINK.monitor" --raw --format=s16le --channels=1 \
      --rate=22050 "$heard" &
    recorder=$!
    sleep 0.5
  fi
  times=0
  while [ "$times" -lt 9 ]; do
    if ! kill -0 "$pid" 2>/dev/null; then
      status=0
      wait "$pid" || status=$?
      echo "screen test: the program died (exit status $status) after saying words $times times"
      cat "$log"
      pid=
      exit 1
    fi
    [ "$times" -lt 8 ] || break
    # The window is gone when the program died: the check above says so.
    xdotool mousemove --window "$1" 60 178 click 3 2>/dev/null || true
    sleep 0.3
    xdotool key Down Down Down Down Return
    sleep 0.2
    xdotool key ctrl+space
    sleep 0.1
    times=$((times + 1))
    [ "$times" -lt 8 ] || sleep 1.5
  done
  if [ -n "$heard" ]; then
    kill -INT "$recorder"
    wait "$recorder" 2>/dev/null || true
    recorder=
    peak=$(loudest "$heard")
    echo "screen test: the audio server's sink heard $(wc -c <"$heard") bytes, peak $peak"
    [ "$peak" -gt 2000 ] || { echo "screen test: no sound reached the audio server"; exit 1; }
  else
    echo "screen test: no audio server, words said without sound"
  fi
}

# learner_windows WINDOW PNG_BASE: the entry window (Ctrl+E), My words (Ctrl+Shift+D) and a
# round of the drill (Ctrl+L, Ctrl+N, a transcription typed and the first row chosen), each
# on the screen beside the main window, saved as PNG_BASE-entry.png, -words.png, -drill.png.
learner_windows() {
  # Without a window manager a click makes the main window the active one again, whose
  # shortcuts these are: on the usage box, where it changes nothing.
  activate() { xdotool mousemove --window "$1" 400 60 click 1; sleep 0.3; }
  activate "$1"
  xdotool key ctrl+e
  sleep 1
  # Saved to be looked at; the main window's keys may lie under it, which grab counts.
  "$helper" grab "$2-entry.png" >/dev/null || true
  xdotool key Escape
  sleep 0.3
  activate "$1"
  xdotool key ctrl+shift+d
  sleep 1
  "$helper" grab "$2-words.png" >/dev/null || true
  xdotool key Escape
  sleep 0.3
  activate "$1"
  xdotool key ctrl+l
  sleep 1
  xdotool key ctrl+n
  sleep 1
  xdotool type --delay 50 'ði'
  sleep 0.5
  xdotool key Down Return
  sleep 1
  "$helper" grab "$2-drill.png" >/dev/null || true
  xdotool key Escape
}

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
  if command -v xdotool >/dev/null; then
    xdotool key Escape
    say_words "$window" "$3.log"
    learner_windows "$window" "${3%.png}"
  fi

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
