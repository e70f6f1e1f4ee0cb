#!/usr/bin/env bash
# Configures and builds into build/ (Release unless BUILD_TYPE says otherwise).
# Arguments name the targets to build; none builds everything.
# BUILD_TYPE and KODEXA_TESTS (ON/OFF: tests and benchmarks), when given, also apply to an
# existing build directory.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
OPTIONS=()
command -v ccache >/dev/null && OPTIONS+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
[ -n "${KODEXA_TESTS:-}" ] && OPTIONS+=(-DKODEXA_TESTS="$KODEXA_TESTS")
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" "${OPTIONS[@]}"
elif [ -n "${BUILD_TYPE:-}" ] || [ -n "${KODEXA_TESTS:-}" ]; then
  cmake -S . -B "$BUILD_DIR" ${BUILD_TYPE:+-DCMAKE_BUILD_TYPE="$BUILD_TYPE"} "${OPTIONS[@]}"
fi
TARGETS=()
for t in "$@"; do TARGETS+=(--target "$t"); done
cmake --build "$BUILD_DIR" -j"$(nproc)" "${TARGETS[@]}"
