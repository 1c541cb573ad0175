#!/usr/bin/env bash
# Builds everything, the dictionary included, and starts the program in the runtime folder.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUORVI_BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
runtime=$build/runtime
cd "$runtime"
if [ -x ./quorvi-dict ]; then
  ./quorvi-dict build
fi
if [ -x ./quorvi-finder ]; then
  exec ./quorvi-finder "$@"
fi
echo "run: the window is not built yet; the runtime folder is $runtime"
