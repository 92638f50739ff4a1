#!/usr/bin/env bash
# Installs what is missing, builds, lays out the sample exam installation in build/sample/ and
# starts its part 1 there.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

examora_install_packages "${EXAMORA_PACKAGES[@]}"
examora_build dev

sample="$EXAMORA_ROOT/build/sample"
# With one copy of the program per part, named as the installation expects, and the program's
# module of page screens beside them.
"$EXAMORA_ROOT/build/dev/tools/sample/examora-make-sample" "$sample" \
  --program "$EXAMORA_ROOT/build/dev/src/examora"
echo "Sample installation: $sample"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat <<EOT
No display is available, so part 1 is not started. To run it on a virtual X server:
  cd "$sample" && QT_QUICK_BACKEND=software xvfb-run -a -s "-screen 0 1280x1024x24" "./[1]知識.exe"
(or start an X server, set DISPLAY, and run "$sample/[1]知識.exe"). The software backend
avoids a crash of Qt's OpenGL path on virtual X servers.
EOT
  exit 0
fi
cd "$sample"
exec "./[1]知識.exe"
