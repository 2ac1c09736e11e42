#!/usr/bin/env bash
# Makes the user guide's pictures afresh in docs/images: the end-to-end script builds the
# guide's first model in the real program on a virtual X display, runs it and shoots each step.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build gui test
build=build/test
if [ ! -f "$build/build.ninja" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARDO_GUI=ON \
          -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
cmake --build "$build" --target mardo mardo-run
bash tests/e2e/run.sh "$PWD/$build/src/app/mardo" "$PWD/$build/src/cli/mardo-run" \
     "$PWD/$build/e2e/guide" docs/images
bash tests/e2e/watch.sh "$PWD/$build/src/app/mardo" "$PWD/$build/src/cli/mardo-run" \
     "$PWD/examples/single-channel.mrd" "$PWD/$build/e2e/guide-watch" docs/images
