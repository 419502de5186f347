#!/usr/bin/env bash
# Builds the libraries Lirva needs for 32-bit big-endian PowerPC into a
# prefix of their own and prints that prefix. Debian serves no PowerPC
# packages of them, so they are built from source: libogg, libFLAC,
# libspeexdsp (fixed point) and ncurses (wide characters) from Debian's
# source packages, googletest from /usr/src/googletest, libsigc++ from
# ../shared/third-party/.
#
#   emulated  for the test suite under qemu-ppc (scripts/cross-test.sh powerpc):
#             Debian's cross C library, which uses the FPU; every library.
#   box       for the box: PowerPC 405 without FPU (-mcpu=405 -msoft-float),
#             only what the plug-in needs (libFLAC, libspeexdsp, libsigc++).
#             libFLAC comes without Ogg: beside the plug-in, a library that
#             libFLAC needed would not be found (the plug-in's search path
#             serves only its own dependencies). LIRVA_BOX_SYSROOT is a copy of the box's root file
#             system, whose C library they are built against, and
#             LIRVA_BOX_CROSS the prefix of a compiler whose libgcc has no
#             FPU code (default powerpc-linux-gnu-, Debian's, which
#             compiles for the box but cannot link without an FPU).
#   box-i386  the box's libFLAC, as box builds it less the PowerPC-only
#             -mcpu=405 -msoft-float, for 32-bit x86 against the root of
#             scripts/foreign-root.sh i386: the instruction counts of
#             scripts/bench-instructions-qemu.sh --flac=box. libFLAC only.
#
# A prefix is built once and kept under $LIRVA_CACHE (default ~/.cache/lirva),
# named by a key of the sources' versions, the compiler, the flags and this
# script; a change of any of them builds a new one.
# Usage: scripts/powerpc-libs.sh emulated|box|box-i386
set -euo pipefail
source "$(dirname "$0")/common.sh"
flavour=${1:-}
triplet=powerpc-linux-gnu
cache=${LIRVA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/lirva}
sysroot=${LIRVA_BOX_SYSROOT:-}
jobs=${LIRVA_JOBS:-2}

cross=powerpc-linux-gnu-
# Unwind tables in every library: a host that ends the play thread by
# cancellation unwinds it through libFLAC's frames, and without tables that
# ends the whole program.
case "$flavour" in
  emulated) cflags="-O2 -funwind-tables"; sysroot=""
            debian_sources=(libogg flac speexdsp ncurses); with_tests=1 ;;
  box)      cflags="-O2 -funwind-tables -mcpu=405 -msoft-float"; cross=${LIRVA_BOX_CROSS:-$cross}
            debian_sources=(flac speexdsp); with_tests=0 ;;
  box-i386) cflags="-O2 -funwind-tables"; triplet=i686-linux-gnu; cross=$triplet-
            sysroot=$("$top/scripts/foreign-root.sh" i386)
            debian_sources=(flac); with_tests=0 ;;
  *) echo "usage: $0 emulated|box|box-i386" >&2; exit 2 ;;
esac
[ -z "$sysroot" ] || cflags+=" --sysroot=$sysroot"
sigc_tarball=$top/../shared/third-party/libsigc++-3.4.0.tar.xz
gtest_source=/usr/src/googletest

log() { echo "powerpc-libs: $*" >&2; }

# A compiler whose libgcc and C library use the FPU cannot link for the box.
if [ "$flavour" = box ] &&
   ! echo 'double half(double x) { return x / 2; }' |
     "${cross}gcc" $cflags -shared -fPIC -x c - -o /dev/null 2>/dev/null; then
  echo "${cross}gcc cannot link code without FPU (its libgcc or C library uses the FPU):" \
       "set LIRVA_BOX_CROSS to the prefix of a compiler for the box" >&2
  exit 1
fi

# --- sources ---------------------------------------------------------------
declare -A src
for p in "${debian_sources[@]}"; do
  src[$p]=$("$top/scripts/fetch-debian-source.sh" "$p" "$cache/sources")
done

debian_version() { sed -n '1s/.*(\(.*\)).*/\1/p' "$1/debian/changelog"; }
key_input() {
  for p in "${debian_sources[@]}"; do echo "$p $(debian_version "${src[$p]}")"; done
  sha256sum "$sigc_tarball" | cut -d' ' -f1
  [ "$with_tests" -eq 0 ] || dpkg-query -W -f='googletest ${Version}\n' googletest
  "${cross}gcc" --version | head -1
  dpkg-query -W -f='cross libc ${Version}\n' "libc6-dev-$triplet-cross" 2>/dev/null || true
  echo "$flavour $cflags $cross"
  sha256sum "$0" | cut -d' ' -f1
}
key=$(key_input | sha256sum | cut -c1-12)
prefix=$cache/$triplet-$flavour-$key
if [ -f "$prefix/.complete" ]; then
  log "cached: $prefix"
  echo "$prefix"
  exit 0
fi

# --- build -----------------------------------------------------------------
log "building into $prefix"
rm -rf "$prefix" "$prefix.build"
mkdir -p "$prefix" "$prefix.build"
work=$prefix.build
export PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig PKG_CONFIG_PATH="" PKG_CONFIG_SYSROOT_DIR=""

