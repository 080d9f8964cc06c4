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
    gettext fonts-wqy-microhei
    xvfb x11-apps x11-utils imagemagick
    googletest libgtest-dev libjpeg-dev
    zip unzip
)

sudo=
if [[ $(id -u) -ne 0 ]]; then
    sudo=sudo
fi

installed() {
    dpkg-query -W -f='${Status}\n' "$1" 2>/dev/null | grep -qx 'install ok installed'
}

# The tests' NTP peers, chrony and NTPsec, conflict with each other as
# packages (both are the machine's time daemon), and installed as services
# either could discipline this machine's clock. So neither is installed: the
# two .debs are fetched into a cache and unpacked into a private tree, and
# only the shared libraries their daemons load come from apt.
# scripts/ntp-peers.sh runs the daemons from there.
ntp_cache=${VELTRANO_NTP_CACHE:-/var/cache/veltrano-ntp}
ntp_packages=(chrony ntpsec)
# ntp-peers.sh probes with python3, puts an address on lo with ip and
# drops the clock capability with setpriv.
packages+=(libedit2 libgnutls30 libnettle8 libseccomp2 libcap2 libbsd0 libssl3 python3 iproute2 util-linux)

missing=()
for package in "${packages[@]}"; do
    installed "$package" || missing+=("$package")
done

unpack_ntp_peers() {
    $sudo mkdir -p "$ntp_cache/debs" "$ntp_cache/root"
    local package deb
    for package in "${ntp_packages[@]}"; do
        [[ -x $ntp_cache/root/usr/sbin/chronyd && $package == chrony ]] && continue
        [[ -x $ntp_cache/root/usr/sbin/ntpd && $package == ntpsec ]] && continue
        deb=$(compgen -G "$ntp_cache/debs/${package}_*.deb" | head -n 1 || true)
        if [[ -z $deb ]]; then
            echo "install-deps: fetching $package"
            (cd "$ntp_cache/debs" && $sudo apt-get download -qq -o APT::Sandbox::User=root "$package")
            deb=$(compgen -G "$ntp_cache/debs/${package}_*.deb" | head -n 1)
        fi
        $sudo dpkg -x "$deb" "$ntp_cache/root"
    done
}

if [[ ${#missing[@]} -eq 0 ]]; then
    unpack_ntp_peers
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
unpack_ntp_peers
echo "install-deps: done"
