#!/usr/bin/env bash
# Set-up, build and run every test: the normal build (core, windows offscreen, end-to-end),
# then the core tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs=$(nproc)

# Formatting is part of the build's rules.
if command -v clang-format >/dev/null && git rev-parse --git-dir >/dev/null 2>&1; then
    git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
(cd build && ctest --output-on-failure -j "$jobs")

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHARLUNE_SANITIZE=ON \
      -DHARLUNE_GUI=OFF -DHARLUNE_BENCH=OFF
cmake --build build-asan -j "$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
     ctest --output-on-failure -j "$jobs" -L core)
