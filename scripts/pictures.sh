#!/bin/sh
# Captures the product's windows under Xvfb as PNG files in docs/pictures/ through the WindowPictures tool, in a
# Wine prefix of its own (it sets the launcher's keys). Needs a build (scripts/build.sh x86_64 WindowPictures).
set -e
cd "$(dirname "$0")/.."
root=$(pwd)
mkdir -p docs/pictures
cd build
[ -d wineprefix ] || xvfb-run -a ctest -R wine_prefix_setup >/dev/null
pictures="Z:$(printf '%s' "$root/docs/pictures" | tr / '\\')"
(cd bin && xvfb-run -a ../wine-run --own-prefix window-pictures ./WindowPictures.exe "$pictures")
ls -l "$root/docs/pictures"
