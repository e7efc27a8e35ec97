#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time, from
# the seeds, the kept corpus and the regression cases. A crash, a hang, a leak,
# a sanitizer report or a broken rule fails the run; the input that did it is
# left in <build>/artifacts/<target>/ — add it to fuzz/regressions/<target>/,
# where the normal test run replays it, and fix the fault.
#
#   fuzz/run.sh [seconds per target]        default 60
#   NIMBO_FUZZ_BUILD=<dir>                  build directory, default build-fuzz
#   NIMBO_FUZZ_JOBS=<n>                     parallel fuzzing jobs per target, default 1
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

seconds=${1:-60}
build=${NIMBO_FUZZ_BUILD:-build-fuzz}
jobs=${NIMBO_FUZZ_JOBS:-1}

cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DNIMBO_WERROR=ON -DNIMBO_FUZZ=ON -DNIMBO_GUI=OFF -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target fuzz_catalogue fuzz_calculation fuzz_project make_fuzz_seeds

# New inputs go to a working folder, never into the repository's corpus.
work="$build/work"
rm -rf "$work"
"$build/fuzz/make_fuzz_seeds" "$work" "$root"

summary=""
for target in catalogue calculation project; do
  artifacts="$build/artifacts/$target"
  mkdir -p "$artifacts" "fuzz/regressions/$target" "fuzz/corpus/$target"
  log="$build/fuzz_$target.log"
  echo "== fuzz_$target: ${seconds}s"
  status=0
  # Catalogues up to 64 KB hold a few hundred lines; calculation inputs need
  # only a few hundred bytes (the generated catalogue is built, not read), and
  # larger ones would spend the time loading rather than calculating. A
  # project of 64 KB holds some fifty rooms.
  max_len=65536
  if [ "$target" = calculation ]; then max_len=4096; fi
  # With several jobs libFuzzer writes each job's output to fuzz-<n>.log in
  # the current folder, so they run from the build folder.
  parallel=()
  if [ "$jobs" -gt 1 ]; then parallel=(-jobs="$jobs" -workers="$jobs"); fi
  (cd "$build" && "./fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
    -max_len="$max_len" -dict="$root/fuzz/$target.dict" -use_value_profile=1 -print_final_stats=1 "${parallel[@]}" \
    -artifact_prefix="artifacts/$target/" \
    "work/$target" "$root/fuzz/corpus/$target" "$root/fuzz/regressions/$target") >"$log" 2>&1 || status=$?
  if [ "$jobs" -gt 1 ]; then cat "$build"/fuzz-*.log >>"$log" 2>/dev/null && rm -f "$build"/fuzz-*.log; fi
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    echo "fuzz_$target failed (exit $status); the input is in $artifacts/"
    exit 1
  fi
  runs=$(grep -h 'stat::number_of_executed_units' "$log" | awk '{s += $2} END {print s + 0}')
  corpus=$(find "$work/$target" "fuzz/corpus/$target" -type f | wc -l)
  summary+="fuzz_$target: $runs executions in ${seconds}s, $corpus inputs in the corpus, no faults"$'\n'
done
printf '%s' "$summary"
