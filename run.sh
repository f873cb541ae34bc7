#!/usr/bin/env bash
# Installs what is missing, builds, makes a demo database pair on the first run,
# writes path.ini / Exp.ini beside the executable when missing, and starts Halvorra.
#   ./run.sh          on the machine's display
#   ./run.sh --vnc    without a display: Qt's VNC platform on port 5900, for a VNC viewer
set -euo pipefail
cd "$(dirname "$0")"
VNC_PORT=5900
VNC=0
if [ "${1:-}" = "--vnc" ]; then
  VNC=1
  shift
fi
# The address a viewer on another machine points at: the first IPv4 address.
address() {
  local a
  a="$(hostname -I 2>/dev/null | tr ' ' '\n' | grep -m1 -E '^[0-9]+(\.[0-9]+){3}$' || true)"
  echo "${a:-127.0.0.1}:$VNC_PORT"
}
if [ "$VNC" = 0 ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "没有图形显示（DISPLAY/WAYLAND_DISPLAY 未设置）：用 ./run.sh --vnc 经 Qt 的 VNC 平台启动（-platform vnc:port=$VNC_PORT），再用 VNC 查看器连接 $(address)" >&2
  exit 1
fi
./scripts/deps.sh
./scripts/build.sh
BIN="$PWD/build/bin"
DATA="$PWD/build/data"
if [ ! -f "$DATA/fybase.mdb" ]; then
  ./build/bin/halvorra-db demo "$DATA" --listings 300 --customers 200
fi
[ -s "$BIN/path.ini" ] || printf '%s\r\n' "$DATA/fybase.mdb" > "$BIN/path.ini"
[ -s "$BIN/Exp.ini" ] || printf '%s\r\n' "$DATA/fyExp.mdb" > "$BIN/Exp.ini"
if [ "$VNC" = 1 ]; then
  echo "Halvorra 在 VNC 上运行：用 VNC 查看器连接 $(address)（按 Ctrl+C 结束）"
  exec "$BIN/halvorra" -platform "vnc:port=$VNC_PORT:size=1280x1024" "$@"
fi
exec "$BIN/halvorra" "$@"
