#!/usr/bin/env bash
# Start-time benchmark under Wine: how long the control panel takes from its start until its
# main window is shown, against a minimal program that shows one window, both started the same
# way under the same Wine in one run (taking turns). Prints the medians and their ratio; the
# goal is a ratio of at most 1.5. Prints figures only: this is not a pass/fail test.
#
#   bash bench/wine_start_bench.sh [com|ps2]     (default com)
#
#   QM_BENCH_RUNS     timed starts per program (default 10), after one warm-up start each
#   QM_BENCH_HOME     the bench's folder (default build/wine); see tests/wine/bench_lib.sh
# Expects the windows preset built into build/windows.
set -uo pipefail
source "$(dirname "$0")/../tests/wine/bench_lib.sh"

variant=COM letter=c
case "${1:-com}" in
  com | COM | serial) ;;
  ps2 | PS2) variant=PS2 letter=p ;;
  *) echo "usage: $0 [com|ps2]" >&2; exit 1 ;;
esac
runs=${QM_BENCH_RUNS:-10}

timer="$QM_BUILD/tests/wine/wine_start_bench_timer.exe"
baseline="$QM_BUILD/tests/wine/wine_start_bench_window.exe"
panel_name="QMwS3${letter}cp.exe"
panel_built=$(find "$QM_BUILD" -type f -iname "$panel_name" -print -quit 2>/dev/null)
for f in "$timer" "$baseline" "$panel_built"; do
  if [ -z "$f" ] || [ ! -f "$f" ]; then
    qm_log "missing ${f:-$panel_name}: run 'cmake --preset windows && cmake --build --preset windows' first"
    exit 1
  fi
done

trap 'qm_bench_down' EXIT
trap 'exit 130' INT TERM
if ! qm_bench_up; then
  qm_log "the bench could not be set up"
  exit 1
fi

# The baseline lies on the same drive of the prefix as the installed control panel.
base_dir="$WINEPREFIX/drive_c/qm-start-bench"
mkdir -p "$base_dir"
cp "$baseline" "$base_dir/"
baseline_win='C:\qm-start-bench\wine_start_bench_window.exe'
panel_win="$(qm_install_dir_win "$variant")\\$panel_name"
caption=" TouchScreen Control Panel #QM-$variant"

out="$QM_BENCH_HOME/start_bench_$variant.txt"
qm_log "timing $runs starts each of the baseline window and $panel_name (one warm-up start each)"
timeout --kill-after=20 3600 wine "$timer" "$runs" 1 \
  window "$baseline_win" "Start Bench Window" \
  control_panel "$panel_win" "$caption" </dev/null 2>&1 | tr -d '\r' | tee "$out"
code=${PIPESTATUS[0]}
if [ "$code" -ne 0 ]; then
  qm_log "the timer failed (exit code $code); see $out"
  exit 1
fi

window_ms=$(awk '$1 == "median" && $2 == "window" {print $3}' "$out")
panel_ms=$(awk '$1 == "median" && $2 == "control_panel" {print $3}' "$out")
ratio=$(awk '$1 == "ratio" {print $3}' "$out")
echo
echo "start until the window is shown, median of $runs starts under the same Wine:"
printf '  %-28s %10s ms\n' "minimal one-window program" "$window_ms" "control panel ($panel_name)" "$panel_ms"
verdict=$(awk -v r="$ratio" 'BEGIN { print (r <= 1.5) ? "within" : "over" }')
echo "  ratio control panel / minimal program: $ratio ($verdict the goal of at most 1.5)"
