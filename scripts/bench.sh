#!/usr/bin/env bash
# Builds the Windows x86_64 flavour and runs the benchmarks under Wine. They
# print figures and ratios against baselines measured in the same run.
#
#   scripts/bench.sh [RUNS]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELTRANO_BUILDS:-$root/build}/win64
runs=${1:-7}

bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" >/dev/null
cmake --build "$build" -j2 --target setup_bench minimal_window veltrano >/dev/null

# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh" "$build"
wine "$build/bench/setup_bench.exe" --runs "$runs" \
    --veltrano "$(winepath -w "$build/shell/veltrano.exe")" \
    --minimal "$(winepath -w "$build/bench/minimal_window.exe")" 2>&1 | grep -v '^ALSA lib'

# The registry analyser's scan over a large generated registry against a
# bare walk of the same keys, and how soon its Stop is honoured.
cmake --build "$build" -j2 --target scan_bench >/dev/null
wine "$build/bench/scan_bench.exe" --runs 2 2>&1 | grep -v '^ALSA lib'
