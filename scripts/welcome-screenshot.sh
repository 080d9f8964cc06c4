#!/usr/bin/env bash
# Starts the Windows build's veltrano.exe under Wine, lets the memory
# statistics tick once, saves a picture of the main window on its welcome
# page, then leaves through Exit as a user would.
#
#   scripts/welcome-screenshot.sh BUILD_DIR [OUT.png]     (default BUILD_DIR/welcome.png)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: welcome-screenshot.sh BUILD_DIR [OUT.png]}" && pwd)
out=${2:-$build/welcome.png}

exe=$(find "$build" -name veltrano.exe -path '*shell*' | head -1)
driver=$(find "$build" -name veltrano-driver.exe | head -1)
[[ -n $exe && -n $driver ]] || { echo "welcome-screenshot: build veltrano and veltrano-driver first" >&2; exit 1; }
for tool in xwd convert; do
    command -v "$tool" >/dev/null || { echo "welcome-screenshot: needs $tool (x11-apps, imagemagick)" >&2; exit 1; }
done

# Its last step (a kept wineserver) may answer non-zero when one runs already.
set +e
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh" "$build"
set -e

title="Veltrano 3.1 for Micrsoft Windows XP Professional"
wine "$exe" >/dev/null 2>&1 &
app=$!
# Ours alone to end, whatever happens below.
trap 'kill "$app" 2>/dev/null || true; veltrano_wine_cleanup' EXIT

wine "$driver" wait-window "$title" --timeout 30000 >/dev/null
sleep 2  # the first tick of the statistics, and a margin for painting
read -r x y width height < <(wine "$driver" window-rect "$title" | tr -d '\r')
xwd -root -silent | convert xwd:- -crop "${width}x${height}+${x}+${y}" +repage "$out"
echo "welcome-screenshot: $out"

# Nothing was applied, so Exit ends the program without a question.
# If that did not end it within a minute, the trap does.
wine "$driver" click-toolbar "$title" Exit >/dev/null || true
for _ in $(seq 1 600); do
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
done
