#!/usr/bin/env bash
# Installs what building and testing Veltrano needs on Debian: the native
# toolchain, the mingw-w64 cross compilers, Wine (64- and 32-bit), a virtual
# X server, the screenshot tools and zip for the Windows packages. Asks apt
# only about what is missing, so a second run takes a moment.
set -euo pipefail

packages=(
    cmake ninja-build make g++
    mingw-w64
    wine wine64 wine32:i386 fonts-wine
    xvfb x11-apps x11-utils imagemagick
    googletest libgtest-dev libjpeg-dev
    zip unzip
)

sudo=
if [[ $(id -u) -ne 0 ]]; then
    sudo=sudo
fi

installed() {
    [[ $(dpkg-query -W -f='${Status}' "$1" 2>/dev/null) == "install ok installed" ]]
}

missing=()
for package in "${packages[@]}"; do
    installed "$package" || missing+=("$package")
done
if [[ ${#missing[@]} -eq 0 ]]; then
    echo "install-deps: everything is installed"
    exit 0
fi

echo "install-deps: installing ${missing[*]}"
# wine32 is an i386 package; apt only sees it once the architecture is known.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# With recommends: that is the Wine every test here has run on; one without
# them (fonts, GL, sound plugins) is untried.
$sudo apt-get install -y -qq "${missing[@]}" >/dev/null
echo "install-deps: done"
