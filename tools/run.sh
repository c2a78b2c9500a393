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

# Two fixes to a Wine prefix, so the window looks as it would on Windows:
# - Debian's Wine 8 does not find its own fonts in its data directory, so a new
#   prefix lacks Marlett and the title-bar buttons show as "0 1 r": link
#   Marlett into the prefix's Fonts folder. (Only Marlett: Wine's Tahoma would
#   then be found too, and it shows boxes for Japanese instead of handing the
#   characters to a linked font.)
# - Wine links Japanese glyphs into the interface font (captions, tooltips,
#   message boxes) only under a Japanese locale; elsewhere the about box's
#   caption and the hints show as boxes. Link a Japanese face in every locale.
# The first Wine call also creates the prefix if needed.
prepare_prefix() {
    local data_dir fonts
    data_dir=$(bash tools/wine-run.sh cmd.exe /c echo %WINEDATADIR% 2>/dev/null | tr -d '\r')
    data_dir=${data_dir#*:} # \??\Z:\usr\share\wine -> \usr\share\wine
    data_dir=${data_dir//\\//}/fonts
    fonts=$TREVIK_WINEPREFIX/drive_c/windows/Fonts
    if [ -f "$data_dir/marlett.ttf" ] && [ -d "$fonts" ] && [ ! -e "$fonts/marlett.ttf" ]; then
        ln -s "$data_dir/marlett.ttf" "$fonts/"
    fi
    bash tools/wine-run.sh reg add \
        'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v Tahoma \
        /t REG_MULTI_SZ /d 'ipagp.ttf,IPAPGothic\0NotoSansCJK-Regular.ttc,Noto Sans CJK JP' /f \
        >/dev/null 2>&1
}

prepare_prefix

if [ -z "${DISPLAY:-}" ]; then
    echo "run.sh: no display (DISPLAY is not set): running Trevik headless under Xvfb," \
        "where nothing can be seen. Stop it with Ctrl+C." >&2
fi
exec bash tools/wine-run.sh "$exe"
