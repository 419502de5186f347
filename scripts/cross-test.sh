#!/usr/bin/env bash
# Builds the plug-in, the toolkit and the whole test suite for another CPU
# and runs the suite there. A byte-order or word-size fault passes every
# test on a PC; these builds make it fail.
#   s390x  big-endian (64-bit): tests run under qemu-s390x   -> build-s390x/
#          (and so do the programs they start: simhost, lirva-play)
#   i386   32-bit little-endian: tests run natively, or under   -> build-i386/
#          qemu-i386 where the kernel cannot run 32-bit programs
#   powerpc 32-bit big-endian, the box's kind of CPU: tests   -> build-powerpc/
#          run under qemu-ppc (and so do simhost and lirva-play); Debian
#          has no PowerPC packages, so scripts/powerpc-libs.sh builds the
#          libraries from source into a cached prefix
# s390x and i386 use Debian's own builds of the libraries, from a root file
# system that scripts/foreign-root.sh makes and caches: the machine gets
# only the cross compiler (and qemu), never a package of that architecture.
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
"$top/scripts/setup.sh" "${tools[@]}"

dir=$(build_dir "$arch")
if [ "$arch" = powerpc ]; then
  libs=LIRVA_PPC_LIBS
  prefix=$("$top/scripts/powerpc-libs.sh" emulated)
else
  libs=LIRVA_FOREIGN_ROOT
  prefix=$("$top/scripts/foreign-root.sh" "$arch")
fi
extra=(-D"$libs=$prefix")
# A kernel built without 32-bit support cannot run the i386 programs: the
# tests then run them under qemu-i386, as the other CPUs' are.
if [ "$arch" = i386 ] && ! "$prefix/lib/ld-linux.so.2" --help >/dev/null 2>&1; then
  "$top/scripts/setup.sh" qemu-user
  extra+=(-DCMAKE_CROSSCOMPILING_EMULATOR=qemu-i386)
fi
# The link flags and pkg-config results are cached at the first configure:
# a new library prefix or root needs a fresh one.
grep -qxF "$libs:PATH=$prefix" "$dir/CMakeCache.txt" 2>/dev/null || extra+=(--fresh)
cmake -S "$top" -B "$dir" -G Ninja -DLIRVA_CORPUS_DIR="$corpus_dir" \
  -DCMAKE_TOOLCHAIN_FILE="$top/cmake/$triplet.cmake" "${extra[@]}" >/dev/null
ninja -C "$dir" -j2
ctest --test-dir "$dir" --output-on-failure -j2
