#!/usr/bin/env bash
# Configures and builds the project into build/ (or $QUORVI_BUILD_DIR).
# Extra arguments go to the CMake configure step.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUORVI_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${QUORVI_BUILD_TYPE:-Release} "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
