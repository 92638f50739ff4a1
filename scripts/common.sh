# Shared by scripts/test.sh and scripts/demo.sh: installs the Debian packages the build and
# the tests need, each only when it is missing, without asking questions.
set -euo pipefail

EXAMORA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

EXAMORA_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-webengine-dev libgl-dev libx11-dev libfontconfig-dev
  xvfb xauth x11-utils xdotool openbox fonts-ipafont-gothic
  python3 g++-mingw-w64-x86-64 clang libclang-rt-14-dev
  libbenchmark-dev
)

# The Windows backends' test program runs under Wine (tests/win32/run.sh); doctest because Qt
# Test is not available to the mingw-w64 build, locales for the Japanese locale Wine takes its
# code page from.
EXAMORA_WINE_PACKAGES=(wine wine64 doctest-dev locales)

examora_install_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$pkg")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Installing: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
  fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

examora_build() {
  local preset="$1"
  cmake --preset "$preset" -S "$EXAMORA_ROOT"
  cmake --build --preset "$preset" --parallel "$(nproc)"
}
