#!/usr/bin/env bash
# The shipped 32-bit installer, used from outside as a person would: in the
# sandbox with FileMaker Pro 4 and 5 installed, it starts on the Welcome page,
# goes on to Install Into with both versions preset, walks the drives and
# shows both System folders on the Browse page, goes back, asks before it
# exits, stays on No, and ends with exit code 0 on Yes.
# Usage: scripts/acceptance.sh DRIVER_ARCH
set -euo pipefail
source "$(dirname "$0")/lib.sh"

driver_arch=$1
prefix=$QUORLET_WINE/acceptance-$$
prepare_sandbox "$prefix" "$QUORLET_BUILD/i686/standin"
trap 'stop_prefix_server "$prefix"; rm -rf "$prefix"' EXIT
cp "$QUORLET_BUILD/$driver_arch/tests/QuorletDriver.exe" "$prefix/drive_c/fixtures/"
export WINEPREFIX=$prefix WINEDEBUG=-all
wineserver -p

title='Quorlet Installer'
# Wine's console ends lines in CR LF.
driver() { "$(wine_loader_for "$driver_arch")" 'C:\fixtures\QuorletDriver.exe' "$@" | tr -d '\r'; }
passed=0 failed=0
check() {
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"
    passed=$((passed + 1))
  else
    echo "FAILED: $what"
    failed=$((failed + 1))
  fi
}
dump_has() { driver dump "$title" | grep -Fq -- "$1"; }

started=$(date +%s)
/usr/lib/wine/wine 'C:\Downloads\QuorletSetup.exe' &
installer=$!
if ! driver wait-window "$title" 900; then
  echo "FAILED: the installer window did not appear"
  echo "0 passed, 1 failed"
  exit 1
fi
echo "window up after $(($(date +%s) - started)) s"

back_hidden() { driver dump "$title" | grep -Eq '^Button +hidden .*"<< Back"$'; }
next_to_install_into() { driver click "$title" 'Next >>' && driver wait-visible "$title" 'FileMaker Pro 4' 300; }
both_preset() {
  driver dump "$title" | grep -E '"FileMaker Pro 4"' | grep -q ' checked' &&
    driver dump "$title" | grep -E '"FileMaker Pro 5"' | grep -q ' checked'
}
fmp4_system='D:\Program Files\Claris Corp\FileMaker Pro 4.0\System\'
fmp5_system='D:\Program Files\FileMaker\FileMaker Pro 5\System\'
# Nothing is remembered yet, so the installer walks C: and D: of the sandbox.
search_finds_both() {
  driver click "$title" 'Next >>' &&
    driver wait-visible "$title" "$fmp4_system" 900 &&
    driver wait-visible "$title" "$fmp5_system" 5
}
back_to_install_into() { driver click "$title" '<< Back' && driver wait-visible "$title" 'FileMaker Pro 4' 300; }
exit_no_stays() {
  driver click "$title" Exit &&
    driver answer Confirm No 300 | grep -Fxq 'Setup has not completed.  Are you sure you want to exit?' &&
    sleep 2 && driver wait-window "$title" 5
}
exit_yes_closes() { driver click "$title" Exit && driver answer Confirm Yes 300 && driver wait-gone "$title" 300; }

check "the window is titled and sized" dump_has "window \"$title\" client"
check "Welcome text is filled" dump_has 'Welcome to the Quorlet Installer.'
check "Back is hidden on Welcome" back_hidden
check "Next goes on to Install Into" next_to_install_into
check "both registered versions are preset" both_preset
check "the search shows both System folders on the Browse page" search_finds_both
check "Back returns to Install Into with both preset" back_to_install_into
check "both versions are still preset" both_preset
check "Exit asks, No keeps the window" exit_no_stays
check "Exit answered Yes closes the window" exit_yes_closes
status=0
wait "$installer" || status=$?
check "the installer exits with code 0" test "$status" -eq 0

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
