#!/usr/bin/env bash
# Installs what is missing, builds, starts a throwaway PostgreSQL server of its own
# (stopped again at the end, also on failure), and runs every test (windows
# offscreen): each database test once on files and once on that server.
set -euo pipefail
cd "$(dirname "$0")"
HERE="$PWD"
./scripts/deps.sh
./scripts/build.sh
export QT_QPA_PLATFORM=offscreen
PGDIR=""
# The tests' outcome is the script's, whatever the clean-up does.
trap 'rc=$?; [ -z "$PGDIR" ] || "$HERE/scripts/pg-test-server.sh" stop "$PGDIR"; exit $rc' EXIT
trap 'exit 130' INT TERM
SERVER="$(./scripts/pg-test-server.sh start)"
PGDIR="${SERVER%%$'\n'*}"
export HALVORRA_TEST_SERVER="${SERVER#*$'\n'}"
cd build
ctest --output-on-failure -j "$(nproc)" --timeout 300
