#!/usr/bin/env bash
# Builds everything and runs the whole test suite, saying how long each stage took.
# QUORVI_SKIP_SANITIZE=1 skips the fuzzing and the sanitizer stages. For a quick run of the
# tests that need neither the built dictionary nor a display: `ctest -L fast` in build/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUORVI_BUILD_DIR:-$root/build}
jobs=$(nproc)
# Tests that need the built dictionary fail here when it is missing, instead of skipping.
export QUORVI_FULL_RUN=1

started=$SECONDS
# stage NAME COMMAND...: runs the command and says how long it took, whether it passed or not.
stage() {
  local name=$1 begun=$SECONDS status=0
  shift
  echo "test.sh: $name ..."
  "$@" || status=$?
  echo "test.sh: $name took $((SECONDS - begun)) s$([ $status -eq 0 ] || echo ", FAILED ($status)")"
  [ $status -eq 0 ] || exit $status
}

# Warnings are errors here: a change that adds one does not pass.
stage "build" "$root/scripts/build.sh" -DQUORVI_WERROR=ON
# The dictionary is built once, here; the build is skipped when its inputs have not changed.
stage "dictionary" sh -c "cd '$build/runtime' && ./quorvi-dict build"
stage "tests" sh -c "cd '$build' && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$jobs"

# Every fuzz target for a few seconds (FUZZ_SECONDS, default 10 here), then the same suite
# built with AddressSanitizer and UndefinedBehaviorSanitizer. The sanitizer build reads the
# dictionary built above (the builder itself runs under the sanitizers in its own tests, on
# small dictionaries), and checks it as the program reads it.
if [ "${QUORVI_SKIP_SANITIZE:-0}" != 1 ]; then
  stage "fuzzing" env FUZZ_SECONDS="${FUZZ_SECONDS:-10}" "$root/scripts/fuzz.sh"
  asan=$build-asan
  stage "sanitizer build" sh -c "cmake -S '$root' -B '$asan' -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DQUORVI_SANITIZE=ON -DQUORVI_BENCHMARKS=OFF >/dev/null && cmake --build '$asan' -j$jobs"
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1
  export LSAN_OPTIONS=suppressions=$root/tests/leak/lsan.supp:print_suppressions=0
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  stage "sanitizer dictionary" sh -c "mkdir -p '$asan/runtime/dict' &&
    cp '$build/runtime/dict/'* '$asan/runtime/dict/' && cd '$asan/runtime' &&
    ASAN_OPTIONS=detect_leaks=0 ./quorvi-dict verify"
  stage "sanitizer tests" sh -c "cd '$asan' && QT_QPA_PLATFORM=offscreen \
    ctest --output-on-failure -j$jobs --fixture-exclude-setup quorvi_runtime_dictionary"
fi
echo "test.sh: all stages passed in $((SECONDS - started)) s"
