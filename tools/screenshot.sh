#!/usr/bin/env bash
# Takes the README's screenshots of Trevik's window. Builds the mingw preset's
# trevik target, starts it under Wine on a private Xvfb screen (Wine's virtual
# desktop draws the window frame), waits until the window is drawn and stays
# still, and saves the screen cropped to the window:
#   docs/screenshot-en.png   with LANG=en_US.UTF-8 (ANSI code page 1252)
#   docs/screenshot-ja.png   with LANG=ja_JP.UTF-8 (ANSI code page 932)
# Each locale gets its own Wine prefix, at 96 DPI. Locales the system lacks are
# compiled into a private directory (LOCPATH), so no root is needed for them.
#
#   TREVIK_BUILD_DIR   build directory (default: build/mingw, the mingw preset's)
set -euo pipefail
cd "$(dirname "$0")/.."

cache=${XDG_CACHE_HOME:-$HOME/.cache}/trevik


stop_capture() {
    kill "$pid" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    rm -rf "$shots"
}

# Runs on the Xvfb screen: start Trevik, wait for a still, drawn window, crop.
# shots and pid stay global: the exit trap needs them after capture returns.
capture() {
    local exe=$1 out=$2
    shots=$(mktemp -d)
    bash tools/wine-run.sh "$exe" &
    pid=$!
    trap stop_capture EXIT

    # Drawn: more than a handful of colours (an empty desktop has one). Still:
    # fewer than 200 pixels changed in a second (the text caret blinks).
    local deadline=$((SECONDS + 120)) colours changed
    while :; do
        sleep 1
        if ! kill -0 "$pid" 2>/dev/null; then
            echo "screenshot.sh: $exe ended before its window was drawn" >&2
            return 1
        fi
        if [ $SECONDS -ge $deadline ]; then
            echo "screenshot.sh: no still window on the screen after 120 s" >&2
            return 1
        fi
        import -window root "$shots/now.png"
        colours=$(identify -format %k "$shots/now.png")
        if [ "$colours" -gt 8 ] && [ -f "$shots/before.png" ]; then
            changed=$(compare -metric AE "$shots/before.png" "$shots/now.png" null: 2>&1 || true)
            if awk -v n="$changed" 'BEGIN { exit !(n + 0 < 200) }'; then
                break
            fi
        fi
        mv "$shots/now.png" "$shots/before.png"
    done
    # The desktop around the window is one colour: trim it, keep a thin margin.
    convert "$shots/now.png" -trim +repage -bordercolor "$(convert "$shots/now.png" \
        -format '%[pixel:p{0,0}]' info:)" -border 6 -strip "$out"
    echo "screenshot.sh: wrote $out ($(identify -format '%wx%h' "$out"))"
}

if [ "${1:-}" = --capture ]; then
    shift
    capture "$@"
    exit
fi

bash tools/setup.sh
build_dir=${TREVIK_BUILD_DIR:-build/mingw}
cmake --preset mingw -B "$build_dir" >/dev/null
cmake --build "$build_dir" --target trevik
exe="$build_dir/app/trevik.exe"
[ -f "$exe" ] || { echo "screenshot.sh: the build did not produce $exe" >&2; exit 1; }

export LOCPATH=$cache/locale
mkdir -p "$LOCPATH" docs
for locale in en_US ja_JP; do
    [ -d "$LOCPATH/$locale.UTF-8" ] || localedef -i "$locale" -f UTF-8 "$LOCPATH/$locale.UTF-8"
done

for shot in en:en_US.UTF-8 ja:ja_JP.UTF-8; do
    name=${shot%%:*}
    unset LC_ALL LC_CTYPE LC_MESSAGES
    export LANG=${shot#*:}
    export TREVIK_LOGPIXELS=96 TREVIK_WINEPREFIX=$cache/wine-shot-$name
    export WINEPREFIX=$TREVIK_WINEPREFIX
    xvfb-run -a -s '-screen 0 1024x768x24' bash tools/screenshot.sh --capture "$exe" \
        "docs/screenshot-$name.png"
done
