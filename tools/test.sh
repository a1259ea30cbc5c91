#!/usr/bin/env bash
# Runs every test: native suites under the sanitizers, the fuzz targets briefly, the
# 32-bit Windows cross-compile with its executable check, and the Wine end-to-end suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh

fuzz_seconds=${QM_FUZZ_SECONDS:-20}

echo "== native build and tests (ASan, UBSan)"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native -j2

echo "== fuzz targets (${fuzz_seconds}s each)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
mkdir -p build/fuzz/corpus
shopt -s nullglob
for target in build/fuzz/fuzz/*_fuzz; do
  name=$(basename "$target")
  mkdir -p "build/fuzz/corpus/$name"
  "$target" -max_total_time="$fuzz_seconds" -print_final_stats=1 "build/fuzz/corpus/$name" \
    2>"build/fuzz/$name.log" || { tail -n 40 "build/fuzz/$name.log"; exit 1; }
  echo "$name: $(grep -E 'stat::number_of_executed_units' "build/fuzz/$name.log" | awk '{print $2}') executions, no crash"
done

echo "== windows cross-compile"
cmake --preset windows >/dev/null
cmake --build --preset windows

if [ -f tools/check_executables.sh ]; then
  echo "== shipped executables"
  bash tools/check_executables.sh build/windows
fi

if [ -f tests/wine/run.sh ]; then
  echo "== end to end under Wine"
  bash tests/wine/run.sh
fi
echo "all tests passed"
