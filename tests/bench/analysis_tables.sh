#!/usr/bin/env bash
# Runs the analysis command (zelkova-probe analyse) on the large bench models
# and writes the five result tables of each, every value at full precision,
# to OUT/<model>.txt; two such folders compare with diff -r.
# Usage: tests/bench/analysis_tables.sh BUILD_DIR OUT_DIR [MODEL_BUILD_DIR]
#   BUILD_DIR        the build whose zelkova-probe runs the analysis
#   MODEL_BUILD_DIR  the build whose bench_analysis writes the models
#                    (default BUILD_DIR), so that two builds see one input
set -euo pipefail
BUILD="$(cd "${1:?build folder}" && pwd)"
mkdir -p "${2:?output folder}"
OUT="$(cd "$2" && pwd)"
MODELS="$(cd "${3:-$1}" && pwd)"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
export XDG_CONFIG_HOME="$WORK/config" QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
TABLES=("材料定数0" "Analyze等価節点荷重" "Analyze部材応力" "Analyze節点変位" "Analyze支点反力")
for model in ordered wide shuffled random; do
  dir="$WORK/$model"
  "$MODELS/tests/bench_analysis" --write "$model" "$dir"
  (cd "$dir" && "$BUILD/tests/zelkova-probe" analyse) > "$OUT/$model.log" 2>&1
  if grep -q '^message=' "$OUT/$model.log"; then
    echo "$model: the run showed a message:" >&2
    grep '^message=' "$OUT/$model.log" >&2
    exit 1
  fi
  : > "$OUT/$model.txt"
  for t in "${TABLES[@]}"; do
    echo "== $t" >> "$OUT/$model.txt"
    sqlite3 -cmd ".mode quote" -cmd ".headers on" "$dir/Zelkova.mdb" "SELECT * FROM \"$t\" ORDER BY rowid" >> "$OUT/$model.txt"
  done
  echo "$model: $(grep -c '' "$OUT/$model.txt") lines"
done
