# Shared steps of the Wine bench, sourced by tests/wine/run.sh, tools/main.sh and
# bench/wine_start_bench.sh. Every step is safe to repeat and every wait has a timeout.
#
# Settings (environment):
#   QM_WINE_PREFIX    the 32-bit prefix (default: build/wine/prefix in the work tree)
#   QM_BENCH_DISPLAY  an X display to use instead of starting Xvfb
#   QM_WINEDEBUG      Wine's debug channels (default: -all)

QM_ROOT=${QM_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
QM_BUILD=${QM_BUILD:-$QM_ROOT/build/windows}
QM_BENCH_HOME=${QM_BENCH_HOME:-$QM_ROOT/build/wine}
export WINEPREFIX=${QM_WINE_PREFIX:-$QM_BENCH_HOME/prefix}
export WINEARCH=win32
export WINEDEBUG=${QM_WINEDEBUG:--all}
# No desktop integration, no first-run dialogs for Mono or Gecko.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}

QM_VENDOR_KEY='SOFTWARE\Vestamorel\TouchScreen'
QM_XVFB_PID=

qm_log() { echo "bench: $*" >&2; }

qm_sudo() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

# Wine under a time limit, quietly; the exit code is Wine's.
qm_wine() {
  local limit=$1
  shift
  timeout --kill-after=10 "$limit" wine "$@" </dev/null
}

# ---- 32-bit code --------------------------------------------------------------------------
# Wine's 32-bit loader is a 32-bit Linux program. Some machines (virtual machines without
# 32-bit compatibility mode) cannot run it; there the loader runs under qemu's user-mode
# emulation, registered with binfmt_misc so every 32-bit program Wine starts goes the same
# way. qemu 8 or later is needed: older ones do not honour MAP_FIXED_NOREPLACE, which
# Wine's address-space reservation relies on.
qm_runs_32bit() { /lib/ld-linux.so.2 --version >/dev/null 2>&1; }

qm_qemu_major() {
  command -v qemu-i386 >/dev/null 2>&1 || { echo 0; return; }
  qemu-i386 --version 2>/dev/null | sed -n 's/.*version \([0-9]*\)\..*/\1/p' | head -n1
}

qm_ensure_32bit() {
  if qm_runs_32bit; then return 0; fi
  qm_log "this machine cannot run 32-bit code natively; using qemu-i386 user-mode emulation"
  local fresh=0
  if [ "$(qm_qemu_major)" -lt 8 ]; then
    local suite
    suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
    if [ "$suite" = bookworm ]; then
      # Debian 12 ships qemu 7.2; the backports suite carries a current one.
      local list=/etc/apt/sources.list.d/qm-bookworm-backports.list
      [ -f "$list" ] || echo 'deb http://deb.debian.org/debian bookworm-backports main' | qm_sudo tee "$list" >/dev/null
      qm_sudo timeout 600 apt-get update -qq >/dev/null || true
      DEBIAN_FRONTEND=noninteractive qm_sudo timeout 900 apt-get install -y -qq --no-install-recommends \
        -t bookworm-backports qemu-user-static >/dev/null
    else
      DEBIAN_FRONTEND=noninteractive qm_sudo timeout 900 apt-get install -y -qq --no-install-recommends \
        qemu-user-static >/dev/null
    fi
    fresh=1
  fi
  if [ "$(qm_qemu_major)" -lt 8 ]; then
    qm_log "qemu-i386 8 or later is not available; 32-bit Wine cannot run here"
    return 1
  fi
  local qemu
  qemu=$(readlink -f "$(command -v qemu-i386)")
  [ -e /proc/sys/fs/binfmt_misc/register ] || qm_sudo mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  local entry=/proc/sys/fs/binfmt_misc/qemu-i386
  # A registration made before qemu was upgraded still holds the old binary open.
  if [ -e "$entry" ] && [ $fresh -eq 1 ]; then echo -1 | qm_sudo tee "$entry" >/dev/null; fi
  if [ ! -e "$entry" ]; then
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$qemu"':F' |
      qm_sudo tee /proc/sys/fs/binfmt_misc/register >/dev/null
  fi
  if ! qm_runs_32bit; then
    qm_log "32-bit programs still do not start after registering $qemu"
    return 1
  fi
}

# ---- display ------------------------------------------------------------------------------

# Uses QM_BENCH_DISPLAY (or $1) when given, otherwise starts Xvfb on the first free display
# from :91 up. Sets DISPLAY and, when it started one, QM_XVFB_PID.
qm_start_display() {
  local wanted=${1:-${QM_BENCH_DISPLAY:-}}
  if [ -n "$wanted" ]; then
    export DISPLAY=$wanted
    return 0
  fi
  local n
  for n in $(seq 91 130); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset </dev/null >"$QM_BENCH_HOME/xvfb.log" 2>&1 &
    QM_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$QM_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    if [ -e "/tmp/.X11-unix/X$n" ]; then
      export DISPLAY=:$n
      qm_log "Xvfb on $DISPLAY (pid $QM_XVFB_PID)"
      return 0
    fi
    QM_XVFB_PID=
  done
  qm_log "could not start Xvfb"
  return 1
}

qm_stop_display() {
  if [ -n "$QM_XVFB_PID" ]; then
    kill "$QM_XVFB_PID" 2>/dev/null || true
    wait "$QM_XVFB_PID" 2>/dev/null || true
    QM_XVFB_PID=
  fi
}

# ---- prefix and server --------------------------------------------------------------------

qm_prefix_ready() { [ -f "$WINEPREFIX/.qm-bench-ready" ] && [ -f "$WINEPREFIX/system.reg" ]; }

qm_create_prefix() {
  if qm_prefix_ready; then return 0; fi
  qm_log "creating the 32-bit prefix $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  timeout --kill-after=10 600 wineboot -i </dev/null >"$QM_BENCH_HOME/wineboot.log" 2>&1 || {
    qm_log "wineboot failed; see $QM_BENCH_HOME/wineboot.log"
    return 1
  }
  # The server of the first boot must end before a persistent one takes over, or the first
  # service start can find the service database locked.
  timeout 120 wineserver -w || true
  touch "$WINEPREFIX/.qm-bench-ready"
}

