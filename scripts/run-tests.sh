#!/usr/bin/env bash
# Runs the test suite of a build under Wine. Extra arguments go to ctest (for example -R png).
set -uo pipefail
build=${1:?usage: run-tests.sh BUILD_DIR [ctest args]}
shift
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-env.sh" "$build"
trap quorvane_env_stop EXIT
quorvane_start_display
quorvane_start_wine
export LC_ALL=$QUORVANE_WINE_LANG
ctest --test-dir "$build" --output-on-failure -j2 --timeout 600 "$@"
