#!/usr/bin/env bash
# Runs one Windows program of the build in a private Wine prefix set up for
# one kind of test, and passes on its exit code.
# Usage: scripts/wine-run.sh PROFILE ARCH PROGRAM [ARGS...]
#   PROFILE  plain | dpi144 | search
#   ARCH     i686 | x86_64 (the build the program and stand-in hosts are from)
# The program, and the stand-in hosts as C:\fixtures\host-<variant>.exe, are
# copied to C:\fixtures; the search profile maps D: and E: (fixed), F:
# (removable), G: (network) and H: (fixed, holding a folder that links to
# its own parent) to empty folders of the prefix.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

profile=$1 arch=$2 program=$3
shift 3

prefix=$QUORLET_WINE/run-$profile-$$
new_prefix "$prefix"
trap 'stop_prefix_server "$prefix"; [ -n "${QUORLET_KEEP_PREFIX:-}" ] || rm -rf "$prefix"' EXIT

cp "$program" "$prefix/drive_c/fixtures/"
for variant in v4 v5 v6 none; do
  host="${QUORLET_STANDIN_DIR:-$QUORLET_BUILD/$arch/standin}/$variant/FileMaker Pro.exe"
  [ -f "$host" ] && cp "$host" "$prefix/drive_c/fixtures/host-$variant.exe"
done

export WINEPREFIX=$prefix
case "$profile" in
  plain) ;;
  dpi144) set_dpi "$prefix" 144 ;;
  search)
    drives=$prefix/drives
    map_drive "$prefix" d "$drives/d" hd
    map_drive "$prefix" e "$drives/e" hd
    map_drive "$prefix" f "$drives/f" floppy
    map_drive "$prefix" g "$drives/g" network
    map_drive "$prefix" h "$drives/h" hd
    mkdir -p "$drives/h/loop"
    ln -sfn .. "$drives/h/loop/parent"
    ;;
  *) echo "unknown profile $profile" >&2; exit 2 ;;
esac
stop_prefix_server "$prefix"

wineserver -p
loader=$(wine_loader_for "$arch")
status=0
WINEDEBUG=${WINEDEBUG:--all} "$loader" "C:\\fixtures\\$(basename "$program")" "$@" || status=$?
exit $status
