#!/bin/sh
# Builds the product: build/ for x86_64 (with tests), build-i686/ for i686 (compile and link only).
#   scripts/build.sh [x86_64|i686|all]
set -e
cd "$(dirname "$0")/.."
JOBS=$(nproc 2>/dev/null || echo 2)
build() {
    arch=$1; dir=$2; shift 2
    cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$arch.cmake" -DCMAKE_BUILD_TYPE=Release \
        -DQUILLON_WERROR=ON "$@" >/dev/null
    cmake --build "$dir" -j "$JOBS"
}
case "${1:-x86_64}" in
x86_64) build x86_64 build ;;
i686) build i686 build-i686 -DQUILLON_TESTS=OFF ;;
all) build x86_64 build; build i686 build-i686 -DQUILLON_TESTS=OFF ;;
esac
