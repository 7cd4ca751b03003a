# Sourced by the scripts that run the program or its tests under Wine.
# Usage: source scripts/wine-env.sh BUILD_DIR
# Gives: a private Wine prefix in BUILD_DIR, code page 936, a persistent wineserver and a
# virtual display (unless one is wanted from the caller: QUORVANE_KEEP_DISPLAY=1 with DISPLAY set).
# quorvane_env_stop ends what was started.

quorvane_build_dir=$(cd "$1" && pwd)
export WINEPREFIX="$quorvane_build_dir/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export QUORVANE_WINE_LANG=zh_CN.UTF-8
quorvane_xvfb_pid=""

quorvane_wine() { LC_ALL=$QUORVANE_WINE_LANG wine "$@"; }

quorvane_start_display() {
    if [ "${QUORVANE_KEEP_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then
        return
    fi
    local n=${QUORVANE_DISPLAY_NUMBER:-91}
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    quorvane_xvfb_pid=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && return
        sleep 0.1
    done
    echo "wine-env: the virtual display :$n did not start" >&2
    return 1
}

quorvane_start_wine() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        LC_ALL=$QUORVANE_WINE_LANG wineboot -i >/dev/null 2>&1 || true
    fi
    LC_ALL=$QUORVANE_WINE_LANG wineserver -p
    # Start the prefix's services now, away from our output: started by the first test instead,
    # they inherit ctest's pipes and keep every test "running" until its time-out.
    LC_ALL=$QUORVANE_WINE_LANG wineboot </dev/null >/dev/null 2>&1 || true
}

quorvane_env_stop() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "$quorvane_xvfb_pid" ]; then
        kill "$quorvane_xvfb_pid" 2>/dev/null || true
        wait "$quorvane_xvfb_pid" 2>/dev/null || true
    fi
}
