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
source "$(dirname "$0")/common.sh"
arch=${1:-}

case "$arch" in
  s390x) triplet=s390x-linux-gnu; tools=(g++-s390x-linux-gnu qemu-user) ;;
  i386)  triplet=i686-linux-gnu;  tools=(g++-i686-linux-gnu) ;;
  powerpc) triplet=powerpc-linux-gnu-qemu; tools=(g++-powerpc-linux-gnu qemu-user dpkg-dev googletest) ;;
  *) echo "usage: $0 s390x|i386|powerpc" >&2; exit 2 ;;
esac
libs=()
if [ "$arch" != powerpc ]; then
  # Debian's own builds of the libraries for that architecture (multiarch).
  # Installed only as they come: never pinned nor downgraded, so where the
  # archive cannot serve them at the machine's own versions (s390x has no
  # security archive) apt refuses, and nothing of the machine's moves.
  for p in libflac-dev libsigc++-3.0-dev libncurses-dev libspeexdsp-dev libgtest-dev libgmock-dev; do
    libs+=("$p:$arch")
  done
  if ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo dpkg --add-architecture "$arch"
  fi
fi
"$top/scripts/setup.sh" "${tools[@]}" "${libs[@]}"

dir=$(build_dir "$arch")
extra=()
if [ "$arch" = powerpc ]; then
  prefix=$("$top/scripts/powerpc-libs.sh" emulated)
  extra=(-DLIRVA_PPC_LIBS="$prefix")
  # The link flags and pkg-config results are cached at the first configure:
  # a new library prefix needs a fresh one.
  grep -qxF "LIRVA_PPC_LIBS:PATH=$prefix" "$dir/CMakeCache.txt" 2>/dev/null || extra+=(--fresh)
fi
cmake -S "$top" -B "$dir" -G Ninja -DLIRVA_CORPUS_DIR="$corpus_dir" \
  -DCMAKE_TOOLCHAIN_FILE="$top/cmake/$triplet.cmake" "${extra[@]}" >/dev/null
ninja -C "$dir" -j2
ctest --test-dir "$dir" --output-on-failure -j2
