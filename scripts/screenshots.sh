#!/usr/bin/env bash
# Screenshots of the shipped installer in the sandbox, at 96 and 144 DPI:
# Welcome, Install Into, Browse (after a real walk) and the exit question.
# Written to docs/screenshots/.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

arch=$(test_arch)
out=$QUORLET_ROOT/docs/screenshots
mkdir -p "$out"
ensure_template_prefix
unset DISPLAY
start_display
trap '[ -z "$XVFB_PID" ] || kill "$XVFB_PID" 2>/dev/null || true' EXIT
title='Quorlet Installer'

for dpi in 96 144; do
  prefix=$QUORLET_WINE/screenshots-$dpi
  prepare_sandbox "$prefix" "$QUORLET_BUILD/i686/standin"
  [ "$dpi" = 96 ] || { set_dpi "$prefix" "$dpi"; stop_prefix_server "$prefix"; }
  cp "$QUORLET_BUILD/$arch/tests/QuorletDriver.exe" "$prefix/drive_c/fixtures/"
  export WINEPREFIX=$prefix WINEDEBUG=-all
  driver() { "$(wine_loader_for "$arch")" 'C:\fixtures\QuorletDriver.exe' "$@" | tr -d '\r'; }
  shot() { sleep 1; import -display "$DISPLAY" -window root "$out/$1-$dpi.png"; }

  /usr/lib/wine/wine 'C:\Downloads\QuorletSetup.exe' &
  driver wait-window "$title" 900
  shot welcome
  driver click "$title" 'Next >>'
  driver wait-visible "$title" 'FileMaker Pro 4' 300
  shot install-into
  driver click "$title" 'Next >>'
  driver wait-visible "$title" 'Browse...' 600
  shot browse
  driver click "$title" Exit
  sleep 2
  shot confirm-exit
  driver answer Confirm Yes 300 >/dev/null
  driver wait-gone "$title" 300
  stop_prefix_server "$prefix"
  rm -rf "$prefix"
done
echo "screenshots in $out"
