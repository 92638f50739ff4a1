#!/bin/sh
# Compiles the Windows backends of src/platform with mingw-w64 (syntax and warnings only).
# Exit code 77 tells CTest the check was skipped.
src="$1"
compiler=$(command -v x86_64-w64-mingw32-g++ || true)
if [ -z "$compiler" ]; then
  echo "SKIP: x86_64-w64-mingw32-g++ not installed (Debian package g++-mingw-w64-x86-64)"
  exit 77
fi
exec "$compiler" -std=c++20 -fsyntax-only -Wall -Wextra -Werror -I"$src" \
  "$src"/platform/*.cpp "$src"/platform/win32/*.cpp