# A persistent server keeps the drivers loaded between Wine commands. Started detached so it
# holds no caller's pipe open.
qm_start_server() {
  timeout 60 wineserver -p </dev/null >/dev/null 2>&1 || true
}

qm_stop_server() {
  timeout 60 wineserver -k </dev/null >/dev/null 2>&1 || true
  timeout 60 wineserver -w </dev/null >/dev/null 2>&1 || true
}

# ---- driver, product key, programs ---------------------------------------------------------

# qm_install_driver NAME: the stand-in driver NAME.sys from the build, (re)started.
qm_install_driver() {
  local name=$1 image="$QM_BUILD/tests/wine/driver/$1.sys"
  [ -f "$image" ] || { qm_log "missing $image: build the windows preset first"; return 1; }
  local target="$WINEPREFIX/drive_c/windows/system32/drivers/$name.sys"
  # Stopped before the copy: a running driver's image must not change under it.
  qm_wine 120 net stop "$name" >/dev/null 2>&1 || true
  cp "$image" "$target"
  # Fails harmlessly when the service exists already.
  qm_wine 120 sc create "$name" type= kernel start= demand binPath= "C:\\windows\\system32\\drivers\\$name.sys" \
    >/dev/null 2>&1 || true
  local out
  out=$(qm_wine 180 net start "$name" 2>&1) || true
  if ! echo "$out" | grep -qi 'started successfully\|already been started'; then
    qm_log "driver $name did not start: $out"
    return 1
  fi
  qm_log "driver $name started"
}

# Windows path of a variant's install folder ("COM" or "PS2").
qm_install_dir_win() { echo "C:\\Program Files\\Vestamorel\\QM-$1"; }
qm_install_dir_unix() { echo "$WINEPREFIX/drive_c/Program Files/Vestamorel/QM-$1"; }

