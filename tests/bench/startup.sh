#!/usr/bin/env bash
# Start-up to a shown main menu, measured as whole processes: the probe starts
# the program in a folder with an existing project database (the start-up
# probe of all tables runs), shows the menu and prints it.
# Usage: tests/bench/startup.sh BUILD_DIR [RUNS]
set -euo pipefail
BUILD="$(cd "${1:?build folder}" && pwd)"
RUNS="${2:-20}"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
export XDG_CONFIG_HOME="$WORK/config" QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
cd "$WORK"
"$BUILD/tests/zelkova-probe" dump >/dev/null 2>&1   # creates the database
times=()
for ((i = 0; i < RUNS; i++)); do
  s=$(date +%s%N)
  "$BUILD/tests/zelkova-probe" dump >/dev/null 2>&1
  e=$(date +%s%N)
  times+=($(((e - s) / 1000000)))
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "start-up to shown main menu, $RUNS runs: min ${sorted[0]} ms, median ${sorted[$((RUNS / 2))]} ms, max ${sorted[$((RUNS - 1))]} ms"
