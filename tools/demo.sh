#!/usr/bin/env bash
# Tries Trevik without the hardware: builds the Windows program, then starts it
# with the virtual controller's panel (brake and power sliders, three buttons)
# beside the mock simulator, which is brought to the front so that it receives
# the strokes. Drag the sliders and watch the simulator's handle follow.
# Close Trevik's window to end the demo.
#
# Needs an X display (DISPLAY); for a headless try: xvfb-run -a tools/demo.sh
#   TREVIK_DEMO_BUILD  build folder (default build/mingw)
#   TREVIK_WINEPREFIX  Wine prefix (as for tools/wine-run.sh)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${DISPLAY:-}" ]; then
    echo "demo: no DISPLAY; run it on a desktop, or headless as: xvfb-run -a $0" >&2
    exit 1
fi

bash tools/setup.sh
build=${TREVIK_DEMO_BUILD:-build/mingw}
cmake --preset mingw -B "$build" >/dev/null
cmake --build "$build" --target trevik trevik_virtual_controller mock-simulator

# A run folder of its own: the stand-in winmm.dll never lands beside the shipping exe.
run=$build/demo
mkdir -p "$run"
cp "$build/app/trevik.exe" "$build/tools/virtual-controller/dll/winmm.dll" "$run/"
# Notifications start after four seconds, once the simulator is in front.
printf 'panel\nperiodmin 10\nsleep 4000\n' >"$run/scenario.txt"
scenario="Z:$(realpath "$run/scenario.txt" | tr / '\\')"

TREVIK_VC_SCENARIO="$scenario" WINEDLLOVERRIDES="mscoree,mshtml=;winmm=n,b" \
    tools/wine-run.sh "$run/trevik.exe" &
trevik=$!
sleep 3 # Trevik's window comes up and takes the front; the simulator then takes it over
tools/wine-run.sh "$build/tools/mock-simulator/mock-simulator.exe" --title "Mock simulator" &
simulator=$!
trap 'kill "$simulator" 2>/dev/null || true' EXIT
echo "demo: Trevik, the panel and the simulator are up; close Trevik's window to stop."
wait "$trevik" || true
