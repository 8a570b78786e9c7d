#!/bin/sh
# Builds Tevrako (release) and starts the program.
set -eu
cd "$(dirname "$0")/.."

./scripts/bootstrap.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTEVRAKO_TESTS=OFF
cmake --build build -j"$(nproc)"

exec build/app/tevrako "$@"
