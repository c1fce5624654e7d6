#!/usr/bin/env bash
# Installs what is missing, builds ZELKOVA and starts it in the working folder
# ./work (the project database "Zelkova.mdb" lives in the current folder).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
bash "$ROOT/scripts/packages.sh"
cmake -S "$ROOT" -B "$ROOT/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELKOVA_TESTS=OFF >/dev/null
cmake --build "$ROOT/build" --target zelkova
mkdir -p "${ZELKOVA_WORK:-$ROOT/work}"
cd "${ZELKOVA_WORK:-$ROOT/work}"
exec "$ROOT/build/src/zelkova" "$@"
