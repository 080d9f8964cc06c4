#!/usr/bin/env bash
# Builds and tests every flavour: native, native with ASan and UBSan, Windows
# x86_64 and Windows i686 (the Windows tests run under Wine on a virtual
# display). Prints a summary; exits non-zero if any step of any flavour failed.
#
#   scripts/test.sh [FLAVOUR...]     flavours: native sanitize win64 win32
#
# Each Windows flavour's Wine prefixes (about 1.3 GB each, four per flavour)
# are removed once its tests have run, so that a full run fits in about
# 12 GB; VELTRANO_KEEP_PREFIXES=1 keeps them for looking into a failure.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
builds=${VELTRANO_BUILDS:-$root/build}
flavours=("$@")
[[ ${#flavours[@]} -gt 0 ]] || flavours=(native sanitize win64 win32)

bash "$root/scripts/install-deps.sh" || exit 1

declare -A summary
failed=0

mkdir -p "$builds"
free_gb=$(df -P -BG "$builds" | awk 'NR == 2 { sub("G", "", $4); print $4 }')
if [[ -n $free_gb && $free_gb -lt 15 ]]; then
    echo "test: only ${free_gb} GB free under $builds; a full run needs about 12 GB" >&2
fi

configure_args() {
    case $1 in
        native) echo "-DCMAKE_BUILD_TYPE=Debug" ;;
        sanitize) echo "-DCMAKE_BUILD_TYPE=Debug -DVELTRANO_SANITIZE=ON" ;;
        # The tests' seams in: they keep the time servers on loopback.
        win64) echo "-DCMAKE_BUILD_TYPE=Debug -DVELTRANO_TEST_SEAMS=ON -DCMAKE_TOOLCHAIN_FILE=$root/cmake/mingw-x86_64.cmake" ;;
        win32) echo "-DCMAKE_BUILD_TYPE=Debug -DVELTRANO_TEST_SEAMS=ON -DCMAKE_TOOLCHAIN_FILE=$root/cmake/mingw-i686.cmake" ;;
        *) return 1 ;;
    esac
}

run_flavour() {
    local flavour=$1 build=$builds/$1 args log
    args=$(configure_args "$flavour") || { summary[$flavour]="unknown flavour"; return 1; }
    log=$build/test.log
    mkdir -p "$build"
    echo "== $flavour: configure and build"
    # shellcheck disable=SC2086
    if ! cmake -S "$root" -B "$build" -G Ninja $args >"$build/configure.log" 2>&1; then
        tail -30 "$build/configure.log"
        summary[$flavour]="configure failed (see $build/configure.log)"
        return 1
    fi
    if ! cmake --build "$build" -j2 >"$build/build.log" 2>&1; then
        grep -E 'error|FAILED' "$build/build.log" | head -40
        summary[$flavour]="build failed (see $build/build.log)"
        return 1
    fi
    echo "== $flavour: test"
    local status=0
    if [[ $flavour == win* ]]; then
        # A subshell, so the Wine environment and its EXIT trap (Xvfb,
        # wineservers) end with this flavour.
        (
            # shellcheck source=scripts/wine-env.sh
            source "$root/scripts/wine-env.sh" "$build" &&
                ctest --test-dir "$build" -j2 --output-on-failure &&
                if [[ $flavour == win64 ]]; then
                    # A picture of the welcome page for people to look at.
                    bash "$root/scripts/welcome-screenshot.sh" "$build" || echo "no screenshot of the welcome page"
                fi
        ) 2>&1 | tee "$log" | grep -v -E '^ALSA lib'
        status=${PIPESTATUS[0]}
        if [[ ${VELTRANO_KEEP_PREFIXES:-0} != 1 ]]; then
            find "$build" -maxdepth 4 -type d -name '*wineprefix' -prune -exec rm -rf {} +
        fi
    else
        ctest --test-dir "$build" -j2 --output-on-failure 2>&1 | tee "$log"
        status=${PIPESTATUS[0]}
    fi
    local line
    line=$(grep -E 'tests passed, [0-9]+ tests? failed out of' "$log" | tail -1)
    summary[$flavour]=${line:-"no test result (see $log)"}
    [[ $status -eq 0 && -n $line ]]
}

for flavour in "${flavours[@]}"; do
    run_flavour "$flavour" || failed=1
done

echo
echo "== summary"
for flavour in "${flavours[@]}"; do
    printf '  %-9s %s\n' "$flavour" "${summary[$flavour]}"
done
if [[ $failed -ne 0 ]]; then
    echo "FAILED"
    exit 1
fi
echo "all flavours passed"
