#!/usr/bin/env bash
# Makes PNG pictures of the splash, the login window, the main window, 统计分析, a file
# dialog and a question box under Xvfb and writes them to docs/screenshots/;
# draws the program's icon files into packaging/icons/. Builds what it needs first.
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
mkdir -p docs/screenshots packaging/icons
# A Chinese office's locale: the file dialog's dates and sizes follow it.
HALVORRA_SCREENSHOTS="$PWD/docs/screenshots" HALVORRA_DEMO="$DEMO" HALVORRA_ICONS="$PWD/packaging/icons" \
  LANG=zh_CN.UTF-8 QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" "$BUILD/bin/tst_screenshots"
ls -l docs/screenshots/*.png packaging/icons/*.png
