#!/usr/bin/env bash
# Installs what is missing, builds ZELKOVA with its tests and runs them all,
# then builds the optimised configuration (Release, -O3) with its tests too,
# the one the benchmarks are meant for, so that no build type breaks unseen.
# The suite runs once, on the first build.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
bash "$ROOT/scripts/packages.sh"
cmake -S "$ROOT" -B "$ROOT/build-tests" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELKOVA_TESTS=ON >/dev/null
cmake --build "$ROOT/build-tests"
(cd "$ROOT/build-tests" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)")
cmake -S "$ROOT" -B "$ROOT/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELKOVA_TESTS=ON >/dev/null
cmake --build "$ROOT/build-release"
