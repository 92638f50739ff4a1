#!/usr/bin/env bash
# Builds the Windows backends of src/platform and their test program with mingw-w64 into
# build/win32 and runs it under Wine: a prefix of its own in the build folder (made once),
# Wine's null display driver (real windows, no screen), the Japanese locale so that the
# process's ANSI code page is 932 as at the venue. A failing test fails the script; a test
# that needs what Wine lacks prints "SKIP: <what>: <why>".
# Arguments are passed on to the test program (doctest options, e.g. -tc="named mutex*").
# EXAMORA_WINE_KILLS sets the number of writer kills of the atomic replace test (default 200).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"

started=$SECONDS
here="$EXAMORA_ROOT/tests/win32"
build="$EXAMORA_ROOT/build/win32"
examora_install_packages cmake ninja-build pkg-config qt6-base-dev g++-mingw-w64-x86-64 \
  "${EXAMORA_WINE_PACKAGES[@]}"

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "Generating the ja_JP.UTF-8 locale"
  $sudo sed -i 's/^# *\(ja_JP\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP\.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi

export CMAKE_CXX_COMPILER_LAUNCHER="${CMAKE_CXX_COMPILER_LAUNCHER:-$(command -v ccache || true)}"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE= \
  -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" >/dev/null
cmake --build "$build" --parallel "$(nproc)"

# What our own code page 932 codec makes of every input, for the test to compare with Wine's.
reference="$build/cp932_reference.bin"
mkdir -p "$build/host"
# shellcheck disable=SC2046
${CMAKE_CXX_COMPILER_LAUNCHER} g++ -std=c++20 -O1 -fPIC -Wall -Wextra -Werror -I"$EXAMORA_ROOT/src" \
  $(pkg-config --cflags Qt6Core) "$here/host/cp932_reference.cpp" "$EXAMORA_ROOT/src/common/Cp932.cpp" \
  $(pkg-config --libs Qt6Core) -o "$build/host/cp932_reference"
"$build/host/cp932_reference" "$reference"

export WINEPREFIX="$build/prefix"
export WINEARCH=win64
export WINEDEBUG=-all
# No .NET or browser engine: nothing here needs them, and installing them is most of a boot.
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=ja_JP.UTF-8
# A zone with summer time, for the local last-write times of the open-file probe.
export TZ=Europe/Berlin
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating the Wine prefix"
  wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  # The venues run Windows 10 or later; a new prefix would say Windows 7.
  wine winecfg -v win10 >/dev/null 2>&1
  wineserver -w
fi

status=0
EXAMORA_CP932_REFERENCE="$(winepath -w "$reference" 2>/dev/null)" \
  wine "$build/examora_win32_tests.exe" "$@" || status=$?
wineserver -k 2>/dev/null || true
echo "win32 under wine: $((SECONDS - started)) s"
exit $status
