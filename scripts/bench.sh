#!/usr/bin/env bash
# Builds the Windows x86_64 flavour in Release and runs the benchmarks under
# Wine. They print figures and ratios against baselines measured in the same
# run; nothing asserts on time.
#
#   scripts/bench.sh [RUNS] [--start-only]
#
# --start-only runs the start-up part alone: start to first paint against
# the minimal window programs, and veltrano.exe's stages.
#
# The build has a folder of its own (build/bench-win64): the tests' Debug
# build in build/win64 stays as it is. It alone records the stages of the
# start-up, of a click and of /apply (VELTRANO_BENCH_STAGES): the exe users
# get does not.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELTRANO_BUILDS:-$root/build}/bench-win64
runs=7 start_only=
for arg in "$@"; do
    case $arg in
    --start-only) start_only=--start-only ;;
    *) runs=$arg ;;
    esac
done

bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELTRANO_BENCH_STAGES=ON \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" >/dev/null
cmake --build "$build" -j2 --target setup_bench minimal_window themed_window veltrano >/dev/null

# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh" "$build"
exe=$(winepath -w "$build/shell/veltrano.exe")
echo "== first-run set-up and start-up"
wine "$build/bench/setup_bench.exe" --runs "$runs" $start_only --veltrano "$exe" \
    --minimal "$(winepath -w "$build/bench/minimal_window.exe")" \
    --themed "$(winepath -w "$build/bench/themed_window.exe")" 2>&1 | grep -v '^ALSA lib'
[[ -z $start_only ]] || exit 0

cmake --build "$build" -j2 --target action_bench apply_bench minimal_console >/dev/null
echo "== Apply and Undo, click to balloon"
wine "$build/bench/action_bench.exe" --runs "$runs" --veltrano "$exe" \
    --machine-reg "$(winepath -w "$root/tests/e2e/xp-machine.reg")" 2>&1 | grep -v '^ALSA lib'
echo "== /apply of a profile of all 48 tips, start to exit"
wine "$build/bench/apply_bench.exe" --runs "$runs" --veltrano "$exe" \
    --console "$(winepath -w "$build/bench/minimal_console.exe")" \
    --machine-reg "$(winepath -w "$root/tests/e2e/xp-machine.reg")" 2>&1 | grep -v '^ALSA lib'

# The registry analyser's scan over a large generated registry, with an
# ignore list of 1 000 entries, against a bare walk of the same keys, and
# how soon its Stop is honoured.
cmake --build "$build" -j2 --target scan_bench >/dev/null
wine "$build/bench/scan_bench.exe" --runs 2 2>&1 | grep -v '^ALSA lib'

# One refresh of the process list with 200 processes: the picture against
# the bare snapshot calls, and the window's share of it.
cmake --build "$build" -j2 --target procmon_bench >/dev/null
echo "== process list refresh, 200 processes"
wine "$build/bench/procmon_bench.exe" --runs "$runs" 2>&1 | grep -v '^ALSA lib'
