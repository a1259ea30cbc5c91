#!/usr/bin/env bash
# The main job: the control panel under Wine against the stand-in touch driver. On a fresh
# Debian machine this installs what is needed, cross-compiles the programs, sets up the bench
# (32-bit prefix, both stand-in drivers with a detected controller, both product keys, the
# installed programs), starts the control panel, takes a screenshot of it and waits until the
# program ends.
#
#   bash tools/main.sh [com|ps2] [--exit-after-screenshot]
#
#   com (default)   the serial build, QMwS3ccp.exe
#   ps2             the PS/2 build, QMwS3pcp.exe
#   --exit-after-screenshot   end the program and the bench once the screenshot is taken
#
# The program shows on $DISPLAY when one is set (or on QM_BENCH_DISPLAY), otherwise on a
# virtual display (Xvfb) started for the run. QM_BENCH_HOME (default build/wine) holds the
# prefix, the logs and the screenshots.
set -uo pipefail
cd "$(dirname "$0")/.."

variant=COM
letter=c
wait_for_end=1
for arg in "$@"; do
  case "$arg" in
    com | COM | serial) variant=COM letter=c ;;
    ps2 | PS2) variant=PS2 letter=p ;;
    --exit-after-screenshot | --no-wait) wait_for_end=0 ;;
    -h | --help)
      sed -n '2,18p' "$0" | sed 's/^# \{0,1\}//'
      exit 0
      ;;
    *)
      echo "main: unknown argument '$arg' (try --help)" >&2
      exit 1
      ;;
  esac
done

say() { echo "main: $*" >&2; }
die() {
  say "$*"
  exit 1
}

say "installing what the build and the bench need"
bash tools/setup.sh || die "the set-up failed"

say "building the programs for 32-bit Windows"
{ cmake --preset windows >/dev/null && cmake --build --preset windows; } || die "the windows build failed"

program="QMwS3${letter}cp.exe"
[ -n "$(find build/windows -type f -iname "$program" -print -quit)" ] ||
  die "the build made no $program"

# An existing display is used as it is; without one the bench starts Xvfb.
if [ -z "${QM_BENCH_DISPLAY:-}" ] && [ -n "${DISPLAY:-}" ]; then
  export QM_BENCH_DISPLAY=$DISPLAY
fi
source tests/wine/bench_lib.sh

app_pid=
cleanup() {
  if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
  fi
  qm_bench_down
}
trap cleanup EXIT
trap 'exit 130' INT TERM

say "setting up the Wine bench (the first time takes a few minutes)"
qm_bench_up || die "the bench could not be set up; see $QM_BENCH_HOME"

install_dir=$(qm_install_dir_unix "$variant")
[ -f "$install_dir/$program" ] || die "$program was not installed in $install_dir"
caption=" TouchScreen Control Panel #QM-$variant"
log="$QM_BENCH_HOME/main-$variant.log"

say "starting $(qm_install_dir_win "$variant")\\$program on display $DISPLAY"
(cd "$install_dir" && exec wine "$program" </dev/null >"$log" 2>&1) &
app_pid=$!

# Waits for the program's window (its caption; an error box carries the same title).
shown=0
for _ in $(seq 1 360); do
  if ! kill -0 "$app_pid" 2>/dev/null; then break; fi
  if command -v xdotool >/dev/null 2>&1; then
    if xdotool search --onlyvisible --name "^${caption}\$" >/dev/null 2>&1; then
      shown=1
      break
    fi
  elif [ "$SECONDS" -gt 30 ]; then
    shown=1
    break
  fi
  sleep 0.5
done
if ! kill -0 "$app_pid" 2>/dev/null; then
  wait "$app_pid"
  code=$?
  app_pid=
  die "$program ended before showing its window (exit code $code); see $log"
fi
[ $shown -eq 1 ] || say "no window titled '$caption' after 180 s; taking the screenshot anyway"
sleep 1 # let it finish painting

shots="$QM_BENCH_HOME/screenshots"
mkdir -p "$shots"
shot="$shots/main-$(echo "$variant" | tr 'A-Z' 'a-z').png"
if timeout 30 import -display "$DISPLAY" -window root "$shot" >/dev/null 2>&1; then
  say "screenshot: $shot"
  echo "$shot"
else
  say "the screenshot could not be taken (is ImageMagick's import installed?)"
fi

other=ps2
[ "$variant" = PS2 ] && other=com
say "the other build: bash tools/main.sh $other"

if [ $wait_for_end -eq 0 ]; then
  say "ending $program (--exit-after-screenshot)"
  exit 0
fi
say "$program runs on display $DISPLAY; waiting until it ends (Exit button, or Ctrl+C here)"
wait "$app_pid"
code=$?
app_pid=
say "$program ended with exit code $code"
exit "$code"
