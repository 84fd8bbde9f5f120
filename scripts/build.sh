#!/bin/sh
# Builds the product: build/ for x86_64 (with tests), build-i686/ for i686 (product and tests compiled and
# linked only: these machines cannot run 32-bit code).
#   scripts/build.sh [x86_64|i686|all] [target ...]
# With targets, only those are built, for example: scripts/build.sh x86_64 Vantorel
set -e
cd "$(dirname "$0")/.."
usage="usage: scripts/build.sh [x86_64|i686|all] [target ...]"
JOBS=$(nproc 2>/dev/null || echo 2)
build() {
    arch=$1; dir=$2; shift 2
    cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$arch.cmake" -DCMAKE_BUILD_TYPE=Release \
        -DQUILLON_WERROR=ON "$@" >/dev/null
}
arch=${1:-x86_64}
[ $# -gt 0 ] && shift
targets=""
for target in "$@"; do targets="$targets --target $target"; done
case "$arch" in
x86_64) build x86_64 build; cmake --build build -j "$JOBS" $targets ;;
i686) build i686 build-i686; cmake --build build-i686 -j "$JOBS" $targets ;;
all)
    build x86_64 build; cmake --build build -j "$JOBS" $targets
    build i686 build-i686; cmake --build build-i686 -j "$JOBS" $targets ;;
*) echo "$usage" >&2; echo "unknown architecture: $arch" >&2; exit 2 ;;
esac
