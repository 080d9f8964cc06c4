# shellcheck shell=bash
# Sourced, not run: sets up Wine for one build folder and cleans up on exit.
#
#   source scripts/wine-env.sh BUILD_DIR [--no-display]
#
# Afterwards WINEPREFIX is BUILD_DIR/wineprefix (made ready once: created,
# Windows XP, virtual desktop, the XP machine fixture imported), WINEDEBUG and
# WINEDLLOVERRIDES are set (no sound driver where the machine has no sound),
# and DISPLAY points at an X server (a private Xvfb on a free display when
# none was set). At exit the wineservers of this build's prefixes stop and
# the Xvfb we started goes away. The shell's EXIT trap is ours.

veltrano_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
veltrano_build=${1:?usage: source scripts/wine-env.sh BUILD_DIR}
mkdir -p "$veltrano_build"
veltrano_build=$(cd "$veltrano_build" && pwd)

export WINEPREFIX=$veltrano_build/wineprefix
export WINEDEBUG=-all
# No Mono or Gecko install prompts: without a browser engine the program's
# web parts fail, and that failure is what we want to see, not a dialog.
export WINEDLLOVERRIDES="mscoree,mshtml="

# Wine plays the start chime through PulseAudio when a server answers, else
# through ALSA. Where there is neither (a container, a server) ALSA's library
# prints 16 lines ending in "Unknown PCM default" for the chime, and there is
# nothing to hear: then Wine gets no sound driver, and the program plays into
# the void silently, as on a Windows machine without a sound card. Failing
# to open ALSA also cost a later start about 30 ms, measured.
veltrano_has_sound() {
    compgen -G '/dev/snd/pcmC*' >/dev/null || [[ -n ${PULSE_SERVER:-} ]] ||
        [[ -S ${XDG_RUNTIME_DIR:-/nonexistent}/pulse/native ]] ||
        [[ -e /etc/asound.conf || -e ${HOME:-/nonexistent}/.asoundrc ]]
}
if ! veltrano_has_sound; then
    export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winealsa.drv,winepulse.drv=d"
fi

veltrano_xvfb_pid=
veltrano_start_xvfb() {
    local n
    for n in $(seq 90 140); do
        # A display is taken when its lock or socket exists.
        [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        veltrano_xvfb_pid=$!
        local _
        for _ in $(seq 1 50); do
            if [[ -e /tmp/.X11-unix/X$n ]]; then
                export DISPLAY=":$n"
                return 0
            fi
            kill -0 "$veltrano_xvfb_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill "$veltrano_xvfb_pid" 2>/dev/null
        veltrano_xvfb_pid=
    done
    echo "wine-env: could not start Xvfb" >&2
    return 1
}

veltrano_wine_cleanup() {
    # Every prefix of this build: ours and the ones the test folders made.
    local prefix
    while IFS= read -r prefix; do
        WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    done < <(find "$veltrano_build" -maxdepth 4 -type d -name '*wineprefix' 2>/dev/null)
    if [[ -n $veltrano_xvfb_pid ]]; then
        kill "$veltrano_xvfb_pid" 2>/dev/null || true
        wait "$veltrano_xvfb_pid" 2>/dev/null || true
    fi
}
trap veltrano_wine_cleanup EXIT

if [[ ${2:-} != --no-display && -z ${DISPLAY:-} ]]; then
    veltrano_start_xvfb
fi

# No persistent server (wineserver -p): the desktop process Wine starts for
# the first window of a session inherits that program's output, and with a
# server kept alive it would live on and hold ctest's pipe open for ever.
# Each test program keeps the server up for as long as it runs anyway.
bash "$veltrano_root/scripts/wine-prefix.sh" "$WINEPREFIX" "$veltrano_root/tests/e2e/xp-machine.reg"
