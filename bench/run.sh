#!/usr/bin/env bash
# Builds the benchmark suite in Release (build-bench/), runs it with JSON output and prints each figure
# next to its baseline, then measures the msarender command on a real alignment and on the bundled example.
# Extra arguments go to the benchmark program, e.g. bench/run.sh --benchmark_filter=ScrollFrame
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-bench"
data="${MSARENDER_BENCH_DATA:-$root/../shared/data/amplicons18S_2000x749.afa.gz}"  # figure 6's real alignment

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMSARENDER_BUILD_BENCH=ON \
      -DMSARENDER_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target msarender_bench msarender_cli | tail -n 1

export QT_QPA_PLATFORM=offscreen
"$build/bench/msarender_bench" --benchmark_color=false \
    --benchmark_out="$build/bench-results.json" --benchmark_out_format=json "$@"
echo "JSON: $build/bench-results.json"

# Figure 6: the whole process, with the split between reading, rendering and encoding from --timings.
if [ ! -x /usr/bin/time ]; then
  echo "figure 6 skipped: /usr/bin/time is missing (apt-get install time)"
  exit 0
fi
timer_ms() {  # total milliseconds of one timer in a --timings report
  awk -v name="$1" '$1 == name { print $3 }' "$2"
}
echo
printf '%-34s %9s %9s %9s %9s %9s %10s %s\n' "6 whole process" "wall s" "peak MB" "read ms" \
       "render ms" "encode ms" "PNG KB" "picture"
for input in "$data" "$root/examples/fn3.sto"; do
  name="$(basename "$input")"
  if [ ! -r "$input" ]; then
    echo "$name: not found"
    continue
  fi
  out="$build/whole-${name%%.*}.png"
  log="$build/whole-${name%%.*}.log"
  rm -f "$build/whole-${name%%.*}"*.png
  /usr/bin/time -v "$build/apps/msarender/msarender" --timings "$input" -o "$out" >"$log.out" 2>"$log"
  wall="$(awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = 0;
                       for (i = 1; i <= n; ++i) s = s * 60 + t[i]; print s }' "$log")"
  peak="$(awk -F': ' '/Maximum resident set size/ { printf "%.1f", $2 / 1024 }' "$log")"
  # A picture too tall for one image is written as numbered pages.
  pages=("$build/whole-${name%%.*}"*.png)
  picture="$(sed -n 's/.*(\([0-9]* x [0-9]*\) pixels).*/\1/p' "$log.out" "$log")"
  [ -n "$picture" ] || picture="${#pages[@]} pages"
  bytes="$(cat "${pages[@]}" | wc -c)"
  printf '%-34s %9s %9s %9s %9s %9s %10s %s\n' "$name" "$wall" "$peak" \
         "$(timer_ms '[msarender::read]' "$log")" "$(timer_ms '[msarender::render]' "$log")" \
         "$(timer_ms '[msarender::encode]' "$log")" "$(( bytes / 1024 ))" "$picture"
done
