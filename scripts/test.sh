#!/bin/sh
# Installs what is missing, builds both architectures, and runs every test
# under wine64 (in a fresh private Wine prefix inside build/) and Xvfb; the pure rules are
# also fuzzed natively for a short, fixed number of inputs.
set -e
cd "$(dirname "$0")/.."
sh scripts/prerequisites.sh
sh scripts/build.sh all
sh scripts/fuzz.sh check
cd build
# A few window and shell tests are sensitive to a loaded machine; a test that
# fails is run once more before it counts as failed (each failure stays in the output).
xvfb-run -a ctest -j2 --output-on-failure --repeat until-pass:2
