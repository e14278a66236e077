# Shared by the project's scripts: paths, the architecture the tests run as,
# and the Wine prefixes they run in. Sourced, never run.

QUORLET_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QUORLET_BUILD=${QUORLET_BUILD:-$QUORLET_ROOT/build}
QUORLET_WINE=$QUORLET_BUILD/wine

# True when this kernel runs 32-bit code itself, not through the emulator
# that install-deps.sh registers where it cannot.
i386_is_native() {
  local entry=/proc/sys/fs/binfmt_misc/qemu-i386 native=0
  if [ -e "$entry" ] && grep -qx enabled "$entry"; then
    echo 0 >"$entry"
    /lib/ld-linux.so.2 --version >/dev/null 2>&1 && native=1
    echo 1 >"$entry"
  else
    /lib/ld-linux.so.2 --version >/dev/null 2>&1 && native=1
  fi
  [ $native -eq 1 ]
}

# The tests run the 32-bit build where 32-bit code runs natively. Where it
# would be emulated (minutes per program start), the same sources built for
# x86_64 run under 64-bit Wine instead, and the 32-bit installer itself is
# checked by the acceptance run alone.
test_arch() {
  if [ -n "${QUORLET_TEST_ARCH:-}" ]; then
    echo "$QUORLET_TEST_ARCH"
  elif i386_is_native; then
    echo i686
  else
    echo x86_64
  fi
}

wine_loader_for() {
  case "$1" in
    i686) echo /usr/lib/wine/wine ;;
    x86_64) echo /usr/lib/wine/wine64 ;;
  esac
}

wine_version_stamp() {
  dpkg-query -W -f='${Version}' wine 2>/dev/null
}

# --- Wine prefixes -------------------------------------------------------
# One template prefix is booted once (about two minutes) and kept in the
# build folder; every run gets a hard-link copy of it (a few milliseconds).

WINE64=/usr/lib/wine/wine64

wine64_quiet() {
  WINEDEBUG=-all "$WINE64" "$@" >/dev/null 2>&1
}

ensure_template_prefix() {
  local template=$QUORLET_WINE/template stamp
  stamp="wine $(wine_version_stamp)"
  if [ -f "$template/.quorlet-stamp" ] && [ "$(cat "$template/.quorlet-stamp")" = "$stamp" ]; then
    return
  fi
  echo "booting the template Wine prefix (once)..."
  rm -rf "$template"
  mkdir -p "$QUORLET_WINE"
  (
    export WINEPREFIX=$template WINEARCH=win64
    unset DISPLAY
    WINEDEBUG=-all "$WINE64" wineboot -i >/dev/null 2>&1
    # A virtual desktop gives decorated windows without a window manager,
    # and hides and destroys windows without the delay Wine has otherwise.
    wine64_quiet reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
    wine64_quiet reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f
    wineserver -k || true
    wineserver -w || true
  )
  echo "$stamp" >"$template/.quorlet-stamp"
}

# new_prefix DIR: a fresh copy of the template at DIR, without drive Z:
# (which maps the whole Linux root into the Windows world).
new_prefix() {
  local dir=$1
  rm -rf "$dir"
  # The template may be reached through a link: copy what it points to.
  local template
  template=$(readlink -f "$QUORLET_WINE/template")
  cp -al "$template" "$dir"
  # Wine rewrites its registry files in place: each prefix needs copies of
  # its own, or a run's keys would land in the template.
  local reg
  for reg in system.reg user.reg userdef.reg; do
    rm -f "$dir/$reg"
    cp "$template/$reg" "$dir/$reg"
  done
  rm -f "$dir/dosdevices/z:"
  mkdir -p "$dir/drive_c/fixtures"
}

# map_drive PREFIX LETTER FOLDER TYPE: TYPE is hd (fixed), floppy
# (removable), network, cdrom. Needs a server restart to show, which
# prefix_registry's callers do.
map_drive() {
  local prefix=$1 letter=$2 folder=$3 type=$4
  mkdir -p "$folder"
  ln -sfn "$folder" "$prefix/dosdevices/$letter:"
  WINEPREFIX=$prefix wine64_quiet reg add 'HKLM\Software\Wine\Drives' /v "$letter:" /d "$type" /f /reg:64
}

# set_dpi PREFIX DPI
set_dpi() {
  local prefix=$1 dpi=$2
  WINEPREFIX=$prefix wine64_quiet reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
  WINEPREFIX=$prefix wine64_quiet reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' /v LogPixels /t REG_DWORD /d "$dpi" /f /reg:64
}

stop_prefix_server() {
  WINEPREFIX=$1 wineserver -k 2>/dev/null || true
  WINEPREFIX=$1 wineserver -w 2>/dev/null || true
}

# prepare_sandbox PREFIX STANDINS: a stand-in FileMaker installation for the
# installer to find. D: is a fixed drive with FileMaker Pro 4 and 5 in the
# folders their own installers would choose, both registered in HKLM (the
# 32-bit view, which the 32-bit installer reads). The installer is put into
# C:\Downloads as a user's browser would leave it.
prepare_sandbox() {
  local prefix=$1 standins=$2 d=$1/drives/d
  new_prefix "$prefix"
  map_drive "$prefix" d "$d" hd
  local fmp4="$d/Program Files/Claris Corp/FileMaker Pro 4.0"
  local fmp5="$d/Program Files/FileMaker/FileMaker Pro 5"
  mkdir -p "$fmp4/System" "$fmp5/System" "$prefix/drive_c/Downloads"
  cp "$standins/v4/FileMaker Pro.exe" "$fmp4/"
  cp "$standins/v5/FileMaker Pro.exe" "$fmp5/"
  local view
  for view in 32 64; do
    WINEPREFIX=$prefix wine64_quiet reg add 'HKLM\SOFTWARE\Claris Corp.\FileMaker Pro\4.0' /f /reg:$view
    WINEPREFIX=$prefix wine64_quiet reg add 'HKLM\SOFTWARE\FileMaker Inc.\FileMaker Pro\5.0' /f /reg:$view
  done
  cp "$QUORLET_ROOT/dist/QuorletSetup.exe" "$prefix/drive_c/Downloads/"
  stop_prefix_server "$prefix"
}

# start_display: an Xvfb of our own, unless a display is there to use.
# Sets DISPLAY; XVFB_PID is set when we started one.
start_display() {
  XVFB_PID=
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return; fi
  local display=:$((90 + RANDOM % 100))
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 50); do
    xdpyinfo -display "$display" >/dev/null 2>&1 && break
    sleep 0.1
  done
  export DISPLAY=$display
}