# An autoconf package, configured outside its (shared, cached) source folder.
autoconf_build() {
  local name=$1 source=$2; shift 2
  log "$name"
  mkdir -p "$work/$name"
  (cd "$work/$name" &&
   "$source/configure" --host=$triplet --prefix="$prefix" --libdir="$prefix/lib" \
     --disable-static CC="${cross}gcc" CXX="${cross}g++" CFLAGS="$cflags" CXXFLAGS="$cflags" \
     "$@" >configure.log 2>&1 || { tail -30 configure.log; exit 1; })
}
make_in() {
  make -C "$work/$1" -j"$jobs" "${@:2}" >"$work/make.log" 2>&1 || { tail -30 "$work/make.log"; exit 1; }
}

cmake_build() {
  local name=$1 source=$2 target=$3; shift 3
  log "$name"
  cmake -S "$source" -B "$work/$name" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_C_COMPILER="${cross}gcc" -DCMAKE_CXX_COMPILER="${cross}g++" \
    -DCMAKE_SYSTEM_NAME=Linux -DCMAKE_SYSTEM_PROCESSOR=powerpc \
    -DCMAKE_C_FLAGS="$cflags" -DCMAKE_CXX_FLAGS="$cflags" \
    -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >/dev/null
  ninja -C "$work/$name" -j"$jobs" $target >/dev/null
  cmake --install "$work/$name" >/dev/null
}

ogg=(--disable-ogg)
if [ -n "${src[libogg]:-}" ]; then
  autoconf_build libogg "${src[libogg]}"
  make_in libogg install
  # Without libtool's archive, libFLAC links libogg by name and carries no
  # run-time search path of its own, which would hide the programs' path.
  rm -f "$prefix/lib/libogg.la"
  ogg=(--with-ogg="$prefix")
fi

# libFLAC alone (no programs, examples, C++ library or documents), without
# assembly, as Debian configures it for CPUs other than amd64. Its configure
# puts "-O3 -funroll-loops" before our flags, so our -O2 would win: left out
# here, libFLAC's decoding loops are built as its authors intend (the
# decoder is most of a play's work on the box).
autoconf_build flac "${src[flac]}" --disable-rpath --disable-programs --disable-examples \
  --disable-cpplibs --disable-doxygen-docs --disable-oggtest --disable-asm-optimizations \
  --disable-sse --disable-altivec --disable-vsx "${ogg[@]}" CFLAGS="${cflags/-O2 /}"
make_in flac/src/libFLAC install
make_in flac/include install

if [ "$flavour" != box-i386 ]; then
  # Fixed point and no float entry points, as scripts/softfloat-check.sh
  # proves the library: the box has no FPU.
  autoconf_build speexdsp "${src[speexdsp]}" "${speexdsp_box_options[@]}"
  make_in speexdsp/libspeexdsp install
  make_in speexdsp/include install
  make_in speexdsp install-pkgconfigDATA

  tar -xJf "$sigc_tarball" -C "$work"
  cmake_build libsigc++ "$work/libsigc++-3.4.0" sigc-3.0
fi

if [ "$with_tests" -eq 1 ]; then
  # The libraries only, with wide characters; the terminal descriptions are
  # read from this machine's own (architecture-independent) terminfo folders.
  autoconf_build ncurses "${src[ncurses]}" --with-shared --without-normal --without-debug \
    --without-progs --without-tests --without-manpages --without-ada --without-cxx-binding \
    --enable-widec --enable-overwrite --enable-pc-files --with-pkg-config-libdir="$prefix/lib/pkgconfig" \
    --disable-rpath --with-build-cc=gcc --disable-root-environ --disable-termcap \
    --with-default-terminfo-dir=/etc/terminfo \
    --with-terminfo-dirs=/etc/terminfo:/lib/terminfo:/usr/share/terminfo
  make_in ncurses libs
  make_in ncurses install.libs install.includes
  # As on Debian: -lncurses (what CMake's FindCurses looks for) is the wide library.
  echo "INPUT(-lncursesw)" >"$prefix/lib/libncurses.so"

  cmake_build googletest "$gtest_source" "" -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON -DCMAKE_INSTALL_LIBDIR=lib
fi

if [ "$flavour" = emulated ]; then
  # qemu 7.2 runs none of the ISA 3.0 forms of mffs (mffscrn, mffscrni,
  # mffsl, ...) on a 32-bit CPU, and the cross C library's libm and libc use
  # them wherever they set the rounding mode, counting on older CPUs to run
  # them as a plain mffs, as real ones do. The emulated programs find copies
  # of the two libraries first, in which those words are a plain mffs.
  for lib in libm.so.6 libc.so.6; do
    real=$(readlink -f "/usr/$triplet/lib/$lib")
    read -r off size < <(readelf -SW "$real" | sed 's/^ *\[ *[0-9]*\]//' | awk '$1 == ".text" {print $4, $5}')
    perl -e '
      my ($in, $out, $off, $size) = @ARGV;
      open(my $f, "<:raw", $in) or die "$in: $!"; local $/; my $d = <$f>; close $f;
      for (my $i = $off; $i + 4 <= $off + $size; $i += 4) {
        my $w = unpack("N", substr($d, $i, 4));
        substr($d, $i, 4) = pack("N", $w & 0xFFE007FF)
          if ($w & 0xFC0007FE) == 0xFC00048E && ($w & 0x001F0000);
      }
      open($f, ">:raw", $out) or die "$out: $!"; print $f $d; close $f;
    ' "$real" "$prefix/lib/$lib" "$((16#$off))" "$((16#$size))"
  done
fi

rm -f "$prefix"/lib/*.la
rm -rf "$work"
touch "$prefix/.complete"
# Older prefixes of this flavour are not used any more.
for old in "$cache/$triplet-$flavour-"*; do
  [ "$old" = "$prefix" ] || rm -rf "$old"
done
log "done: $prefix"
echo "$prefix"
