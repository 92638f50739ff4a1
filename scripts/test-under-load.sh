#!/usr/bin/env bash
# Runs the tests on a busy machine: busy processes (two per core by default) compete with the
# tests for the whole run, so that a test whose verdict depends on the machine's speed fails
# here rather than on a loaded build host. Run it before a change that touches timing:
#   scripts/test-under-load.sh [BUILD_DIR]     (default build/dev)
# The test areas run first (ctest, as many at a time as there are cores), then the desktop walk
# (which needs the program and the sample tool in BUILD_DIR). The load ends with the script,
# however it ends.
#   EXAMORA_LOAD_PER_CORE   busy processes per core (default 2)
#   EXAMORA_LOAD_WALK=0     skip the desktop walk
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build/dev}" && pwd)"
cores="$(nproc)"
per_core="${EXAMORA_LOAD_PER_CORE:-2}"

load_pids=()
stop_load() {
  local pid
  for pid in "${load_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${load_pids[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  load_pids=()
}
trap stop_load EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

for ((i = 0; i < cores * per_core; ++i)); do
  (while :; do :; done) &
  load_pids+=("$!")
done
echo "==== load: ${#load_pids[@]} busy processes on $cores cores"

export QT_QPA_PLATFORM=offscreen
status=0
started=$SECONDS
# A build folder of a preset runs with that preset's test environment (the sanitizers'
# options for build/asan).
cd "$root"
preset="$(basename "$build")"
if [ "$build" = "$root/build/$preset" ] && ctest --list-presets 2>/dev/null | grep -q "\"$preset\""; then
  ctest --preset "$preset" --parallel "$cores" || status=1
else
  ctest --test-dir "$build" --output-on-failure --parallel "$cores" || status=1
fi
echo "==== tests under load: $((SECONDS - started)) s"

if [ "${EXAMORA_LOAD_WALK:-1}" != "0" ]; then
  started=$SECONDS
  bash "$root/tests/desktop/run.sh" "$build" || status=1
  echo "==== desktop walk under load: $((SECONDS - started)) s"
fi
exit "$status"
