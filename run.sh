#!/usr/bin/env bash
# Installs what is missing, builds, makes a demo database pair on the first run,
# writes path.ini / Exp.ini beside the executable when missing, and starts Halvorra.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
./scripts/build.sh
BIN="$PWD/build/bin"
DATA="$PWD/build/data"
if [ ! -f "$DATA/fybase.mdb" ]; then
  ./build/bin/halvorra-db demo "$DATA" --listings 300 --customers 200
fi
[ -s "$BIN/path.ini" ] || printf '%s\r\n' "$DATA/fybase.mdb" > "$BIN/path.ini"
[ -s "$BIN/Exp.ini" ] || printf '%s\r\n' "$DATA/fyExp.mdb" > "$BIN/Exp.ini"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$BIN/halvorra" "$@"
fi
exec "$BIN/halvorra" "$@"
