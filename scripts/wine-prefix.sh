#!/usr/bin/env bash
# Makes a private Wine prefix ready for Veltrano: created once, reporting
# Windows XP, with the machine fixture imported. Cheap when nothing changed:
# a stamp remembers which fixture went in.
#
#   scripts/wine-prefix.sh PREFIX [FIXTURE.reg ...]
set -euo pipefail

prefix=${1:?usage: wine-prefix.sh PREFIX [FIXTURE.reg ...]}
shift
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)

export WINEPREFIX=$prefix
export WINEDEBUG=-all
# No Mono or Gecko install prompts: the program must cope without them.
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=${WINE:-wine}

stamp=$prefix/.veltrano-ready
wanted="xp desktop reg64 v5"
for reg in "$@"; do
    wanted+=" $(cksum <"$reg" | cut -d' ' -f1)"
done
if [[ -f $stamp && $(cat "$stamp") == "$wanted" ]]; then
    exit 0
fi

if [[ ! -f $prefix/system.reg ]]; then
    echo "wine-prefix: creating $prefix (takes 10 to 15 s once)"
    wineboot -i >/dev/null 2>&1
fi
"$wine" reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d winxp /f >/dev/null
# One Wine desktop window instead of an X window per top-level window: with
# no window manager, Wine otherwise stalls a program for 2 s each time one of
# its windows hides (it waits for the manager to confirm). The desktop sits
# at the X origin, so window coordinates stay screen coordinates.
"$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null
"$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d "${VELTRANO_DESKTOP_SIZE:-1280x1024}" /f >/dev/null
for reg in "$@"; do
    # Z: is the Unix root in every prefix.
    reg=$(realpath "$reg")
    # /reg:64: Debian's wine runs the 32-bit reg.exe when wine32 is there,
    # and that one writes HKLM\SOFTWARE's redirected 32-bit view; Veltrano
    # reads the 64-bit view in either build.
    "$wine" reg import "Z:${reg//\//\\}" /reg:64 >/dev/null
done
# No `wineserver -w` here: with a persistent server (wine-env.sh starts one)
# it would wait for ever, and every later program reads the registry from
# the server anyway.
echo "$wanted" >"$stamp"
