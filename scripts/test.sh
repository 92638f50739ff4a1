#!/usr/bin/env bash
# Installs what is missing, builds once with AddressSanitizer, UndefinedBehaviorSanitizer and
# warnings as errors (the asan preset), and runs every test on that build, stage by stage,
# printing each stage's time:
#   layers (includes point down), build, tests (the crash harness's 20 SIGKILL cycles among
#   them), desktop walk (the real program under Xvfb and openbox), the Debian package (built
#   from that build, unpacked, its operator tool checking its sample), the Windows backends
#   under Wine, fuzz runs.
# EXAMORA_SKIP_ASAN=1 builds and tests the dev preset instead, for a quicker local run.
# EXAMORA_FUZZ_SECONDS sets each fuzz target's run time (default 30; two run at a time).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

timings=()
stage() {
  local name="$1"
  shift
  local started=$SECONDS
  echo "==== $name"
  "$@"
  timings+=("$(printf '%-18s %4d s' "$name" $((SECONDS - started)))")
  echo "==== $name: $((SECONDS - started)) s"
}

examora_install_packages "${EXAMORA_PACKAGES[@]}" "${EXAMORA_WINE_PACKAGES[@]}"
export QT_QPA_PLATFORM=offscreen
jobs="$(nproc)"
preset=asan
if [ "${EXAMORA_SKIP_ASAN:-0}" = "1" ]; then
  preset=dev
  echo "==== sanitizers skipped (EXAMORA_SKIP_ASAN=1): the dev build is tested"
fi

stage "layers" python3 "$EXAMORA_ROOT/scripts/check_layers.py" "$EXAMORA_ROOT/src"
stage "build ($preset)" examora_build "$preset"
# The crash harness (20 SIGKILL cycles) runs beside the other areas.
stage "tests" ctest --preset "$preset" --parallel "$jobs"
# The real program under a window manager, driven like a candidate: stacking and titles.
stage "desktop walk" bash "$EXAMORA_ROOT/tests/desktop/run.sh" "$EXAMORA_ROOT/build/$preset"
# The Debian package of this build, unpacked; the installed tool checks the installed sample.
stage "package" bash "$EXAMORA_ROOT/scripts/package_check.sh" "$EXAMORA_ROOT/build/$preset"
# The Windows backends, built with mingw-w64 and run under Wine against real Win32 behaviour.
stage "win32 under wine" bash "$EXAMORA_ROOT/tests/win32/run.sh"
# Every file reader under libFuzzer for a bounded time; a finding fails the run.
stage "fuzz" bash "$EXAMORA_ROOT/tests/fuzz/run.sh" "${EXAMORA_FUZZ_SECONDS:-30}"

echo "==== stage times"
printf '%s\n' "${timings[@]}"
