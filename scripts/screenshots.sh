#!/usr/bin/env bash
# Makes PNG pictures of the splash, the login window and the main window under
# Xvfb and writes them to docs/screenshots/. Builds what it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD="${BUILD_DIR:-build}"
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/halvorra-ccache}"
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$BUILD" -j "$(nproc)" --target halvorra-db tst_screenshots
DEMO="$(mktemp -d)"
trap 'rm -rf "$DEMO"' EXIT
"$BUILD/bin/halvorra-db" demo "$DEMO" --listings 50 --customers 30 >/dev/null
mkdir -p docs/screenshots
HALVORRA_SCREENSHOTS="$PWD/docs/screenshots" HALVORRA_DEMO="$DEMO" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x1024x24" "$BUILD/bin/tst_screenshots" windows
ls -l docs/screenshots/*.png
