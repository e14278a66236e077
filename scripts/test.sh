#!/usr/bin/env bash
# Builds everything and runs every test under Wine in Xvfb.
# Usage: scripts/test.sh [ctest arguments...]
set -euo pipefail
source "$(dirname "$0")/lib.sh"

bash "$QUORLET_ROOT/scripts/install-deps.sh"

arch=$(test_arch)
echo "tests run as $arch"
archs=(i686)
[ "$arch" = i686 ] || archs+=("$arch")
bash "$QUORLET_ROOT/scripts/build.sh" "${archs[@]}"

ensure_template_prefix

# One X server of our own for the whole run; every Wine process uses it.
unset DISPLAY
start_display
trap '[ -z "$XVFB_PID" ] || kill "$XVFB_PID" 2>/dev/null || true' EXIT

ctest --test-dir "$QUORLET_BUILD/$arch" --output-on-failure --no-tests=error "$@"
