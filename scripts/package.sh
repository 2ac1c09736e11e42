#!/usr/bin/env bash
# Builds the program for release and makes its Debian package, build/release/mardo_*.deb.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build gui package

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMARDO_GUI=ON \
      -DMARDO_BUILD_TESTS=OFF -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
cmake --build "$build"
(cd "$build" && cpack -G DEB)
