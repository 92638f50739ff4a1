#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

examora_install_packages "${EXAMORA_PACKAGES[@]}"
examora_build dev
export QT_QPA_PLATFORM=offscreen
ctest --preset dev --parallel "$(nproc)"
# Every file reader under libFuzzer for a bounded time; a finding fails the run.
bash "$EXAMORA_ROOT/tests/fuzz/run.sh" "${EXAMORA_FUZZ_SECONDS:-60}"
