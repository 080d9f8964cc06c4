#!/usr/bin/env bash
# Builds the Windows x86_64 Veltrano and starts it under Wine in a private
# prefix. Without a display it runs on a virtual one: the script waits for the
# main window, saves a screenshot of it, prints the path and ends the
# program. With a display it also waits for you to close the program.
#
#   scripts/run.sh [ARGS for veltrano.exe]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
# A folder of its own: the tests build build/win64 as Debug with their seams,
# which a Release build refuses.
build=${VELTRANO_BUILD_DIR:-$root/build/run-win64}
title="Veltrano 3.1 for Micrsoft Windows XP Professional"

bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELTRANO_TEST_SEAMS=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" >/dev/null
# One line for the build rather than one a step; the steps are kept in a log
# and shown whole if the build fails.
echo "run: building veltrano.exe (Release, x86_64) in $build"
log=$build/run-build.log
if ! cmake --build "$build" -j2 --target veltrano veltrano-driver >"$log" 2>&1; then
    cat "$log" >&2
    echo "run: the build failed (its output is above and in $log)" >&2
    exit 1
fi

veltrano_exe='' veltrano_driver=''
# shellcheck source=/dev/null
source "$build/veltrano-paths.sh"
if [[ -z $veltrano_exe ]]; then
    echo "run: this tree has no veltrano target yet" >&2
    exit 1
fi

had_display=${DISPLAY:-}
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh" "$build"

wine "$veltrano_exe" "$@" &
app=$!
driver() { wine "$veltrano_driver" "$@"; }

if ! driver wait-window "$title" --timeout 30000 >/dev/null; then
    echo "run: the main window did not appear" >&2
    exit 1
fi
# The window exists before its first paint reaches the screen.
sleep 1
read -r x y w h < <(driver window-rect "$title")
shot=$build/veltrano-main-window.png
convert=/usr/bin/convert
[[ -x $convert ]] || convert=convert
xwd -root -silent | "$convert" xwd:- -crop "${w}x${h}+${x}+${y}" +repage "$shot"
echo "$shot"

if [[ -n $had_display ]]; then
    wait "$app" || true
else
    driver close "$title" --timeout 5000 >/dev/null || true
fi
