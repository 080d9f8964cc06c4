#!/usr/bin/env bash
# A picture of every page in one language, for translators and reviewers:
# builds the Windows x86_64 Veltrano as scripts/run.sh does, starts it with
# /lang LANG on a virtual display and saves build/screenshots/LANG/NN-page.png.
#
#   scripts/screenshots.sh LANG      (en, de, fr, es, it, pt-BR, nl, pl, ru, tr, ja, zh-CN, ko)
set -euo pipefail

lang=${1:?usage: scripts/screenshots.sh LANG}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELTRANO_BUILD_DIR:-$root/build/run-win64}
out=$root/build/screenshots/$lang
window=@TForm1  # the main window by its class (shell/win32/window_classes.h): its title is in the language shown

bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELTRANO_TEST_SEAMS=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" >/dev/null
echo "screenshots: building veltrano.exe (Release, x86_64) in $build"
log=$build/run-build.log
if ! cmake --build "$build" -j2 --target veltrano veltrano-driver >"$log" 2>&1; then
    cat "$log" >&2
    exit 1
fi
veltrano_exe='' veltrano_driver=''
# shellcheck source=/dev/null
source "$build/veltrano-paths.sh"

# A virtual display of its own even where there is one: the pictures must
# not catch other windows.
unset DISPLAY
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh" "$build"
driver() { wine "$veltrano_driver" "$@"; }

mkdir -p "$out"
wine "$veltrano_exe" /lang "$lang" &
driver wait-window "$window" --timeout 60000 >/dev/null || { echo "screenshots: no window" >&2; exit 1; }
convert=/usr/bin/convert
[[ -x $convert ]] || convert=convert
shoot() {
    read -r x y w h < <(driver window-rect "$window")
    xwd -root -silent | "$convert" xwd:- -crop "${w}x${h}+${x}+${y}" +repage "$1"
}
# The nine pages in the navigation bar's order; Exit (the tenth) would end the program.
for page in 0 1 2 3 4 5 6 7 8; do
    driver click-toolbar "$window" "#$page" >/dev/null
    # The page is drawn once the program is idle again; a moment for the
    # virtual display to show it.
    sleep 1
    shoot "$out/$(printf '%02d' $((page + 1)))-page.png"
done
driver close "$window" --timeout 5000 >/dev/null || true
ls "$out"/*.png
