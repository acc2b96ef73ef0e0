#!/usr/bin/env bash
# Time and peak memory of a picture with a tree built from the alignment (neighbour joining and UPGMA over
# the identity distances of every pair), next to the same picture without one: one run each, whole process.
# Usage: bench/tree.sh [BUILD_DIR] (default build/); needs farm-bench.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
data="${MSARENDER_BENCH_DATA:-$root/../shared/data/amplicons18S_2000x749.afa.gz}"
command -v farm-bench >/dev/null || { echo "farm-bench is missing"; exit 1; }
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
export QT_QPA_PLATFORM=offscreen
program="$build/apps/msarender/msarender"
for tree in none nj upgma; do
  arguments=("$data" -q -o "$out/$tree.png")
  [ "$tree" = none ] || arguments+=(--tree "$tree" --tree-out "$out/$tree.nwk")
  echo "== --tree $tree"
  farm-bench -n 1 --warmup 0 --timeout 600 -- "$program" "${arguments[@]}"
done
