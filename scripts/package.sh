#!/bin/sh
# Builds the player's installer, build/VantorelSetup-<version>-x64.exe: Vantorel.exe and Quillon.dll
# stripped of their symbols, the read-me the first run shows, Start-menu shortcuts, an uninstaller
# and, when chosen, Quillon registered for script clients (installer/Vantorel.nsi).
set -e
cd "$(dirname "$0")/.."
sh scripts/prerequisites.sh
sh scripts/build.sh x86_64 installer
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)
echo "package.sh: build/VantorelSetup-$version-x64.exe"
