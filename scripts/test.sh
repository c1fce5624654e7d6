#!/usr/bin/env bash
# Installs what is missing, builds ZELKOVA with its tests and runs them all.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
bash "$ROOT/scripts/packages.sh"
cmake -S "$ROOT" -B "$ROOT/build-tests" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELKOVA_TESTS=ON >/dev/null
cmake --build "$ROOT/build-tests"
cd "$ROOT/build-tests"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
