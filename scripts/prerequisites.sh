#!/bin/sh
# Installs, with apt-get, whatever the build, the installer, the demonstration and the tests need and is missing.
# Works as root, or as a user who may use sudo.
set -e
PACKAGES="cmake make python3 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools \
libwine-dev wine64 fonts-wine googletest xvfb xauth clang libclang-rt-14-dev nsis cmark-gfm"
missing=""
for package in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing="$missing $package"
done
[ -z "$missing" ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
        echo "prerequisites: missing:$missing" >&2
        echo "prerequisites: run this script as root, or install sudo, to install them" >&2
        exit 1
    fi
    SUDO="sudo"
fi
cat <<TEXT
Installing:$missing
  Wine (wine64, libwine, about 770 MB) runs the Windows programs and their tests on this machine;
  the MinGW-w64 cross compilers (about 300 MB for each of x86_64 and i686) build them; cmake, widl
  (mingw-w64-tools), googletest and Xvfb build the type library and run the tests; clang and its
  runtime libraries (libclang-rt-14-dev) build the native fuzz tests; nsis
  makes the installer, and cmark-gfm turns the script writers' reference into the HTML it installs;
  fonts-wine gives Wine the symbol font its windows draw their caption buttons with.
  About 2 GB in all with their dependencies; the download and installation take several minutes.
TEXT
# sudo starts apt-get with a clean environment: the non-interactive setting must be passed through env.
# Another package run (an unattended upgrade, a second terminal) holds the dpkg lock for a while: wait for it
# rather than failing at once.
LOCK_WAIT="-o DPkg::Lock::Timeout=600"
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get $LOCK_WAIT update -qq
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get $LOCK_WAIT install -y -qq $missing
