#!/usr/bin/env bash
# Installs what is missing, builds everything under AddressSanitizer and
# UndefinedBehaviorSanitizer, runs the fuzz targets briefly and then every test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc)

cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"

# Fuzz targets (clang's libFuzzer), each for FUZZ_SECONDS with its seed corpus.
if ls fuzz/*_fuzz.cpp >/dev/null 2>&1; then
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz -j "$jobs"
  scripts/run-fuzzers.sh build/fuzz "${FUZZ_SECONDS:-30}"
fi

# The worker pool and the line check once more under ThreadSanitizer.
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j "$jobs"
ctest --preset tsan -j "$jobs"

# Every test; CTest's summary closes the run.
ctest --preset asan -j "$jobs"
