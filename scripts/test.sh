#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
nimbo_install_missing
jobs=$(nproc)

# The benchmarks are built too (not run: scripts/bench.sh does that on an idle
# machine), so that they keep compiling as the code under them changes.
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNIMBO_WERROR=ON -DNIMBO_BENCH=ON >/dev/null
cmake --build build-test -j "$jobs"
ctest --test-dir build-test --output-on-failure -j "$jobs"

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer
# (g++, offscreen). Leak detection stays on and nothing is suppressed: no
# test, Qt's own libraries included, leaks at exit. The random walk takes
# fewer steps, as every step runs several times slower here.
cmake -S . -B build-test-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNIMBO_WERROR=ON -DNIMBO_SANITIZE=ON >/dev/null
cmake --build build-test-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  NIMBO_RANDOM_WALK_STEPS=30000 ctest --test-dir build-test-asan --output-on-failure -j "$jobs"

# Each fuzz target for a minute (clang, libFuzzer, ASan and UBSan); a crash, a
# hang, a leak or a broken rule fails the run.
NIMBO_FUZZ_BUILD=build-test-fuzz fuzz/run.sh 60
