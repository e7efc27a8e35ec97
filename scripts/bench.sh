#!/usr/bin/env bash
# Builds the benchmarks (Release) and prints one table: the median of
# repeated runs, the spread (least and most of them) and the target beside
# each figure. Run it when the machine is otherwise idle.
#
#   bash scripts/bench.sh [repetitions]     default 10; start-up runs twice as often
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
nimbo_install_missing

reps=${1:-10}
build=build-bench
bin=$build/bench/program
out=$build/bench/results

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNIMBO_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target nimbo_bench
mkdir -p "$out"
rm -f "$out"/*
load_before=$(cut -d' ' -f1-3 /proc/loadavg)

# Google Benchmark's CSV as "metric value" lines, one per repetition:
# <benchmark>:time (in the benchmark's unit), :MBps, :lines_per_s and every
# user counter.
csv_metrics() {
  awk -v prefix="$2" 'BEGIN { FS = "," }
    /^name,/ {
      for (i = 1; i <= NF; i++) { h = $i; gsub(/"/, "", h); col[h] = i; head[i] = h }
      counters = col["error_message"] + 1; inside = 1; next
    }
    inside {
      name = $1; gsub(/"/, "", name)
      if (name ~ /_(mean|median|stddev|cv)$/) next
      sub(/\/real_time$/, "", name)
      if ($(col["error_occurred"]) == "true") { print "benchmark failed: " name > "/dev/stderr"; exit 1 }
      print prefix name ":time", $(col["real_time"])
      if ($(col["bytes_per_second"]) != "") print prefix name ":MBps", $(col["bytes_per_second"]) / 1e6
      if ($(col["items_per_second"]) != "") print prefix name ":lines_per_s", $(col["items_per_second"])
      for (i = counters; i <= NF; i++) if ($i != "") print prefix name ":" head[i], $i
    }' "$1"
}

run_benchmark() {  # <program> <csv name> [benchmark arguments...]
  local program=$1 csv=$2
  shift 2
  echo "running $program $*" >&2
  "$bin/$program" --benchmark_repetitions="$reps" --benchmark_out="$out/$csv" \
    --benchmark_out_format=csv "$@" >"$out/${csv%.csv}.txt" 2>&1
}

run_benchmark bench_catalogue catalogue.csv
csv_metrics "$out/catalogue.csv" "" >>"$out/metrics"

# The same loads with glibc's malloc asking the kernel for huge pages: it
# shows how much of a full load is the first touch of fresh 4 KB pages.
if grep -q '\[always\]\|\[madvise\]' /sys/kernel/mm/transparent_hugepage/enabled 2>/dev/null; then
  GLIBC_TUNABLES=glibc.malloc.hugetlb=1 run_benchmark bench_catalogue catalogue_hugepages.csv \
    --benchmark_filter='Full'
  csv_metrics "$out/catalogue_hugepages.csv" "huge:" >>"$out/metrics"
fi

run_benchmark bench_calculation calculation.csv
csv_metrics "$out/calculation.csv" "" >>"$out/metrics"

# Start-up: the real program against a bare window and a window with one
# line of text, alternating, on a virtual X display (offscreen without one).
runtime=$(mktemp -d)
startup=(startup_runner $((2 * reps)) bare="$bin/startup_bare" text="$bin/startup_text"
         nimbo="$bin/startup_nimbo")
echo "running start-up, ${startup[1]} rounds" >&2
if command -v xvfb-run >/dev/null; then
  display="Xvfb (xvfb-run), xcb"
  XDG_RUNTIME_DIR=$runtime xvfb-run -a -s "-screen 0 1280x1024x24" "$bin/${startup[0]}" "${startup[@]:1}" \
    >"$out/startup.txt" 2>"$out/startup.log"
else
  display="QT_QPA_PLATFORM=offscreen"
  XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=offscreen "$bin/${startup[0]}" "${startup[@]:1}" \
    >"$out/startup.txt" 2>"$out/startup.log"
fi
rmdir "$runtime"
# name median min max: each program's first frame and steps in ms, the ratios.
awk -F'\t' '{ print "startup:" $1, $2, $3, $4 }' "$out/startup.txt" >"$out/startup_summary"

# Median, least and most of each metric over its repetitions.
sort -k1,1 -k2,2g "$out/metrics" | awk '
  function flush() {
    if (n == 0) return
    median = n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
    print key, median, v[1], v[n]
  }
  $1 != key { flush(); key = $1; n = 0 }
  { v[++n] = $2 }
  END { flush() }' >"$out/summary"
cat "$out/startup_summary" >>"$out/summary"

# One row: <label> <metric> <printf format> <scale> [<target> <at least|at most> <target text>]
row() {
  awk -v label="$1" -v key="$2" -v fmt="$3" -v scale="$4" -v target="${5:-}" -v sense="${6:-}" \
      -v ttext="${7:-}" '
    $1 == key {
      m = $2 * scale; lo = $3 * scale; hi = $4 * scale
      verdict = ""
      if (target != "") {
        ok = sense == "at least" ? m >= target : m <= target
        verdict = ok ? "met" : "MISSED"
      }
      printf "%-58s %10s %21s   %-10s %s\n", label, sprintf(fmt, m), sprintf(fmt " – " fmt, lo, hi), ttext, verdict
      found = 1
    }
    END { if (!found) printf "%-58s %10s\n", label, "(not run)" }' "$out/summary"
}

shipped_lines=$(($(wc -l <data/A/b) - 1))
echo
echo "Benchmarks of Нимбо: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
echo "load average before: $load_before, after: $(cut -d' ' -f1-3 /proc/loadavg); $reps repetitions; start-up on $display"
echo "Memory: heap bytes counted by a global operator new (allocator's usable sizes) / bytes of the values held"
echo
printf "%-58s %10s %21s   %-10s %s\n" "" median "spread (least – most)" target ""
echo "Catalogue, shipped ($shipped_lines lines)"
row "  LoadCatalogue, ms" BM_LoadShipped:time "%.3f" 0.001
row "  LoadCatalogue, MB/s of file" BM_LoadShipped:MBps "%.0f" 1
row "  LoadCatalogue, thousand lines/s" BM_LoadShipped:lines_per_s "%.0f" 0.001
row "  tables / value bytes" BM_LoadShipped:tables_ratio "%.3f" 1
row "  tables' peak while loading / value bytes" BM_LoadShipped:tables_peak "%.3f" 1
echo "Catalogue at the full bounds (1000 records × 200 lines, generated)"
row "  LoadCatalogue, ms" BM_LoadFull:time "%.0f" 1
row "  LoadCatalogue, MB/s of file" BM_LoadFull:MBps "%.0f" 1 250 "at least" "≥ 250"
row "  LoadCatalogue, thousand lines/s" BM_LoadFull:lines_per_s "%.0f" 0.001
row "  parse alone (bytes in memory), MB/s" BM_ParseFull:MBps "%.0f" 1
row "  first write to fresh memory the size of the tables, ms" BM_TouchFullTables:time "%.0f" 1
row "  LoadCatalogue with huge pages, MB/s" huge:BM_LoadFull:MBps "%.0f" 1
row "  parse alone with huge pages, MB/s" huge:BM_ParseFull:MBps "%.0f" 1
row "  first write to fresh memory with huge pages, ms" huge:BM_TouchFullTables:time "%.0f" 1
row "  value bytes, MB" BM_LoadFull:values_MB "%.1f" 1
row "  tables, MB" BM_LoadFull:tables_MB "%.1f" 1
row "  tables / value bytes" BM_LoadFull:tables_ratio "%.3f" 1 1.25 "at most" "≤ 1.25"
row "  the same by the tables' own capacity() sum" BM_LoadFull:capacity_ratio "%.3f" 1
row "  tables' peak while loading / value bytes" BM_LoadFull:tables_peak "%.3f" 1 1.25 "at most" "≤ 1.25"
row "  whole load's peak (file buffer too) / value bytes" BM_LoadFull:load_peak "%.3f" 1
echo "Start-up to the first painted frame, shipped catalogue"
row "  bare Qt window, ms" startup:bare "%.1f" 1
row "  bare window with one line of text, ms" startup:text "%.1f" 1
row "  the program (Form_Main as main.cpp makes it), ms" startup:nimbo "%.1f" 1
row "  program / bare window (round by round)" startup:nimbo/bare "%.2f" 1 1.3 "at most" "≤ 1.3"
row "  program / window with text (round by round)" startup:nimbo/text "%.2f" 1
# Where the time goes: the median time since spawn at which each step ended.
steps() {
  awk -F'\t' -v p="$1" 'index($1, p ".") == 1 {
      line = line sprintf("%s%s %.1f", sep, substr($1, length(p) + 2), $2); sep = ", " }
    END { print line }' "$out/startup.txt"
}
echo "  steps, ms since spawn (median):"
echo "    bare window:  $(steps bare)"
echo "    with text:    $(steps text)"
echo "    the program:  $(steps nimbo)"
echo "One «Считай!»"
row "  Calculate(), µs" BM_Calculate:time "%.1f" 1
row "  LogFile::appendDataLine, µs" BM_AppendDataLine:time "%.1f" 1
row "  Calculate() + file line, µs" BM_CalculateWithFileLine:time "%.1f" 1 200 "at most" "< 200"
row "  Cmd_Start click (whole handler, list entry), µs" BM_CmdStartClick:time "%.1f" 1 200 "at most" "< 200"
row "  click + repaint, empty log list, µs" BM_CmdStartClickShown/0:time "%.0f" 1
row "  click + repaint, 100 entries in the list, µs" BM_CmdStartClickShown/100:time "%.0f" 1
row "  click + repaint, 1000 entries in the list, µs" BM_CmdStartClickShown/1000:time "%.0f" 1
echo "Report of the log saved as PDF (the whole menu command)"
row "  1 calculation, ms" BM_SaveReport/1:time "%.1f" 1
row "  40 calculations (14 pages), ms" BM_SaveReport/40:time "%.0f" 1
row "  file of 1 calculation, kB" BM_SaveReport/1:kB "%.0f" 1
row "  file of 40 calculations, kB" BM_SaveReport/40:kB "%.0f" 1
echo
echo "Raw output: $out"
