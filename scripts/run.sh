#!/usr/bin/env bash
# make run: starts the two local mirror lines with the sample package and opens the main window of
# the program built against them (QuorvaneLocal.exe).
#   - With a display of your own ($DISPLAY reachable) the window is yours; this returns when the
#     program ends.
#   - Without one the program runs on a virtual display and is driven through its pages; a
#     screenshot of each page is saved in BUILD/run/screens.
# Usage: scripts/run.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)

cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
program="$build/src/app/QuorvaneLocal.exe"
sample="$build/tools/sample/QuorvaneSample.exe"
for file in "$program" "$sample"; do
    if [ ! -f "$file" ]; then
        echo "run: $file is missing; build first (make run builds it)" >&2
        exit 1
    fi
done

watch=()
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    export QUORVANE_KEEP_DISPLAY=1
    watch=(--watch)
fi
source "$root/scripts/wine-env.sh" "$build"
trap quorvane_env_stop EXIT
quorvane_start_display
quorvane_start_wine
export LC_ALL=$QUORVANE_WINE_LANG

python3 "$root/tests/e2e/demo.py" --program "$program" --sample "$sample" \
    --mirror-dir "$root/tests/mirror" --work "$build/run" --screens "$build/run/screens" \
    --port-dx "$(cache QUORVANE_LOCAL_MIRROR_PORT_DX)" \
    --port-lt "$(cache QUORVANE_LOCAL_MIRROR_PORT_LT)" "${watch[@]}"
