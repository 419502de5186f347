#!/usr/bin/env bash
# Builds libspeexdsp in fixed point (no floating-point API) from Debian's
# source package, for the box's CPU or another one, into DEST. Nothing is
# built again when DEST holds a finished build.
#   scripts/build-speexdsp.sh [--static] TRIPLET DEST [CFLAGS...]
# e.g. scripts/build-speexdsp.sh --static powerpc-linux-gnu build-box/speexdsp -mcpu=405 -msoft-float
# Prints the folder of the built library: DEST/libspeexdsp, with the objects,
# the static library and (without --static) the shared one in its .libs/.
# --static: where the shared library cannot be linked, as with -msoft-float
# objects and the cross compiler's hard-float C library. The prefix is /usr:
# `make -C DEST install DESTDIR=ROOT` puts library, headers and .pc file
# into a root file system.
set -euo pipefail
source "$(dirname "$0")/common.sh"
shared=--enable-shared
if [ "${1:-}" = --static ]; then
  shared=--disable-shared
  shift
fi
triplet=${1:?usage: $0 [--static] TRIPLET DEST [CFLAGS...]}
dest=${2:?usage: $0 [--static] TRIPLET DEST [CFLAGS...]}
shift 2
cflags="-O2 $*"

mkdir -p "$dest"
dest=$(cd "$dest" && pwd)
stamp="$dest/built-with"   # the options of the build in DEST
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$triplet $shared $cflags" ]; then
  echo "$dest/libspeexdsp"
  exit 0
fi

src=$("$top/scripts/fetch-debian-source.sh" speexdsp "$dest/source")
(
  cd "$dest"
  # Other options than last time: nothing of that build may be reused.
  [ ! -f Makefile ] || make distclean >/dev/null 2>&1 || true
  rm -f "$stamp"
  # A cross build of the library alone: fixed point, and no float entry
  # points, so nothing can call into floating point per sample by mistake.
  "$src/configure" --host="$triplet" --prefix=/usr "${speexdsp_box_options[@]}" "$shared" CFLAGS="$cflags" \
    >configure.log 2>&1 ||
    { tail -n 30 configure.log; exit 1; }
  make -C libspeexdsp -j2 >make.log 2>&1 || { tail -n 30 make.log; exit 1; }
)
echo "$triplet $shared $cflags" >"$stamp"
echo "$dest/libspeexdsp"
