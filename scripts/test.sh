#!/usr/bin/env bash
# Sets up, builds and runs every test with GCC; checks the format; then builds with clang under
# AddressSanitizer and UndefinedBehaviorSanitizer, runs every test again, runs clang-tidy, and
# runs each fuzz target for a bounded time. LUXLOG_SKIP_SANITIZERS=1 skips the clang pass.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export LUXLOG_CHECK_TOOLS=1
# Each stage's start, in seconds since the run began, to see where the time goes.
stage() { echo "== [${SECONDS}s] $*"; }

stage "set up and build with GCC"
"$here/scripts/setup.sh" "$here/build"
stage "tests"
(cd "$here/build" && ctest --output-on-failure)

stage "format"
"$here/scripts/check-style.sh"

if [ -z "${LUXLOG_SKIP_SANITIZERS:-}" ]; then
    # One clang build serves the sanitizer run of the tests and the fuzz targets.
    stage "build with clang, sanitizers and fuzz targets"
    CC=clang CXX=clang++ "$here/scripts/setup.sh" "$here/build-asan" -DLUXLOG_SANITIZE=ON \
        -DLUXLOG_FUZZ=ON -DLUXLOG_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
    export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    stage "tests under the sanitizers"
    (cd "$here/build-asan" && ctest --output-on-failure)
    stage "format and clang-tidy"
    "$here/scripts/check-style.sh" "$here/build-asan"
    stage "fuzz targets"
    "$here/scripts/fuzz.sh" "$here/build-asan" "${LUXLOG_FUZZ_SECONDS:-30}"
fi
stage "done"
