#!/usr/bin/env bash
# Installs what is missing, checks the sources (clang-format, the direction of
# includes between rooms), builds, starts a throwaway PostgreSQL server of its own
# (stopped again at the end, also on failure), and runs every test (windows
# offscreen): each database test once on files and once on that server. Then the
# core and window tests run once more, on both engines, in a Debug build with
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
HERE="$PWD"
./scripts/deps.sh
./scripts/check-format.sh
./scripts/check-includes.py
./scripts/build.sh
export QT_QPA_PLATFORM=offscreen
PGDIR=""
# The tests' outcome is the script's, whatever the clean-up does.
trap 'rc=$?; [ -z "$PGDIR" ] || "$HERE/scripts/pg-test-server.sh" stop "$PGDIR"; exit $rc' EXIT
trap 'exit 130' INT TERM
SERVER="$(./scripts/pg-test-server.sh start)"
PGDIR="${SERVER%%$'\n'*}"
export HALVORRA_TEST_SERVER="${SERVER#*$'\n'}"
(cd build && ctest --output-on-failure -j "$(nproc)" --timeout 300)

# The sanitized run: the package and screenshot tests check the release build's
# files and pictures and are left out. Leaks are not checked (Qt's and
# fontconfig's caches live until exit).
./scripts/build.sh sanitize
export ASAN_OPTIONS=detect_leaks=0:strict_string_checks=1:detect_stack_use_after_return=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-sanitize && ctest --output-on-failure -j "$(nproc)" --timeout 600 -E '^tst_(package|screenshots)$')
