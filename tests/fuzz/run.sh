#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# into build/fuzz and runs each for the given number of seconds (default 60), two at a time.
# Each target works on its own corpus in build/fuzz/corpus/<target>, seeded from the checked-in
# corpus and kept between runs, so that long runs build on what earlier runs found while the
# inputs never land in the source tree. Any crash, leak, sanitizer report or broken property
# fails the script.
#   tests/fuzz/run.sh 30      the test script's bounded run
#   tests/fuzz/run.sh 3600    a long run; run it again to go on from its corpus
set -euo pipefail

seconds="${1:-60}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$root/build/fuzz"
targets=(fuzz_inifile fuzz_commatext fuzz_answerrecord fuzz_imagesize fuzz_cp932 fuzz_fullwidth)
parallel=2

CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER_LAUNCHER="${CMAKE_CXX_COMPILER_LAUNCHER:-}" >/dev/null
cmake --build "$build" --parallel "$(nproc)"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:symbolize=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

run_target() {
  local target="$1"
  local corpus="$build/corpus/$target"
  local artifacts="$build/artifacts/$target"
  mkdir -p "$corpus" "$artifacts"
  cp -n "$here/corpus/$target/"* "$corpus/" 2>/dev/null || true
  if ! "$build/$target" "$corpus" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=30 \
      -print_final_stats=1 -artifact_prefix="$artifacts/" 2>"$build/$target.log"; then
    tail -n 60 "$build/$target.log"
    echo "FAILED: $target (input kept in $artifacts/)" >&2
    return 1
  fi
  echo "== $target: ${seconds}s, $(grep -E '^stat::number_of_executed_units' "$build/$target.log" |
    awk '{print $2}') runs, corpus $(find "$corpus" -type f | wc -l) inputs"
}

failed=0
for ((i = 0; i < ${#targets[@]}; i += parallel)); do
  pids=()
  for target in "${targets[@]:i:parallel}"; do
    run_target "$target" &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do
    wait "$pid" || failed=1
  done
done
if [ "$failed" -ne 0 ]; then
  exit 1
fi
echo "All fuzz targets ran ${seconds}s each without a finding."