# qm_write_product_key COM|PS2: the product data the installer writes, pointing at the
# install folder in the prefix.
qm_write_product_key() {
  local variant=$1 hwid
  [ "$variant" = COM ] && hwid='*ZKX0001' || hwid='*PNP0F03'
  local dir
  dir=$(qm_install_dir_win "$variant")
  local reg="$QM_BENCH_HOME/product-$variant.reg"
  local esc=${dir//\\/\\\\}
  {
    echo 'REGEDIT4'
    echo
    echo "[HKEY_LOCAL_MACHINE\\$QM_VENDOR_KEY\\QM-$variant]"
    echo '"VenderName"="Vestamorel"'
    echo '"VenderStyle"="11181209"'
    echo "\"InstallPath\"=\"$esc\""
    echo '"WindowsPath"="C:\\windows"'
    echo '"SystemPath"="C:\\windows\\system32"'
    echo "\"HardwareID\"=\"$hwid\""
  } >"$reg"
  mkdir -p "$(qm_install_dir_unix "$variant")"
  qm_wine 120 regedit /S "$(winepath_of "$reg")" >/dev/null 2>&1 || {
    qm_log "writing the product key QM-$variant failed"
    return 1
  }
}

# Windows form of a Unix path (Wine maps / to drive Z:).
winepath_of() { echo "Z:${1//\//\\}"; }

# Copies the built programs of a variant into its install folder (the registrar and the
# removal programs also into the Windows folder, where the package puts them).
qm_install_programs() {
  local variant=$1 letter
  [ "$variant" = COM ] && letter=c || letter=p
  local dir
  dir=$(qm_install_dir_unix "$variant")
  mkdir -p "$dir"
  local f n=0
  while IFS= read -r -d '' f; do
    cp "$f" "$dir/"
    n=$((n + 1))
    case "$(basename "$f" | tr 'A-Z' 'a-z')" in
      qmws3reg.exe | qmws3?de.exe) cp "$f" "$WINEPREFIX/drive_c/windows/" ;;
    esac
  done < <(find "$QM_BUILD" -type f \( -iname "QMwS3${letter}*.exe" -o -iname 'QMwS3reg.exe' \) -print0 2>/dev/null)
  qm_log "installed $n program(s) of the $variant build in $(qm_install_dir_win "$variant")"
}

# Everything a program run needs: 32-bit code, display, prefix, server, both drivers, both
# product keys and the programs.
qm_bench_up() {
  mkdir -p "$QM_BENCH_HOME"
  qm_ensure_32bit || return 1
  qm_start_display "$@" || return 1
  qm_create_prefix || return 1
  qm_start_server
  qm_install_driver QMWS3COM || return 1
  qm_install_driver QMWS3PS2 || return 1
  local v
  for v in COM PS2; do
    qm_write_product_key "$v" || return 1
    qm_install_programs "$v"
  done
}

qm_bench_down() {
  qm_stop_server
  qm_stop_display
}

# ---- screenshots --------------------------------------------------------------------------

# A watcher that serves the runner's screenshot requests: NAME.req in the folder becomes
# NAME.png (the whole display) and NAME.done. Ends by itself after $2 seconds at most.
qm_start_shot_watcher() {
  local folder=$1 limit=${2:-3600}
  mkdir -p "$folder"
  (
    end=$((SECONDS + limit))
    shopt -s nullglob
    while [ $SECONDS -lt $end ]; do
      for req in "$folder"/*.req; do
        base=${req%.req}
        timeout 30 import -display "$DISPLAY" -window root "$base.png" >/dev/null 2>&1 || true
        rm -f "$req"
        touch "$base.done"
      done
      sleep 0.2
    done
  ) </dev/null >/dev/null 2>&1 &
  QM_SHOT_WATCHER_PID=$!
}

qm_stop_shot_watcher() {
  if [ -n "${QM_SHOT_WATCHER_PID:-}" ]; then
    kill "$QM_SHOT_WATCHER_PID" 2>/dev/null || true
    wait "$QM_SHOT_WATCHER_PID" 2>/dev/null || true
    QM_SHOT_WATCHER_PID=
  fi
}
