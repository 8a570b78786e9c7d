#!/bin/sh
# Builds Tevrako with AddressSanitizer and UBSan and runs every test, then
# builds it with ThreadSanitizer and runs the tests that run the program's
# own threads (CTest label "threads") again. Any sanitizer report fails
# the run.
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)

./scripts/bootstrap.sh

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTEVRAKO_SANITIZE=ON -DTEVRAKO_TESTS=ON
cmake --build build-test -j"$(nproc)"

# Counted before OMP_NUM_THREADS is set below: nproc obeys it.
JOBS=$(nproc)

# AddressSanitizer's guess at the bounds of a dlopen'ed library's thread-local
# block (ImageMagick's coders load libjpeg that way) misreads any such block that
# happens to start 16 bytes past a page, and the leak checker's exit scan then
# crashes on the bogus range. Untracked, those blocks are still scanned: the
# checker counts everything the dynamic loader allocated as live.
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=0:strict_string_checks=1:intercept_tls_get_addr=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen
export SDL_AUDIODRIVER=dummy
# ImageMagick's own thread pool would multiply with ctest's parallel jobs.
export OMP_NUM_THREADS=2

ctest --test-dir build-test -j"$JOBS" --output-on-failure --timeout 900 "$@"

cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTEVRAKO_TSAN=ON -DTEVRAKO_TESTS=ON
cmake --build build-tsan -j"$JOBS"

# intercept_tls_get_addr=0: this sanitizer's runtime miscomputes the size of
# the TLS blocks of libraries ImageMagick loads (libjpeg) and dies mapping
# shadow for it; none of the program's own code lives in such blocks.
export TSAN_OPTIONS="suppressions=$ROOT/tests/tsan.supp:print_suppressions=0:intercept_tls_get_addr=0"

ctest --test-dir build-tsan -L threads -j"$JOBS" --output-on-failure --timeout 900 "$@"
