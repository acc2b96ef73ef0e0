#!/usr/bin/env bash
# Builds the reader fuzz targets with clang in their own build directory and runs each one for a bounded
# time, one after the other (they are single-process: the machine's other cores stay free).
#
#   fuzz/run.sh [seconds per target] [target...]
#   targets: fasta clustal stockholm phylip pir msf nexus selex detect
#
# Seeds are real files from tests/data; what a run learns stays in $FUZZ_BUILD_DIR/corpus/<target>. A crash
# or hang is written to $FUZZ_BUILD_DIR/artifacts/<target>/; copy it into fuzz/regressions/<target>/ with a
# name that says what it is, fix the reader, and the regular test suite replays it from then on.
# Needs clang and libFuzzer's runtime: scripts/setup.sh --fuzz installs them.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-180}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fasta clustal stockholm phylip pir msf nexus selex detect)
build_dir=${FUZZ_BUILD_DIR:-build-fuzz}
data=tests/data

seeds_for() {
  case "$1" in
    fasta) echo jalview_uniref50.fa globins50.afa globins50_hmmalign.a2m ;;
    clustal) echo emboss_ecoli6s.aln seaview_nuc.aln ;;
    stockholm) echo globins4.sto fn3.sto ;;
    phylip) echo globins50.phy globins50_sequential.phy phyml_nucleic12.phy ;;
    pir) echo seaview_nuc.pir globins50.pir ;;
    msf) echo globins50.msf seaview_nuc.msf ;;
    nexus) echo seaview_nuc.nex seaview_example.nxs ;;
    selex) echo seaview_nuc.slx emboss_r17.selex ;;
    detect) echo globins4.sto jalview_uniref50.fa jalview_uniref50.fa.gz jalview_uniref50.fa.bz2 \
      jalview_uniref50.fa.xz seaview_nuc.aln seaview_nuc.pir globins50.phy seaview_nuc.msf seaview_nuc.nex \
      emboss_r17.selex ;;
    *) echo "fuzz: unknown target '$1'" >&2; return 1 ;;
  esac
}

cmake -S fuzz -B "$build_dir" -G Ninja -DCMAKE_CXX_COMPILER="${CXX:-clang++}" >/dev/null
cmake --build "$build_dir" -j2 $(printf -- '--target fuzz_%s ' "${targets[@]}")

export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
summary=()
status=0
for target in "${targets[@]}"; do
  binary="$build_dir/fuzz_$target"
  seeds="$build_dir/seeds/$target"
  corpus="$build_dir/corpus/$target"
  artifacts="$build_dir/artifacts/$target"
  mkdir -p "$seeds" "$corpus" "$artifacts"
  for file in $(seeds_for "$target"); do cp "$data/$file" "$seeds/"; done

  # Every input that once crashed or hung must stay fixed.
  regressions="fuzz/regressions/$target"
  if [ -d "$regressions" ] && [ -n "$(ls -A "$regressions")" ]; then
    "$binary" -timeout=10 -rss_limit_mb=2048 "$regressions"/* >"$build_dir/$target-regressions.log" 2>&1 ||
      { echo "fuzz: $target fails on a regression input, see $build_dir/$target-regressions.log" >&2; status=1; }
  fi

  log="$build_dir/$target.log"
  echo "fuzz: running $target for ${seconds} s"
  if ! "$binary" "$corpus" "$seeds" -dict=fuzz/formats.dict -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2048 -max_len=32768 -print_final_stats=1 -artifact_prefix="$artifacts/" >"$log" 2>&1; then
    status=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  found=$(find "$artifacts" -type f | wc -l)
  summary+=("$target: ${runs:-?} executions, corpus $(ls "$corpus" | wc -l) inputs, $found findings")
done

printf 'fuzz: %s\n' "${summary[@]}"
exit $status
