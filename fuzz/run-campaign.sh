#!/bin/bash
# Runs the fuzzing campaign: each fuzz target in turn, one fuzzer process at a
# time, for a number of executions, then prints per target the executions, the
# coverage (edges) and the inputs that broke it.
#
# Needs the libFuzzer build:
#   CC=clang CXX=clang++ cmake -S . -B build-fuzz -DOKU_FUZZ=ON -DOKU_BUILD_TESTS=OFF
#   cmake --build build-fuzz --target fuzz_<Name> ...
# Usage: fuzz/run-campaign.sh [-b build-dir] [-n runs] [-w work-dir] [-t] [target ...]
# Defaults: build-fuzz, 1000000 runs, build-fuzz/campaign, every target built;
# -t only prints the table of the last campaign in the work directory.
# Leaves behind, in the work directory: per target the grown corpus
# (corpus/<target>, seeded from fuzz/corpus/<target>, which it never
# changes), the fuzzer's log (<target>.log) and the inputs that crashed,
# leaked, ran out of memory or timed out (artifacts/<target>/).
set -u
cd "$(dirname "$0")/.."
build=build-fuzz
runs=1000000
work=
tableOnly=
while getopts b:n:w:t option; do
  case $option in
    b) build=$OPTARG ;;
    n) runs=$OPTARG ;;
    w) work=$OPTARG ;;
    t) tableOnly=1 ;;
    *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))
work=${work:-$build/campaign}
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for program in "$build"/fuzz/fuzz_*; do
    [ -x "$program" ] && targets+=("${program##*/fuzz_}")
  done
fi
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets in $build/fuzz" >&2; exit 1; }

mkdir -p "$work"
# Several targets write their input to a scratch file each run: in memory,
# not on the disk, or those runs take ten times as long.
[ -w /dev/shm ] && export TMPDIR=/dev/shm
for target in "${targets[@]}"; do
  [ -z "$tableOnly" ] || break
  corpus=$work/corpus/$target
  artifacts=$work/artifacts/$target
  mkdir -p "$corpus" "$artifacts"
  echo "fuzzing $target ($runs runs)" >&2
  # A file of a few KiB must neither need 512 MiB nor take seconds.
  "$build/fuzz/fuzz_$target" "$corpus" "fuzz/corpus/$target" -runs="$runs" \
    -rss_limit_mb=512 -malloc_limit_mb=512 -timeout=5 -max_len=4096 \
    -artifact_prefix="$artifacts/" -print_final_stats=1 >"$work/$target.log" 2>&1
done

printf '%-16s %10s %8s  %s\n' target executions cov findings
for target in "${targets[@]}"; do
  log=$work/$target.log
  [ -f "$log" ] || continue
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  findings=$(find "$work/artifacts/$target" -type f 2>/dev/null | wc -l)
  printf '%-16s %10s %8s  %s\n' "$target" "${executions:-?}" "${coverage:-?}" "$findings"
done
