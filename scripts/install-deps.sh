#!/usr/bin/env bash
# Installs the Debian packages Vespera needs to build, test and benchmark, and only those that
# are missing. Quick and silent when everything is present. Runs as root or through sudo.
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ clang
    # the compiler cache the build uses when present (other build folders, other checkouts)
    ccache
    # libFuzzer for ./fuzz.sh (only recommended by clang, so not pulled in without it)
    libclang-rt-dev
    # window framework, text layout, drawing
    qt6-base-dev
    # image codecs
    libjpeg62-turbo-dev libpng-dev zlib1g-dev
    # tests and benchmarks
    libgtest-dev libbenchmark-dev
    # fonts
    fonts-liberation fontconfig
    # interop peers
    imagemagick netpbm libtiff-tools libjpeg-turbo-progs python3-pil
    # disk images as install targets: mtools reaches their FAT volumes; the tests make images
    # with sfdisk (fdisk) and mkfs.fat, check them with fsck.fat (dosfstools), and meet QEMU's
    # image formats and locks with qemu-img and qemu-io (qemu-utils)
    mtools dosfstools fdisk qemu-utils
    # disk images in QEMU's own formats (VHD, VDI, VMDK, VHDX, qcow2): QEMU's storage daemon
    # (qemu-system-common) shows them as raw files through FUSE (fuse3)
    qemu-system-common fuse3
    # trying the windows as a user would: a virtual X server, input, screenshots
    xvfb xauth xdotool x11-utils
    # the start-up link's and the menu entry's checker; whole-program timing
    desktop-file-utils hyperfine
    # the stack of a run that a failed allocation in a system library ended (memory limits test)
    gdb
    # manual pages (man -l) and the Debian package's library dependencies (cpack -G DEB)
    man-db dpkg-dev
    # the distribution's checks of the Debian package and of its AppStream metainfo
    lintian appstream
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    if [[ "$status" != "install ok installed" ]]; then
        missing+=("$package")
    fi
done

if [[ ${#missing[@]} -eq 0 ]]; then
    exit 0
fi

if [[ $(id -u) -eq 0 ]]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "install-deps: missing packages (${missing[*]}) and neither root nor sudo" >&2
    exit 1
fi

echo "install-deps: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
