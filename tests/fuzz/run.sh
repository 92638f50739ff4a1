#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# into build/fuzz and runs each for the given number of seconds (default 60) on a copy of its
# seed corpus, so that inputs found on the way never land in the source tree. Any crash,
# leak, sanitizer report or broken property fails the script.
set -euo pipefail

seconds="${1:-60}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$root/build/fuzz"
targets=(fuzz_inifile fuzz_commatext fuzz_answerrecord fuzz_imagesize fuzz_cp932 fuzz_fullwidth)

CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --parallel "$(nproc)"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:symbolize=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

work="$build/run"
rm -rf "$work"
for target in "${targets[@]}"; do
  corpus="$work/corpus/$target"
  mkdir -p "$corpus" "$work/artifacts/$target"
  cp "$here/corpus/$target/"* "$corpus/"
  echo "== $target: ${seconds}s"
  if ! "$build/$target" "$corpus" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=30 \
      -print_final_stats=1 -artifact_prefix="$work/artifacts/$target/" 2>"$work/$target.log"; then
    tail -n 60 "$work/$target.log"
    echo "FAILED: $target (input kept in $work/artifacts/$target/)" >&2
    exit 1
  fi
  grep -E '^stat::number_of_executed_units|^Done' "$work/$target.log" || true
done
echo "All fuzz targets ran ${seconds}s each without a finding."
