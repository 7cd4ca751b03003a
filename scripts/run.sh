#!/usr/bin/env bash
# `make run` for now: serves the sample package from a local mirror, downloads it with qfetch
# (the console front end of the download engine) showing its progress, then stops the mirror.
# Usage: scripts/run.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-env.sh" "$build"

work="$build/run"
package_path="/uploads/Quorvane（湖北）（完整安装包）.exe"
mkdir -p "$work/mirror/uploads" "$work/download"
sample="$build/tools/sample/QuorvaneSample.exe"
if [ ! -f "$sample" ]; then
    echo "run: $sample is missing; build first (make run builds it)" >&2
    exit 1
fi
cp "$sample" "$work/mirror$package_path"
size=$(stat -c %s "$sample")
rm -f "$work/download/"*

cleanup() {
    python3 "$root/tests/mirror/mirrorctl.py" stop --port-file "$work/mirror.port" || true
    quorvane_env_stop
}
trap cleanup EXIT
quorvane_start_wine
port=$(python3 "$root/tests/mirror/mirrorctl.py" start --root "$work/mirror" \
       --port-file "$work/mirror.port" --idle-timeout 120 --log "$work/mirror.log" | cut -d= -f2)
# Slow the mirror down so the progress can be watched for about four seconds.
python3 - "$port" "$package_path" "$((size / 4 + 1))" <<'PY'
import sys, urllib.request, json
port, path, rate = sys.argv[1], sys.argv[2], int(sys.argv[3])
body = json.dumps({"path": path, "throttle": rate}).encode()
urllib.request.urlopen(urllib.request.Request(
    "http://127.0.0.1:%s/_control/rule" % port, data=body, method="POST"), timeout=10).read()
PY
url="http://127.0.0.1:$port$package_path"
target="$work/download/Quorvane（湖北）（完整安装包）.exe"
echo "run: downloading $url"
set +e
quorvane_wine "$build/tools/qfetch/qfetch.exe" --buffer 8192 "$url" "Z:$target" |
    python3 "$root/tools/qfetch/show-progress.py"
status=${PIPESTATUS[0]}
set -e
if [ "$status" -eq 0 ] && cmp -s "$sample" "$target"; then
    echo "run: downloaded $target ($size bytes, identical to the package served)"
else
    echo "run: the download failed (qfetch exit status $status)" >&2
    exit 1
fi
