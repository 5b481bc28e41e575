#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for SECONDS, two at a time
# (FUZZ_JOBS=1: one at a time)
# on the seed corpus that make-seed-corpus writes plus the corpus that earlier
# runs in the same build folder grew.
#   fuzz/run.sh SECONDS [BUILD_FOLDER]     (default build-fuzz)
# Exits non-zero when a target found a failure; its input is kept as
# BUILD_FOLDER/findings/<target>-crash-* (or -leak-, -timeout-, -oom-).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:?usage: fuzz/run.sh SECONDS [BUILD_FOLDER]}
build=${2:-build-fuzz}

CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKDAT_FUZZ=ON -DKDAT_BUILD_TESTS=OFF >/dev/null
cmake --build "$build"
"$build/fuzz/make-seed-corpus" "$build/seeds"
mkdir -p "$build/corpus" "$build/findings" "$build/logs"
# The targets' scratch folders go here, in memory when the host has a tmpfs
# for it (the extraction and name targets make folders and files for every
# input), and all are removed at the end, whatever a target left.
memory=/dev/shm
[[ -d $memory && -w $memory ]] || memory=${TMPDIR:-/tmp}
TMPDIR=$(mktemp -d "$memory/kdat-fuzz.XXXXXX")
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT

# target, seed folder, dictionary
targets=(
  "load_archive archives archive"
  "extract archives archive"
  "number_reader numbers number"
  "entry_name names entry_name"
)

run_target() {
  local target=$1 seeds=$2 dictionary=$3
  mkdir -p "$build/corpus/$target"
  # Each allocation that the extraction target lets fail on purpose makes
  # AddressSanitizer print a warning; they would drown the log.
  "$build/fuzz/${target}_fuzzer" "$build/corpus/$target" "$build/seeds/$seeds" \
    -dict="fuzz/$dictionary.dict" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$build/findings/$target-" 2>&1 |
    grep --line-buffered -v 'AddressSanitizer failed to allocate' >"$build/logs/$target.log"
}

summarise() {
  local target=$1 status=$2 log="$build/logs/$1.log"
  echo "== $target: exit status $status"
  grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)' "$log" || tail -n 40 "$log"
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' "$log" || true
  grep -E 'ERROR|broken property|SUMMARY' "$log" | head -n 20 || true
}

jobs=${FUZZ_JOBS:-2}
failed=0
for ((first = 0; first < ${#targets[@]}; first += jobs)); do
  pids=() names=()
  for entry in "${targets[@]:first:jobs}"; do
    read -r target seeds dictionary <<<"$entry"
    run_target "$target" "$seeds" "$dictionary" &
    pids+=($!) names+=("$target")
  done
  for i in "${!pids[@]}"; do
    status=0
    wait "${pids[$i]}" || status=$?
    summarise "${names[$i]}" "$status"
    ((status == 0)) || failed=1
  done
done
exit "$failed"
