#!/usr/bin/env bash
# Sets up what is missing, builds Trevik for Windows and starts it under Wine.
#
# On a Linux desktop (DISPLAY set) Trevik opens in a Wine desktop window, and
# Wine's own joystick support hands it a train-cab controller (or any joystick)
# that is plugged in. Without a display it runs headless under Xvfb, which only
# shows that it starts; stop it with Ctrl+C.
#
#   TREVIK_BUILD_DIR   build directory (default: build/mingw, the mingw preset's)
#   TREVIK_WINEPREFIX  Wine prefix to run in (default: ~/.cache/trevik/wine-run,
#                      kept apart from the test prefix so tests and a running
#                      Trevik never share a desktop)
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh

build_dir=${TREVIK_BUILD_DIR:-build/mingw}
cmake --preset mingw -B "$build_dir" >/dev/null
cmake --build "$build_dir" --target trevik

exe="$build_dir/app/trevik.exe"
if [ ! -f "$exe" ]; then
    echo "run.sh: the build did not produce $exe" >&2
    exit 1
fi

export TREVIK_WINEPREFIX=${TREVIK_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/trevik/wine-run}

if [ -z "${DISPLAY:-}" ]; then
    echo "run.sh: no display (DISPLAY is not set): running Trevik headless under Xvfb," \
        "where nothing can be seen. Stop it with Ctrl+C." >&2
fi
exec bash tools/wine-run.sh "$exe"
