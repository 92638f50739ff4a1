#!/usr/bin/env bash
# The package stage of scripts/test.sh: builds the Debian package from a finished build (no
# second configure or compile), unpacks it into a temporary root and runs the installed
# operator tool's check on the installed sample installation.
#   scripts/package_check.sh [BUILD_DIR]     (default build/dev)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build/dev}" && pwd)"
out="$build/package"
rm -rf "$out"
mkdir -p "$out"
# The install step runs the sample builder of this build; a sanitizer build's leak report of
# Qt's own start-up must not stop the package (the tests stage checks for leaks).
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) || {
  cat "$out/cpack.log"
  exit 1
}
deb="$(ls "$out"/examora_*.deb)"
unpacked="$(mktemp -d)"
trap 'rm -rf "$unpacked"' EXIT
dpkg -x "$deb" "$unpacked"
echo "package: $(basename "$deb"), $(du -h "$deb" | cut -f1)"
"$unpacked/usr/bin/examora-admin" check "$unpacked/usr/share/examora/sample"
