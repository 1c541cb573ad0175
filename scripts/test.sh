#!/usr/bin/env bash
# Builds everything and runs the whole test suite.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUORVI_BUILD_DIR:-$root/build}
# Warnings are errors here: a change that adds one does not pass.
"$root/scripts/build.sh" -DQUORVI_WERROR=ON
# The learner word-list tests run against the real dictionary; the build is skipped when
# its inputs have not changed.
(cd "$build/runtime" && ./quorvi-dict build)
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"

# The same suite built with AddressSanitizer and UndefinedBehaviorSanitizer, after every fuzz
# target has run for a few seconds (FUZZ_SECONDS, default 10 here). QUORVI_SKIP_SANITIZE=1
# skips this stage for quick local runs.
if [ "${QUORVI_SKIP_SANITIZE:-0}" != 1 ]; then
  FUZZ_SECONDS=${FUZZ_SECONDS:-10} "$root/scripts/fuzz.sh"
  asan=$build-asan
  cmake -S "$root" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVI_SANITIZE=ON >/dev/null
  cmake --build "$asan" -j"$(nproc)"
  (cd "$asan/runtime" && ASAN_OPTIONS=detect_leaks=0 ./quorvi-dict build)
  cd "$asan"
  QT_QPA_PLATFORM=offscreen \
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1 \
    LSAN_OPTIONS=suppressions=$root/tests/leak/lsan.supp:print_suppressions=0 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --output-on-failure -j"$(nproc)"
fi
