#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, ASan and UBSan into <build>-fuzz/ and runs each one
# for FUZZ_SECONDS (default 60) on a scratch copy of its seed corpus. Stops with an error when a
# target finds a crash, a leak or a hang; the input that did it is kept in
# <build>-fuzz/findings/<target>/ (commit it under tests/fuzz/regressions/<target>/ with the fix).
# Extra arguments go to the CMake configure step.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUORVI_BUILD_DIR:-$root/build}-fuzz
seconds=${FUZZ_SECONDS:-60}
fuzzdir=$root/tests/fuzz

"$root/scripts/setup.sh"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUORVI_SANITIZE=ON -DQUORVI_FUZZ=ON \
  -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
  "$@" >/dev/null
mapfile -t targets < <(ninja -C "$build" -t targets all | sed -n 's/^\(fuzz_[a-z_0-9]*\): phony$/\1/p' | sort -u)
[ ${#targets[@]} -gt 0 ] || { echo "fuzz: no fuzz targets configured" >&2; exit 1; }
cmake --build "$build" --target "${targets[@]}" -j"${QUORVI_JOBS:-2}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
failed=()
summary=()
for target in "${targets[@]}"; do
  name=${target#fuzz_}
  work=$build/fuzz-work/$name
  findings=$build/findings/$name
  rm -rf "$work"
  mkdir -p "$work" "$findings"
  [ -d "$fuzzdir/corpus/$name" ] && cp -r "$fuzzdir/corpus/$name/." "$work/"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$findings/")
  [ -f "$fuzzdir/$name.dict" ] && options+=(-dict="$fuzzdir/$name.dict")
  # Per-target options, one per line (for example -max_len=...).
  [ -f "$fuzzdir/$name.options" ] && mapfile -t -O ${#options[@]} options < <(sed '/^#/d;/^$/d' "$fuzzdir/$name.options")
  log=$build/findings/$name.log
  echo "fuzz: $target for ${seconds}s"
  if ! (cd "$work" && "$build/tests/$target" "${options[@]}" "$work") >"$log" 2>&1; then
    failed+=("$target")
    tail -n 40 "$log" >&2
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n1)
  summary+=("$(printf '%-28s %12s runs %10s runs/s' "$target" "${runs:-?}" "${rate:-?}")")
done
printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in ${failed[*]} (inputs under $build/findings/)" >&2
  exit 1
fi
echo "fuzz: ${#targets[@]} targets ran ${seconds}s each without a finding"
