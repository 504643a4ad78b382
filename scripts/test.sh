#!/usr/bin/env bash
# Sets up, builds and runs every test; then again under AddressSanitizer and
# UndefinedBehaviorSanitizer (set LUXLOG_SKIP_SANITIZERS=1 to skip that second pass).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

"$here/scripts/setup.sh" "$here/build"
(cd "$here/build" && ctest --output-on-failure)

if [ -z "${LUXLOG_SKIP_SANITIZERS:-}" ]; then
    "$here/scripts/setup.sh" "$here/build-asan" -DLUXLOG_SANITIZE=ON -DLUXLOG_BENCH=OFF \
        -DCMAKE_BUILD_TYPE=Debug
    export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    (cd "$here/build-asan" && ctest --output-on-failure)
fi
