#!/bin/sh
# Builds the player's installer, build/VantorelSetup-<version>-x64.exe: Vantorel.exe, Quillon.dll and
# the 32-bit x86\Quillon.dll (from build-i686, which the installer target builds first) stripped of
# their symbols, the read-me the first run shows, Start-menu shortcuts, an uninstaller and, when
# chosen, both libraries registered for script clients (installer/Vantorel.nsi).
set -e
cd "$(dirname "$0")/.."
sh scripts/prerequisites.sh
sh scripts/build.sh x86_64 installer
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)
echo "package.sh: build/VantorelSetup-$version-x64.exe"
