#!/bin/sh
# Builds Tevrako (release) and starts the program.
set -eu
cd "$(dirname "$0")/.."

./scripts/bootstrap.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTEVRAKO_TESTS=OFF
cmake --build build -j"$(nproc)"

if [ -x build/app/tevrako ]; then
    exec build/app/tevrako "$@"
fi
echo "Built everything; the program's entry is not part of this build yet."
