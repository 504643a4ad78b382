#!/usr/bin/env bash
# Sets up, builds and starts luxlog. Without a display it starts on a virtual one (Xvfb).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
# The program as it ships (a test run may have built the same folder lighter).
"$here/scripts/setup.sh" "$here/build" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g -DNDEBUG" \
    -DLUXLOG_BENCH=ON
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: starting luxlog on a virtual X display (xvfb-run)." >&2
    exec xvfb-run -a "$here/build/luxlog" "$@"
fi
exec "$here/build/luxlog" "$@"
