#!/bin/sh
# A dictionary built by a builder module that has changed since is built again: the stamp
# beside it covers the module quorvi-dict loads, not only quorvi-dict itself.
# Usage: builder_stamp_test.sh RUNTIME_DIR
set -eu
runtime=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for f in quorvi-dict quorvi-dictbuild.so quorvi-codec.so regexp.dll; do
  [ -e "$runtime/$f" ] && cp "$runtime/$f" "$work/"
done
build() { (cd "$work" && ./quorvi-dict build --no-npm --limit 200 2>&1); }
build > "$work/first.log" || { cat "$work/first.log"; exit 1; }
build > "$work/second.log"
grep -q "is up to date" "$work/second.log" || { echo "unchanged builder rebuilt"; exit 1; }
# A builder module with other contents is a new builder.
printf 'x' >> "$work/quorvi-dictbuild.so"
build > "$work/third.log"
if grep -q "is up to date" "$work/third.log"; then
  echo "a changed builder module kept the old dictionary"
  exit 1
fi
echo "ok"
