#!/usr/bin/env bash
# Download benchmark: fetches a file from the local mirror with qfetch (under Wine) and with curl
# in the same run, and prints throughput, their ratio, CPU seconds and peak memory.
# Usage: bench/run.sh BUILD_DIR [SIZE_MIB ...]   (default sizes: 256 1024; 3 runs each, median)
set -euo pipefail
build=$(cd "${1:?usage: bench/run.sh BUILD_DIR [SIZE_MIB ...]}" && pwd)
shift
sizes=("$@")
((${#sizes[@]})) || sizes=(256 1024)
runs=3
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-env.sh" "$build"

work="$build/bench"
mkdir -p "$work/mirror" "$work/out"
cleanup() {
    python3 "$root/tests/mirror/mirrorctl.py" stop --port-file "$work/mirror.port" || true
    rm -f "$work/out/"*
    quorvane_env_stop
}
trap cleanup EXIT
quorvane_start_wine
port=$(python3 "$root/tests/mirror/mirrorctl.py" start --root "$work/mirror" \
       --port-file "$work/mirror.port" --idle-timeout 300 --log "$work/mirror.log" | cut -d= -f2)

# One measured run: prints "seconds user+sys_seconds peak_kib".
measure() {
    local stats="$work/time.txt"
    /usr/bin/time -o "$stats" -f "%e %U %S %M" "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; return 1; }
    awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' "$stats"
}

median() { sort -g | awk '{ v[NR] = $0 } END { print v[int((NR + 1) / 2)] }'; }

printf "%-9s %-7s %10s %10s %8s %10s %12s\n" "size" "client" "MB/s" "seconds" "ratio" "CPU s" "peak MiB"
for mib in "${sizes[@]}"; do
    source_file="$work/mirror/bench_${mib}MiB.bin"
    if [ "$(stat -c %s "$source_file" 2>/dev/null || echo 0)" -ne $((mib * 1048576)) ]; then
        head -c $((mib * 1048576)) /dev/urandom >"$source_file"
    fi
    url="http://127.0.0.1:$port/bench_${mib}MiB.bin"
    bytes=$((mib * 1048576))
    : >"$work/curl.txt"
    : >"$work/qfetch.txt"
    for _ in $(seq "$runs"); do
        rm -f "$work/out/"*
        measure curl -sf -o "$work/out/curl.bin" "$url" >>"$work/curl.txt"
        cmp -s "$source_file" "$work/out/curl.bin" || { echo "curl: file differs" >&2; exit 1; }
        rm -f "$work/out/"*
        measure env LC_ALL="$QUORVANE_WINE_LANG" wine "$build/tools/qfetch/qfetch.exe" --no-resume \
            "$url" "Z:$work/out/qfetch.bin" >>"$work/qfetch.txt"
        cmp -s "$source_file" "$work/out/qfetch.bin" || { echo "qfetch: file differs" >&2; exit 1; }
    done
    curl_s=$(cut -d' ' -f1 "$work/curl.txt" | median)
    qfetch_s=$(cut -d' ' -f1 "$work/qfetch.txt" | median)
    curl_cpu=$(cut -d' ' -f2 "$work/curl.txt" | median)
    qfetch_cpu=$(cut -d' ' -f2 "$work/qfetch.txt" | median)
    curl_kib=$(cut -d' ' -f3 "$work/curl.txt" | sort -g | tail -1)
    qfetch_kib=$(cut -d' ' -f3 "$work/qfetch.txt" | sort -g | tail -1)
    awk -v b="$bytes" -v mib="$mib" -v cs="$curl_s" -v qs="$qfetch_s" -v cc="$curl_cpu" \
        -v qc="$qfetch_cpu" -v ck="$curl_kib" -v qk="$qfetch_kib" 'BEGIN {
        cr = b / 1e6 / cs; qr = b / 1e6 / qs
        printf "%-9s %-7s %10.1f %10.2f %8s %10.2f %12.1f\n", mib "MiB", "curl", cr, cs, "", cc, ck / 1024
        printf "%-9s %-7s %10.1f %10.2f %8.2f %10.2f %12.1f\n", mib "MiB", "qfetch", qr, qs, qr / cr, qc, qk / 1024
    }'
done
echo "(median of $runs runs; MB = 10^6 bytes; qfetch times include starting it under Wine;"
echo " ratio = qfetch MB/s / curl MB/s; peak = largest resident set of the process)"
