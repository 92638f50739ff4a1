#!/usr/bin/env bash
# Installs what is missing, builds, and lays out the sample exam installation in build/sample/.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

examora_install_packages "${EXAMORA_PACKAGES[@]}"
examora_build dev
"$EXAMORA_ROOT/build/dev/tools/sample/examora-make-sample" "$EXAMORA_ROOT/build/sample"
echo "Sample installation: $EXAMORA_ROOT/build/sample"
