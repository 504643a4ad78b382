#!/usr/bin/env bash
# Installs what luxlog needs on Debian 12 (idempotent) and builds it.
# Usage: scripts/setup.sh [build-dir] [extra cmake options...]
# LUXLOG_CHECK_TOOLS=1 also installs what the test run checks with (clang, clang-tidy, ...).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$here/build"}
shift || true

packages=(build-essential cmake ninja-build qt6-base-dev qt6-serialport-dev libqt6serialport6-dev
          libgtest-dev libgmock-dev fonts-liberation2 xvfb xauth
          pkg-config libmosquitto-dev dpkg-dev)
# The tests' own broker, subscriber and certificates (luxlog-cli publish).
packages+=(mosquitto mosquitto-clients openssl)
# The checks of the test run: clang with its sanitizer and fuzzer runtimes, the style tools.
if [ -n "${LUXLOG_CHECK_TOOLS:-}" ]; then
    packages+=(clang libclang-rt-14-dev clang-format clang-tidy)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Ninja for a new build folder (it keeps both cores busy across targets); one made before keeps
# its generator.
generator=()
[ -f "$build/CMakeCache.txt" ] || generator=(-G Ninja)
cmake -S "$here" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
