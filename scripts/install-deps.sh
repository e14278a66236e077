#!/usr/bin/env bash
# Installs everything the build and the tests use, from Debian's own archive.
# Safe to run again: it only touches apt when something is missing.
set -euo pipefail

packages=(
  cmake make dpkg-dev
  g++-mingw-w64-i686 mingw-w64-i686-dev g++-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine32:i386 wine64
  xvfb xauth x11-utils imagemagick
  googletest fonts-wine
  python3
)

sudo_if_needed() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  sudo_if_needed dpkg --add-architecture i386
  need_update=1
fi

# Source entries mirror the machine's own binary entries, so no archive address
# is written here; the engine sources are fetched with apt-get source.
src_list=/etc/apt/sources.list.d/quorlet-deb-src.sources
if [ ! -f "$src_list" ]; then
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    grep -q '^Types:.*deb-src' "$f" && continue
    sed 's/^Types: *deb$/Types: deb-src/' "$f"
    echo
  done | sudo_if_needed tee "$src_list" >/dev/null
  if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | sudo_if_needed tee /etc/apt/sources.list.d/quorlet-deb-src.list >/dev/null
  fi
  need_update=1
fi

if [ ${#missing[@]} -gt 0 ] || [ $need_update -eq 1 ]; then
  sudo_if_needed apt-get update -q
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# 32-bit Windows programs need 32-bit Linux code (the wine32 loader). Some
# kernels run 64-bit user code only; there the loader runs under qemu's user
# mode emulation, registered for i386 ELF files.
binfmt=/proc/sys/fs/binfmt_misc
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  if ! dpkg-query -W -f='${Status}' qemu-user-static 2>/dev/null | grep -q 'install ok installed'; then
    sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends qemu-user-static
  fi
  [ -e "$binfmt/register" ] || sudo_if_needed mount -t binfmt_misc binfmt_misc "$binfmt"
  if [ ! -e "$binfmt/qemu-i386" ]; then
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
      | sudo_if_needed tee "$binfmt/register" >/dev/null
  fi
  /lib/ld-linux.so.2 --version >/dev/null 2>&1 || { echo "cannot run 32-bit code on this machine" >&2; exit 1; }
fi
