#!/usr/bin/env bash
# Configures and builds (executables land in <build folder>/bin/).
#   ./scripts/build.sh           the program, tests and benchmarks, optimised, into build/
#   ./scripts/build.sh sanitize  a Debug build with AddressSanitizer and UndefinedBehaviorSanitizer
#                                into build-sanitize/ (program and tests, no benchmarks)
set -euo pipefail
cd "$(dirname "$0")/.."
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/halvorra-ccache}"
# Paths relative to the checkout, so another clone of the same sources hits the cache.
export CCACHE_BASEDIR="$PWD"
export CCACHE_NOHASHDIR=1
VARIANT="${1:-release}"
case "$VARIANT" in
  release)
    DIR=build
    # Optimised, without debug information: it costs a quarter of the compile time.
    CONFIG=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG")
    ;;
  sanitize)
    DIR=build-sanitize
    # -O1 keeps the sanitized tests fast enough; -g1 gives file and line in reports;
    # the vptr check is left out because Qt's own libraries are not built for it.
    FLAGS="-O1 -g1 -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize=vptr -fno-sanitize-recover=undefined"
    CONFIG=(-DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=$FLAGS"
            "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined"
            "-DCMAKE_SHARED_LINKER_FLAGS=-fsanitize=address,undefined"
            -DHALVORRA_BENCH=OFF)
    ;;
  *)
    echo "usage: $0 [release|sanitize]" >&2
    exit 2
    ;;
esac
if [ ! -f "$DIR/CMakeCache.txt" ]; then
  cmake -S . -B "$DIR" -G Ninja "${CONFIG[@]}"
fi
cmake --build "$DIR" -j "$(nproc)"
