#!/usr/bin/env bash
# Runs a Windows program under Wine, headless, in Trevik's private Wine prefix.
# Used as the cross-compiling emulator by ctest and by the run and demo scripts.
#   TREVIK_LOGPIXELS   screen DPI of the prefix (default 96); each DPI has its own prefix
#   TREVIK_WINEPREFIX  prefix to use (default: ~/.cache/trevik/wine, or wine-<dpi>)
# Programs of one prefix share one virtual desktop, and with it the foreground
# window: run tests that rely on the foreground one at a time per prefix.
#   DISPLAY            used when set; otherwise a private Xvfb is started
set -euo pipefail

dpi=${TREVIK_LOGPIXELS:-96}
default_prefix=${XDG_CACHE_HOME:-$HOME/.cache}/trevik/wine
[ "$dpi" = 96 ] || default_prefix+="-$dpi"
export WINEPREFIX=${TREVIK_WINEPREFIX:-$default_prefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=win64

# Two fixes so windows look as they would on Windows:
# - Debian's Wine does not find its own fonts, so a new prefix lacks Marlett
#   and the title-bar buttons show as "0 1 r": link Marlett into the prefix.
#   (Only Marlett: Wine's Tahoma would then be found too, and it draws boxes
#   for Japanese instead of handing the characters to a linked font.)
# - Wine links Japanese glyphs into the interface font (captions, tooltips,
#   message boxes) only under a Japanese locale; elsewhere the about box's
#   caption and the hints show as boxes. Link a Japanese face in every locale.
link_fonts() {
    local marlett=${TREVIK_WINE_FONTS:-/usr/share/wine/fonts}/marlett.ttf
    local fonts=$WINEPREFIX/drive_c/windows/Fonts
    if [ -f "$marlett" ] && [ -d "$fonts" ] && [ ! -e "$fonts/marlett.ttf" ]; then
        ln -s "$marlett" "$fonts/"
    fi
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
        /v Tahoma /t REG_MULTI_SZ \
        /d 'ipagp.ttf,IPAPGothic\0NotoSansCJK-Regular.ttc,Noto Sans CJK JP' /f >/dev/null 2>&1
    wineserver -w
}

prepare_prefix() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    # Concurrent test processes share the prefix; only one initialises it.
    exec 9>"$WINEPREFIX.lock"
    flock 9
    if [ ! -f "$WINEPREFIX/.trevik-ready" ]; then
        WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1 || true
        # A crash must fail the test, not open a dialog nobody answers.
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
            >/dev/null 2>&1
        # A virtual desktop: without a window manager, Wine waits two seconds
        # for X to confirm each top-level window's hiding; inside its own
        # desktop it does not, and windows get frames for screenshots.
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f \
            >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ \
            /d "${TREVIK_DESKTOP_SIZE:-1024x768}" /f >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.trevik-ready"
    fi
    if [ ! -f "$WINEPREFIX/.trevik-fonts" ]; then
        link_fonts
        touch "$WINEPREFIX/.trevik-fonts"
    fi
    if [ "$(cat "$WINEPREFIX/.trevik-dpi" 2>/dev/null)" != "$dpi" ]; then
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
            >/dev/null 2>&1
        wineserver -w
        echo "$dpi" >"$WINEPREFIX/.trevik-dpi"
    fi
    flock -u 9
    exec 9>&-
}

prepare_prefix
if [ -n "${DISPLAY:-}" ]; then
    exec wine "$@"
fi
exec xvfb-run -a -s "-screen 0 1024x768x24" wine "$@"
