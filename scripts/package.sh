#!/usr/bin/env bash
# Makes what a Windows user copies: one zip per architecture holding
# veltrano.exe, its folder "help" beside it (the program opens its tip help
# pages from "help" in its own folder, wherever that is) and
# README-WINDOWS.txt, the README's part for Windows users.
#
#   scripts/package.sh [--out DIR] [ARCH[=BUILD]...]    ARCH: x86_64 i686 (default: both)
#
# ARCH alone configures and builds a Release exe in build/package-ARCH.
# ARCH=BUILD packages the exe and help pages of an existing build folder as
# they are, without building (the tests package their own Debug build so).
# The zips go to DIR (default build/packages), named
# veltrano-VERSION-ARCH.zip; their paths are printed. The same files give
# the same zip: fixed order, fixed times, no owner or host attributes.
set -euo pipefail
shopt -s inherit_errexit

root=$(cd "$(dirname "$0")/.." && pwd)
builds=${VELTRANO_BUILDS:-$root/build}
out=$builds/packages
targets=()

while [[ $# -gt 0 ]]; do
    case $1 in
        --out) out=${2:?--out needs a folder}; shift 2 ;;
        -h | --help) sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
        -*) echo "package.sh: unknown option $1" >&2; exit 2 ;;
        *) targets+=("$1"); shift ;;
    esac
done
[[ ${#targets[@]} -gt 0 ]] || targets=(x86_64 i686)

command -v zip >/dev/null || { echo "package.sh: zip is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }

version=$(sed -n 's/^project(veltrano VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[[ -n $version ]] || { echo "package.sh: no version in CMakeLists.txt" >&2; exit 1; }

# Every file gets the time of the last commit (or SOURCE_DATE_EPOCH), so a
# rebuild of the same sources makes the same zip. Zip stores local times:
# UTC throughout keeps them the same on every machine.
export TZ=UTC
stamp=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 1780000000)}

# The README's part for Windows users, as a Windows text file: markdown marks
# dropped, CRLF line ends (Notepad on XP shows a bare LF file as one line).
windows_readme() {
    awk -v title="Veltrano $version for Windows" '
        function underline(text, mark,   line) {
            line = text; gsub(/./, mark, line); print text; print line
        }
        /^## For Windows users/ { on = 1; underline(title, "="); next }
        on && /^## / { exit }
        on && /^### / { underline(substr($0, 5), "-"); next }
        on { print }' "$root/README.md" |
        sed -e 's/`//g' -e 's/\*\*//g' -e 's/$/\r/'
}

build_release() {
    local arch=$1 build=$builds/package-$1
    echo "== package: Release build for $arch in $build" >&2
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" >"$build.configure.log" 2>&1 ||
        { tail -20 "$build.configure.log" >&2; return 1; }
    cmake --build "$build" -j2 --target veltrano >&2
    echo "$build"
}

package() {
    local arch=$1 build=$2
    local exe=$build/shell/veltrano.exe help=$build/shell/help
    [[ -f $exe ]] || { echo "package.sh: no $exe: build the target veltrano first" >&2; return 1; }
    # A 64-bit exe in the i686 zip would not even start on the XP it is for.
    grep -q "^CMAKE_TOOLCHAIN_FILE:.*mingw-$arch\.cmake$" "$build/CMakeCache.txt" ||
        { echo "package.sh: $build is not an $arch build" >&2; return 1; }
    local pages
    pages=$(cd "$help" 2>/dev/null && find . -maxdepth 2 -type f -name '*.htm' | sed 's|^\./||' | LC_ALL=C sort)
    [[ -n $pages ]] || { echo "package.sh: no help pages in $help" >&2; return 1; }

    local stage zip=$out/veltrano-$version-$arch.zip
    stage=$(mktemp -d)
    mkdir -p "$stage/help" "$out"
    cp "$exe" "$stage/veltrano.exe"
    local page files=(veltrano.exe README-WINDOWS.txt)
    for page in $pages; do
        # Translated pages sit in a folder per language: help/de/tip0025.htm.
        mkdir -p "$(dirname "$stage/help/$page")"
        cp "$help/$page" "$stage/help/$page"
        files+=("help/$page")
    done
    windows_readme >"$stage/README-WINDOWS.txt"
    chmod 0644 "${files[@]/#/$stage/}"
    touch -d "@$stamp" "${files[@]/#/$stage/}"
    rm -f "$zip"
    # -X: no owner ids or extra time fields; -D: no folder entries, the
    # files' paths make the folders.
    (cd "$stage" && zip -X -D -q "$zip" "${files[@]}")
    rm -rf "$stage"
    echo "$zip"
}

for target in "${targets[@]}"; do
    arch=${target%%=*}
    case $arch in
        x86_64 | i686) ;;
        *) echo "package.sh: unknown architecture $arch (x86_64 or i686)" >&2; exit 2 ;;
    esac
    if [[ $target == *=* ]]; then
        build=$(cd "${target#*=}" && pwd)
    else
        build=$(build_release "$arch")
    fi
    package "$arch" "$build"
done
