#!/bin/bash
# What an ImageMagick update that changes its arithmetic does to the
# program and its render tests: for each call it can change, a preloaded
# library (imagemagick_drift.c) moves one pixel of each of its results by
# 1/65535; the program must say at start that it leaves its own pixel work
# to ImageMagick, and the render tests must skip their comparisons with
# ImageMagick, never fail.
#
#   bench/imagemagick_drift.sh [BUILD_DIR] [OPERATION...]
#
# BUILD_DIR: a build without sanitizers (they refuse preloads) holding
# app/tevrako and tests/test_render (default build-rel, configured with
# -DCMAKE_BUILD_TYPE=Release -DTEVRAKO_TESTS=ON); OPERATIONs: resize,
# composite, perspective, rotate, draw (default all). GTEST_FILTER in the
# environment narrows the tests. Prints per operation the program's line,
# the skipped tests and the test summary; exits 1 when the program says
# nothing or a test fails.
set -eu

build=$(realpath "${1:-build-rel}")
shift $(($# > 0 ? 1 : 0))
operations=${*:-resize composite perspective rotate draw}
program=$build/app/tevrako
tests=$build/tests/test_render
for needed in "$program" "$tests"; do
    [ -x "$needed" ] || { echo "no $needed" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck disable=SC2046
cc -shared -fPIC -O2 -o "$work/drift.so" "$(dirname "$0")/imagemagick_drift.c" \
    $(pkg-config --cflags --libs MagickCore) -ldl

export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy OMP_NUM_THREADS=2
export HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_DATA_HOME=$work/home/data
mkdir -p "$HOME"
status=0
for operation in $operations; do
    echo "== $operation"
    # The program's start-up: its window is up within seconds; then it is closed.
    IMAGEMAGICK_DRIFT=$operation LD_PRELOAD=$work/drift.so "$program" \
        > /dev/null 2> "$work/program.err" &
    pid=$!
    sleep 3
    kill -TERM "$pid"
    wait "$pid" || true
    if ! grep "ImageMagick's own calls differ" "$work/program.err"; then
        echo "the program did not leave its own pixel work to ImageMagick" >&2
        status=1
    fi
    IMAGEMAGICK_DRIFT=$operation LD_PRELOAD=$work/drift.so "$tests" > "$work/tests.out" 2>&1 ||
        status=1
    grep -E '^\[  SKIPPED \] .*\)$' "$work/tests.out" || true
    grep -E '^\[  (PASSED|FAILED)  \]' "$work/tests.out"
done
exit $status
