#!/usr/bin/env bash
# Installs what is missing, builds, and renders every screen, filled from the sample exam
# installation, to build/screens/<name>.png without a display. Arguments are passed on to the
# tool (for example --only QZTP0060).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

examora_install_packages "${EXAMORA_PACKAGES[@]}"
examora_build dev

export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
"$EXAMORA_ROOT/build/dev/tools/screens/examora-screens" "$EXAMORA_ROOT/build/screens" "$@"
