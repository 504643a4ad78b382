#!/usr/bin/env bash
# Style checks: clang-format on every C++ file, then clang-tidy (bugprone, performance) on the
# program's and the simulator's sources. Usage: scripts/check-style.sh [build-dir with a
# compile_commands.json]; without one only the format is checked.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

echo "== clang-format"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

if [ $# -ge 1 ]; then
    echo "== clang-tidy"
    tidy=$(command -v run-clang-tidy || command -v run-clang-tidy-14)
    # A unity build lists its batches, which include the sources; another lists the sources.
    build=$(cd "$1" && pwd)
    files="^($here/(src|sim)/.*\.cpp|$build/(src|sim)/.*/Unity/unity_[0-9]+_cxx\.cxx)$"
    "$tidy" -p "$1" -quiet -j "$(nproc)" "$files" > "$1/clang-tidy.log" 2>&1 || {
        grep -E "(warning|error):" "$1/clang-tidy.log" | sort -u
        echo "clang-tidy found problems (full output in $1/clang-tidy.log)" >&2
        exit 1
    }
fi
