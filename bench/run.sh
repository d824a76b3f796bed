#!/usr/bin/env bash
# Runs the benchmarks and prints their figures beside reference tools
# measured in the same run on the same data.
set -euo pipefail
cd "$(dirname "$0")/.."
B=build/native/bin
work=$(mktemp -d /tmp/tarnvell-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

echo "== diagnostic log"
"$B/utils_bench" log 2>/dev/null

echo "== command-line splitting"
"$B/utils_bench" split

echo "== MD5 of a 512 MiB file (warm cache)"
head -c $((512 * 1024 * 1024)) /dev/urandom > "$work/data.bin"
cat "$work/data.bin" > /dev/null
"$B/utils_bench" md5 "$work/data.bin"
start=$(date +%s.%N); ref=$(md5sum "$work/data.bin" | cut -d' ' -f1); end=$(date +%s.%N)
awk -v s="$start" -v e="$end" -v d="$ref" 'BEGIN { printf "md5sum (reference): %s 537 MB in %.3f s, %.0f MB/s\n", d, e - s, 536.870912 / (e - s) }'
