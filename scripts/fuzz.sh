#!/bin/sh
# The pure rules under AddressSanitizer, UndefinedBehaviorSanitizer and libFuzzer (native clang build in build-fuzz/).
#   scripts/fuzz.sh check                  every target over its corpus for a short, fixed number of runs (the tests)
#   scripts/fuzz.sh run SECONDS [target]   each target (or one) for SECONDS; inputs that reach new code join its corpus
# Targets: paths extensions shell_list keep_list command_line key_paths strings log_lines (fuzz/<target>.cpp).
# A fault stops the run and leaves its input in build-fuzz/artifacts/.
set -e
cd "$(dirname "$0")/.."
usage="usage: scripts/fuzz.sh check | run SECONDS [target]"
TARGETS="paths extensions shell_list keep_list command_line key_paths strings log_lines"
CHECK_RUNS=${FUZZ_CHECK_RUNS:-20000}
ROOT=$(pwd)
BUILD="$ROOT/build-fuzz"

cmake -S fuzz -B "$BUILD" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$BUILD" -j "$(nproc 2>/dev/null || echo 2)" >/dev/null
mkdir -p "$BUILD/artifacts"
export UBSAN_OPTIONS=print_stacktrace=1

fuzz() {
    target=$1; shift
    scratch="$BUILD/new/$target"
    start=$(date +%s%N)
    rm -rf "$scratch"; mkdir -p "$scratch"
    # New inputs land in the scratch folder (the first one named); the committed corpus is only read.
    "$BUILD/fuzz_$target" -max_len=2048 -print_final_stats=1 -artifact_prefix="$BUILD/artifacts/$target-" \
        "$@" "$scratch" "$ROOT/fuzz/corpus/$target" 2>"$BUILD/$target.log" || {
        grep -E 'ERROR|runtime error|broken invariant|SUMMARY' "$BUILD/$target.log" >&2
        echo "fuzz: $target failed; log in $BUILD/$target.log" >&2
        return 1
    }
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$BUILD/$target.log")
    echo "$target: $runs inputs, $((runs * 1000000000 / ($(date +%s%N) - start))) per second"
}

case "$1" in
check)
    for target in $TARGETS; do fuzz "$target" -runs="$CHECK_RUNS"; done ;;
run)
    [ -n "$2" ] || { echo "$usage" >&2; exit 2; }
    for target in ${3:-$TARGETS}; do
        fuzz "$target" -max_total_time="$2"
        # Only the inputs that reach code the corpus does not yet reach are kept.
        "$BUILD/fuzz_$target" -merge=1 "$ROOT/fuzz/corpus/$target" "$BUILD/new/$target" 2>/dev/null
    done ;;
*) echo "$usage" >&2; exit 2 ;;
esac
