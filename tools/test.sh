#!/usr/bin/env bash
# Sets up what is missing, builds every preset and runs every test: the
# portable core natively (also under ASan/UBSan, with a short fuzz run) and
# the Windows program under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh

for preset in native native-asan native-gcc mingw; do
    echo "== $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done
