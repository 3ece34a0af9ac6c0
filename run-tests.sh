#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds everything with AddressSanitizer
# and UndefinedBehaviorSanitizer, and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

build=build-tests
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQMX_SANITIZE=ON
cmake --build "$build" -j "$(nproc)"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
