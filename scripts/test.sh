#!/usr/bin/env bash
# Installs what is missing, builds ZELKOVA with its tests and runs them all:
# first in the usual build (RelWithDebInfo), then built with AddressSanitizer
# and UndefinedBehaviorSanitizer (Debug), where any memory fault or undefined
# behaviour fails the test that meets it. Last it builds the optimised
# configuration (Release, -O3) with its tests too, the one the benchmarks are
# meant for, so that no build type breaks unseen.
#
#   bash scripts/test.sh              everything above
#   bash scripts/test.sh sanitizers   only the sanitizer build and its run
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
bash "$ROOT/scripts/packages.sh"

# Configures and builds `folder` with the tests and the given options.
build() {
  local folder="$1"
  shift
  cmake -S "$ROOT" -B "$ROOT/$folder" -G Ninja -DZELKOVA_TESTS=ON "$@" >/dev/null
  cmake --build "$ROOT/$folder"
}

# Runs the whole suite of a build; windows open offscreen.
run_suite() {
  (cd "$ROOT/$1" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)")
}

sanitizers() {
  build build-sanitize -DCMAKE_BUILD_TYPE=Debug -DZELKOVA_SANITIZE=ON
  UBSAN_OPTIONS="print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}" run_suite build-sanitize
}

case "${1:-all}" in
  all)
    build build-tests -DCMAKE_BUILD_TYPE=RelWithDebInfo
    run_suite build-tests
    sanitizers
    build build-release -DCMAKE_BUILD_TYPE=Release
    ;;
  sanitizers)
    sanitizers
    ;;
  *)
    echo "usage: bash scripts/test.sh [sanitizers]" >&2
    exit 2
    ;;
esac
