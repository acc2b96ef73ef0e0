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

# Figure 6: the whole process on real alignments, with reading and drawing (painting and encoding, which
# overlap) from --timings. With Jalview installed (Debian package jalview), its headless PNG export of the
# same file with Clustal colours runs beside it: wall time, peak memory and PNG size, and our ratios.
if [ ! -x /usr/bin/time ]; then
  echo "figure 6 skipped: /usr/bin/time is missing (apt-get install time)"
  exit 0
fi
timer_ms() {  # total milliseconds of one timer in a --timings report
  awk -v name="$1" '$1 == name { print $3 }' "$2"
}
wall_s() { awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = 0;
                         for (i = 1; i <= n; ++i) s = s * 60 + t[i]; print s }' "$1"; }
peak_mb() { awk -F': ' '/Maximum resident set size/ { printf "%.1f", $2 / 1024 }' "$1"; }
kinases="$(dirname "$data")/kinases_jackhmmer_530x1013.sto.gz"
echo
printf '%-34s %8s %8s %8s %8s %9s %-14s %s\n' "6 whole process" "wall s" "peak MB" "read ms" "draw ms" \
       "PNG KB" "picture" "Jalview: wall s, peak MB, PNG KB; ours / Jalview"
for input in "$data" "$kinases" "$root/examples/fn3.sto"; do
  name="$(basename "$input")"
  if [ ! -r "$input" ]; then
    echo "$name: not found"
    continue
  fi
  plain="$build/whole-${name%.gz}"
  case "$input" in *.gz) zcat "$input" >"$plain" ;; *) cp "$input" "$plain" ;; esac
  out="$build/whole-${name%%.*}.png"
  log="$build/whole-${name%%.*}.log"
  /usr/bin/time -v "$build/apps/msarender/msarender" --timings "$plain" -o "$out" >"$log.out" 2>"$log"
  picture="$(sed -n 's/.*(\([0-9]* x [0-9]*\) pixels).*/\1/p' "$log.out" "$log" | tr -d ' ')"
  kb=$(( $(wc -c <"$out") / 1024 ))
  peer="-"
  if command -v jalview >/dev/null; then
    jout="$build/jalview-${name%%.*}.png"
    rm -f "$jout"
    /usr/bin/time -v jalview -nodisplay -open "$plain" -colour clustal -png "$jout" >"$log.jalview.out" \
      2>"$log.jalview"
    if [ -s "$jout" ]; then
      jkb=$(( $(wc -c <"$jout") / 1024 ))
      peer="$(awk -v w="$(wall_s "$log")" -v jw="$(wall_s "$log.jalview")" -v m="$(peak_mb "$log")" \
                  -v jm="$(peak_mb "$log.jalview")" -v k="$kb" -v jk="$jkb" 'BEGIN {
                printf "%.2f s, %.0f MB, %d KB; time %.2f, memory %.3f, size %.2f", jw, jm, jk, w / jw, m / jm, k / jk }')"
    fi
  fi
  printf '%-34s %8s %8s %8s %8s %9s %-14s %s\n' "$name" "$(wall_s "$log")" "$(peak_mb "$log")" \
         "$(timer_ms '[msarender::read]' "$log")" "$(timer_ms '[msarender::draw]' "$log")" "$kb" "$picture" "$peer"
done

# Figure 10: linear in the sequences: the whole process on 10,000, 40,000 and 160,000 sequences of 30 residues
# (one picture each); microseconds per sequence should stay flat (within 1.5 x of the smallest).
echo
printf '%-34s %8s %8s %12s\n' "10 many short sequences" "wall s" "peak MB" "us/sequence"
for n in 10000 40000 160000; do
  short="$build/short-$n.fa"
  [ -s "$short" ] || awk -v n="$n" 'BEGIN { srand(3); a = "ACDEFGHIKLMNPQRSTVWY";
    for (i = 0; i < n; ++i) { s = ""; for (c = 0; c < 30; ++c) s = s substr(a, int(rand() * 20) + 1, 1);
      printf ">s%d\n%s\n", i, s } }' >"$short"
  /usr/bin/time -v "$build/apps/msarender/msarender" -q "$short" -o "$build/short-$n.png" 2>"$build/short-$n.log"
  printf '%-34s %8s %8s %12.1f\n' "$n x 30" "$(wall_s "$build/short-$n.log")" "$(peak_mb "$build/short-$n.log")" \
         "$(awk -v w="$(wall_s "$build/short-$n.log")" -v n="$n" 'BEGIN { print w * 1e6 / n }')"
done

# Vector output: time and size of SVG, PDF and EPS next to the PNG of the same picture, for the real amplicon
# alignment and a synthetic 1,000 x 1,000 protein alignment. Every letter, name and ruler number is text.
echo
printf '%-34s %6s %8s %8s %10s %s\n' "vector output" "type" "wall s" "peak MB" "size KB" "size / PNG"
protein="$build/protein-1000x1000.fa"
[ -s "$protein" ] || awk 'BEGIN { srand(11); a = "ACDEFGHIKLMNPQRSTVWY-";
  for (i = 0; i < 1000; ++i) { s = ""; for (c = 0; c < 1000; ++c) s = s substr(a, int(rand() * 21) + 1, 1);
    printf ">protein%d\n%s\n", i, s } }' >"$protein"
for input in "$data" "$protein"; do
  name="$(basename "${input%.gz}")"
  [ -r "$input" ] || { echo "$name: not found"; continue; }
  png_kb=1
  for type in png svg pdf eps; do
    out="$build/vector-${name%%.*}.$type"
    /usr/bin/time -v "$build/apps/msarender/msarender" -q "$input" -o "$out" 2>"$out.log"
    kb=$(( $(wc -c <"$out") / 1024 ))
    [ "$type" = png ] && png_kb=$kb
    printf '%-34s %6s %8s %8s %10s %.2f\n' "$name" "$type" "$(wall_s "$out.log")" "$(peak_mb "$out.log")" "$kb" \
           "$(awk -v k="$kb" -v p="$png_kb" 'BEGIN { print k / p }')"
  done
done

# The largest pictures: MSARENDER_BENCH_HUGE=1 draws a synthetic 100,000 x 1,000 alignment (12 Gpx, minutes)
# and checks peak memory against 12 bytes per cell plus 256 MiB.
if [ "${MSARENDER_BENCH_HUGE:-0}" = 1 ]; then
  huge="$build/huge-100000x1000.fa"
  [ -s "$huge" ] || awk 'BEGIN { srand(7); a = "ACDEFGHIKLMNPQRSTVWY-";
    for (i = 0; i < 100000; ++i) { s = ""; for (c = 0; c < 1000; ++c) s = s substr(a, int(rand() * 21) + 1, 1);
      printf ">seq%d\n%s\n", i, s } }' >"$huge"
  /usr/bin/time -v "$build/apps/msarender/msarender" -q "$huge" -o "$build/huge.png" 2>"$build/huge.log"
  awk -F': ' '/Maximum resident set size/ { kb = $2 } END {
    bound = (12 * 100000 * 1000 + 256 * 1048576) / 1024;
    printf "huge 100000 x 1000: peak %.0f MB, bound %.0f MB, ratio %.2f\n", kb / 1024, bound / 1024, kb / bound }' \
    "$build/huge.log"
fi
