#!/bin/sh
# The product's main job: installs what is missing, builds, registers Quillon
# in a private Wine prefix (build/run-prefix) and shows it working from a
# script client.
set -e
cd "$(dirname "$0")/.."
sh scripts/prerequisites.sh
sh scripts/build.sh x86_64
export WINEPREFIX="$PWD/build/run-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
WINE=/usr/lib/wine/wine64
[ -f "$WINEPREFIX/system.reg" ] || $WINE wineboot -i >/dev/null 2>&1
$WINE regsvr32 /s "build/bin/Quillon.dll"
$WINE cscript //nologo "Z:$PWD/scripts/demo.vbs"
/usr/lib/wine/wineserver -w
