#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test, stage by stage,
# printing each stage's time:
#   dev build, dev tests, crash harness (20 SIGKILL cycles), sanitizer build, sanitizer tests
#   (AddressSanitizer + UndefinedBehaviorSanitizer over the whole suite), fuzz runs.
# EXAMORA_SKIP_ASAN=1 skips the two sanitizer stages for a quicker local run; CI runs them.
# EXAMORA_FUZZ_SECONDS sets each fuzz target's run time (default 60).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

timings=()
stage() {
  local name="$1"
  shift
  local started=$SECONDS
  echo "==== $name"
  "$@"
  timings+=("$(printf '%-16s %4d s' "$name" $((SECONDS - started)))")
  echo "==== $name: $((SECONDS - started)) s"
}

examora_install_packages "${EXAMORA_PACKAGES[@]}"
export QT_QPA_PLATFORM=offscreen
jobs="$(nproc)"

stage "layers" python3 "$EXAMORA_ROOT/scripts/check_layers.py" "$EXAMORA_ROOT/src"
stage "dev build" examora_build dev
stage "dev tests" ctest --preset dev --parallel "$jobs" --label-exclude crash
stage "crash harness" ctest --preset dev --label-regex crash
if [ "${EXAMORA_SKIP_ASAN:-0}" != "1" ]; then
  stage "asan build" examora_build asan
  stage "asan tests" ctest --preset asan --parallel "$jobs"
else
  echo "==== sanitizer stages skipped (EXAMORA_SKIP_ASAN=1)"
fi
# Every file reader under libFuzzer for a bounded time; a finding fails the run.
stage "fuzz" bash "$EXAMORA_ROOT/tests/fuzz/run.sh" "${EXAMORA_FUZZ_SECONDS:-60}"

echo "==== stage times"
printf '%s\n' "${timings[@]}"
