#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang and runs each for a bounded time on a copy of
# its corpus (fuzz/corpus/<target>), two at a time; the repository stays as it is. A crash, a
# sanitizer report, a failed property or an input that runs longer than 10 s fails the run; the
# input that did it is kept in <build-dir>/fuzz-artifacts.
# Usage: scripts/fuzz.sh [build-dir] [seconds per target]   (defaults: build-fuzz, 30)
# LUXLOG_FUZZ_TARGETS="fuzz_texts ..." runs only those targets.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$here/build-fuzz"}
seconds=${2:-30}
targets=(${LUXLOG_FUZZ_TARGETS:-fuzz_live_poll fuzz_logger_replies fuzz_record_file fuzz_csv_import
    fuzz_plot_ranges fuzz_texts})

# A folder of its own is optimised a little, since fuzzing wants many runs a second; a folder
# that exists already (the sanitizer build, say) keeps its settings and gains the targets.
options=(-DLUXLOG_FUZZ=ON)
if [ ! -f "$build/CMakeCache.txt" ]; then
    options+=(-DLUXLOG_TESTS=OFF -DLUXLOG_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-g -O1")
fi
CC=clang CXX=clang++ cmake -S "$here" -B "$build" "${options[@]}" >/dev/null
cmake --build "$build" --target fuzz_targets -j"$(nproc)"

# Longest input each target tries: record files need lines longer than the reader's item cap.
max_len() {
    case $1 in
        fuzz_record_file) echo 8192 ;;
        fuzz_texts) echo 256 ;;
        *) echo 2048 ;;
    esac
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

run() {
    local target=$1 dir="$work/$1"
    mkdir -p "$dir/corpus"
    cp "$here/fuzz/corpus/$target/"* "$dir/corpus/"
    if "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len="$(max_len "$target")" -artifact_prefix="$dir/" -print_final_stats=1 \
        "$dir/corpus" >"$dir/log" 2>&1; then
        echo "$target: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$dir/log" |
            grep -o '[0-9]*$') runs, no failure"
    else
        echo "$target: FAILED" >&2
        tail -n 40 "$dir/log" >&2
        cp "$dir"/crash-* "$dir"/timeout-* "$dir"/oom-* "$dir"/leak-* "$artifacts/" 2>/dev/null || true
        echo "$target: inputs kept in $artifacts" >&2
        return 1
    fi
}

status=0
for ((i = 0; i < ${#targets[@]}; i += 2)); do
    pids=()
    for target in "${targets[@]:i:2}"; do
        run "$target" &
        pids+=($!)
    done
    for pid in "${pids[@]}"; do
        wait "$pid" || status=1
    done
done
exit $status
