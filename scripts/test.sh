#!/usr/bin/env bash
# Sets up, builds and runs every test with GCC; checks the format; builds with clang under
# AddressSanitizer and UndefinedBehaviorSanitizer while the GCC tests run, then runs every test
# again, while clang-tidy and a bounded run of each fuzz target go on at low priority beside
# the tests (which mostly wait on real time). LUXLOG_SKIP_SANITIZERS=1 skips the clang pass.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export LUXLOG_CHECK_TOOLS=1
# Each stage's start, in seconds since the run began, to see where the time goes.
stage() { echo "== [${SECONDS}s] $*"; }

# No debug information and light optimisation in the test build: the compiler's time is most
# of the run, and the tests mostly wait on real time. The benchmark program is built by
# scripts/run.sh and by hand, not here. Both builds are unity builds (see CMakeLists.txt), so
# clang-tidy reads each library's batch once instead of Qt's headers once a file.
stage "set up and build with GCC"
"$here/scripts/setup.sh" "$here/build" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -DNDEBUG" \
    -DLUXLOG_BENCH=OFF
stage "format"
"$here/scripts/check-style.sh"

if [ -n "${LUXLOG_SKIP_SANITIZERS:-}" ]; then
    stage "tests"
    (cd "$here/build" && ctest -j3 --output-on-failure)
    stage "done"
    exit 0
fi

# The GCC build's tests run while clang builds: most of their time is spent waiting on real
# time (the simulator on a pseudo-terminal), and none of them depends on an idle machine.
stage "tests, beside the clang build"
gcc_log="$here/build/ctest.log"
(cd "$here/build" && ctest -j3 --output-on-failure) > "$gcc_log" 2>&1 &
gcc_tests=$!
trap 'kill "$gcc_tests" 2>/dev/null || true' EXIT

# One clang build serves the sanitizer run of the tests, clang-tidy and the fuzz targets; line
# tables are enough for the sanitizers' stack traces.
stage "build with clang, sanitizers and fuzz targets"
CC=clang CXX=clang++ "$here/scripts/setup.sh" "$here/build-asan" -DLUXLOG_SANITIZE=ON \
    -DLUXLOG_FUZZ=ON -DLUXLOG_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-gline-tables-only"

stage "waiting for the tests"
status=0
wait "$gcc_tests" || status=$?
cat "$gcc_log"
if [ "$status" -ne 0 ]; then
    echo "tests failed (see above)" >&2
    exit "$status"
fi

stage "clang-tidy, then the fuzz targets, in the background"
checks_log="$here/build-asan/checks.log"
(
    nice -n 19 "$here/scripts/check-style.sh" "$here/build-asan"
    nice -n 19 "$here/scripts/fuzz.sh" "$here/build-asan" "${LUXLOG_FUZZ_SECONDS:-20}"
) > "$checks_log" 2>&1 &
checks=$!
trap 'kill "$checks" 2>/dev/null || true' EXIT

stage "tests under the sanitizers"
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd "$here/build-asan" && ctest -j3 --output-on-failure)

stage "waiting for clang-tidy and the fuzz targets"
status=0
wait "$checks" || status=$?
trap - EXIT
cat "$checks_log"
if [ "$status" -ne 0 ]; then
    echo "clang-tidy or a fuzz target failed (see above)" >&2
    exit "$status"
fi
stage "done"
