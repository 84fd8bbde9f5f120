#!/bin/sh
# Captures the product's windows under Xvfb as PNG files in docs/pictures/: the library's through the
# WindowPictures tool, the launcher's through its run tests' *.Picture tests (which save their window when
# QUILLON_PICTURES names a folder). Needs a build (scripts/build.sh).
set -e
cd "$(dirname "$0")/.."
root=$(pwd)
mkdir -p docs/pictures
cd build
[ -d wineprefix ] || xvfb-run -a ctest -R wine_prefix_setup >/dev/null
QUILLON_PICTURES="Z:$(printf '%s' "$root/docs/pictures" | tr / '\\')"
export QUILLON_PICTURES
# The library's windows come from a tool of their own.
(cd bin && xvfb-run -a ../wine-run ./WindowPictures.exe "$QUILLON_PICTURES")
# The launcher's own windows come from runs of Vantorel.exe, which need a prefix of their own.
for program in options_run_tests; do
    (cd bin && xvfb-run -a ../wine-run --own-prefix "$program-pictures" "./$program.exe" --gtest_filter='*.Picture' \
        --gtest_color=no)
done
ls -l "$root/docs/pictures"
