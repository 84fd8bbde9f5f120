#!/bin/sh
# Installs, with apt-get, whatever the build and the tests need and is missing.
set -e
PACKAGES="cmake make python3 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools \
libwine-dev wine64 googletest xvfb xauth"
missing=""
for package in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing="$missing $package"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing
