#!/usr/bin/env bash
# Builds the plug-in, the toolkit and the whole test suite for another CPU
# and runs the suite there. A byte-order or word-size fault passes every
# test on a PC; these builds make it fail.
#   s390x  big-endian (64-bit): tests run under qemu-s390x   -> build-s390x/
#          (and so do the programs they start: simhost, lirva-play)
#   i386   32-bit little-endian: tests run natively          -> build-i386/
#   powerpc 32-bit big-endian, the box's kind of CPU: tests   -> build-powerpc/
#          run under qemu-ppc (and so do simhost and lirva-play); Debian
#          has no PowerPC packages, so scripts/powerpc-libs.sh builds the
#          libraries from source into a cached prefix
# Usage: scripts/cross-test.sh s390x|i386|powerpc
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:-}

case "$arch" in
  s390x) triplet=s390x-linux-gnu; tools=(g++-s390x-linux-gnu qemu-user) ;;
  i386)  triplet=i686-linux-gnu;  tools=(g++-i686-linux-gnu) ;;
  powerpc) triplet=powerpc-linux-gnu-qemu; tools=(g++-powerpc-linux-gnu qemu-user dpkg-dev googletest) ;;
  *) echo "usage: $0 s390x|i386|powerpc" >&2; exit 2 ;;
esac
libs=(libflac-dev libsigc++-3.0-dev libncurses-dev libspeexdsp-dev libgtest-dev libgmock-dev)
[ "$arch" = powerpc ] && libs=()
apt_get() { DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 "$@"; }

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
installed() { dpkg-query -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null | grep -q '^ii'; }

# Newest version of package $1 that every architecture after it offers.
common_version() {
  local p=$1; shift
  for a in "$@"; do
    apt-cache madison "$p:$a" | awk -F' [|] ' '{gsub(/ /, "", $2); print $2}' | sort -u
  done | sort | uniq -c | awk -v n=$# '$1 == n {print $2}' | sort -V | tail -1
}

install_packages() {
  local missing=() p a
  for p in "${tools[@]}" "${libs[@]/%/:$arch}"; do installed "$p" || missing+=("$p"); done
  [ ${#missing[@]} -eq 0 ] && return
  echo "Installing: ${missing[*]}"
  if [ ${#libs[@]} -eq 0 ]; then
    apt_get update
    apt_get install -y --no-install-recommends "${missing[@]}"
    return
  fi
  dpkg --print-foreign-architectures | grep -qx "$arch" || $sudo dpkg --add-architecture "$arch"
  apt_get update

  # A few libraries must have the same version on every architecture
  # (Multi-Arch: same), but Debian's security archive serves no s390x for
  # this release, so amd64 may already be newer than s390x can follow.
  # Pin each to the newest version that all the architectures concerned offer.
  local pins=() archs v
  for p in linux-libc-dev libssl3; do
    archs=(amd64 "$arch")
    for a in $(dpkg --print-foreign-architectures); do
      [ "$a" != "$arch" ] && installed "$p:$a" && archs+=("$a")
    done
    v=$(common_version "$p" "${archs[@]}")
    [ -n "$v" ] || continue
    for a in "${archs[@]}"; do pins+=("$p:$a=$v"); done
    # libssl-dev wants exactly its libssl3's version.
    [ "$p" = libssl3 ] && installed libssl-dev:amd64 && pins+=("libssl-dev:amd64=$v")
  done
  apt_get install -y --no-install-recommends \
    --no-remove --allow-downgrades "${missing[@]}" "${pins[@]}"
}

"$top/scripts/setup.sh"   # cmake, ninja, pkg-config and the amd64 flac tool
install_packages

dir="$top/build-$arch"
extra=()
if [ "$arch" = powerpc ]; then
  prefix=$("$top/scripts/powerpc-libs.sh" emulated)
  extra=(-DLIRVA_PPC_LIBS="$prefix")
  # The link flags and pkg-config results are cached at the first configure:
  # a new library prefix needs a fresh one.
  grep -qxF "LIRVA_PPC_LIBS:PATH=$prefix" "$dir/CMakeCache.txt" 2>/dev/null || extra+=(--fresh)
fi
cmake -S "$top" -B "$dir" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$top/cmake/$triplet.cmake" "${extra[@]}" >/dev/null
ninja -C "$dir" -j2
ctest --test-dir "$dir" --output-on-failure -j2
