#!/usr/bin/env bash
# The end-to-end suite under Wine: sets up the bench (32-bit prefix, display, both stand-in
# drivers, both product keys, the built programs), runs the runner and tears down again.
# Expects the windows preset built into build/windows. Ends with "N passed, N failed" and a
# non-zero exit code when anything failed.
#
#   QM_BENCH_FRESH=1   start from a new prefix
#   QM_BENCH_FILTER    a GoogleTest filter, e.g. 'BothBuilds/DriverTest.*'
#   QM_BENCH_TIMEOUT   seconds the whole suite may take (default 1800)
set -uo pipefail
source "$(dirname "$0")/bench_lib.sh"

runner="$QM_BUILD/tests/wine/wine_e2e_tests.exe"
results="$QM_BENCH_HOME/results"
shots="$QM_BENCH_HOME/screenshots"
started=$SECONDS

finish() {
  # $1 passed, $2 failed
  qm_stop_shot_watcher
  qm_bench_down
  echo "bench: $((SECONDS - started)) s in all; screenshots in $shots" >&2
  echo "$1 passed, $2 failed"
  [ "$2" -eq 0 ] && [ "$1" -gt 0 ]
  exit $?
}
trap 'qm_stop_shot_watcher; qm_bench_down; exit 130' INT TERM

if [ ! -f "$runner" ]; then
  qm_log "missing $runner: run 'cmake --preset windows && cmake --build --preset windows' first"
  echo "0 passed, 1 failed"
  exit 1
fi

mkdir -p "$QM_BENCH_HOME" "$results"
rm -rf "$shots"
if [ "${QM_BENCH_FRESH:-0}" = 1 ]; then
  qm_stop_server
  rm -rf "$WINEPREFIX"
fi

if ! qm_bench_up; then
  qm_log "the bench could not be set up"
  finish 0 1
fi
qm_log "bench ready after $((SECONDS - started)) s"

qm_start_shot_watcher "$shots" "${QM_BENCH_TIMEOUT:-1800}"
export QM_BENCH_SHOT_DIR
QM_BENCH_SHOT_DIR=$(winepath_of "$shots")

log="$results/wine_e2e_tests.log"
xml="$results/wine_e2e_tests.xml"
rm -f "$xml"
args=("--gtest_output=xml:$(winepath_of "$xml")")
[ -n "${QM_BENCH_FILTER:-}" ] && args+=("--gtest_filter=$QM_BENCH_FILTER")
suite_start=$SECONDS
timeout --kill-after=20 "${QM_BENCH_TIMEOUT:-1800}" wine "$runner" "${args[@]}" </dev/null 2>&1 | tee "$log"
code=${PIPESTATUS[0]}
qm_log "runner ended with code $code after $((SECONDS - suite_start)) s"

# Counts from the runner's report; a runner that died before writing one counts as a failure.
passed=0
failed=0
if [ -f "$xml" ]; then
  tests=$(sed -n 's/.*<testsuites [^>]*tests="\([0-9]*\)".*/\1/p' "$xml" | head -n1)
  failures=$(sed -n 's/.*<testsuites [^>]*failures="\([0-9]*\)".*/\1/p' "$xml" | head -n1)
  errors=$(sed -n 's/.*<testsuites [^>]*errors="\([0-9]*\)".*/\1/p' "$xml" | head -n1)
  disabled=$(sed -n 's/.*<testsuites [^>]*disabled="\([0-9]*\)".*/\1/p' "$xml" | head -n1)
  skipped=$(grep -c '<skipped' "$xml" || true)
  failed=$((${failures:-0} + ${errors:-0}))
  passed=$((${tests:-0} - failed - ${disabled:-0} - ${skipped:-0}))
fi
if [ "$code" -ne 0 ] && [ "$failed" -eq 0 ]; then
  qm_log "the runner failed without reporting a failed test (crash or timeout)"
  failed=1
fi
finish "$passed" "$failed"
