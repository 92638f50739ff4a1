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
# The program's module of page screens, where the program's RUNPATH points and beside the
# sample's part programs (their copies of the program look beside themselves first).
if [ -f "$build/src/examora-pages.so" ]; then
  for module in "$unpacked/usr/lib/examora/examora-pages.so" \
                "$unpacked/usr/share/examora/sample/examora-pages.so"; do
    [ -f "$module" ] || { echo "missing from the package: ${module#"$unpacked"}" >&2; exit 1; }
  done
  readelf -d "$unpacked/usr/bin/examora" | grep -q 'RUNPATH.*\$ORIGIN/../lib/examora' || {
    echo "the installed program does not look for its module in /usr/lib/examora" >&2
    exit 1
  }
fi
"$unpacked/usr/bin/examora-admin" check "$unpacked/usr/share/examora/sample"
