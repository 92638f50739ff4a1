#!/usr/bin/env bash
# The desktop stage: the real program walked through a knowledge part of the sample
# installation on a virtual X server with a window manager (openbox), by mouse and keyboard,
# checking at every step that the screen to use is the topmost visible window.
#   tests/desktop/run.sh [BUILD_DIR]     (default build/dev; needs examora and the sample tool)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${1:-$root/build/dev}"
exec python3 "$root/tests/desktop/walk.py" "$build" "$build/desktop-run"
