#!/usr/bin/env bash
# Makes the box package from a build: lirva_<version>_<arch>.ipk, the format
# set-top-box firmwares install with opkg. It is an ar archive of
#   debian-binary    "2.0"
#   control.tar.gz   ./control
#   data.tar.gz      ./var/ombrix/plugins/lirva.so and, beside it, every
#                    library it needs that the box may lack
# The libraries carried are those lirva.so needs (its NEEDED entries, and
# theirs in turn) beyond the C and C++ runtime every box has, taken from the
# build's own root file system and library path, as the build's compiler
# finds them.
# Usage: packaging/make-ipk.sh BUILD_DIR [OUT_DIR] [ARCH]
#   OUT_DIR  where the package goes (default BUILD_DIR)
#   ARCH     the package's architecture (default: from lirva.so's ELF header)
set -euo pipefail
build=$(cd "${1:?usage: $0 BUILD_DIR [OUT_DIR] [ARCH]}" && pwd)
out=${2:-$build}
arch=${3:-}

fail() { echo "make-ipk: $*" >&2; exit 1; }
[ -f "$build/box-package.env" ] || fail "$build is not a configured build (no box-package.env)"
# shellcheck source=/dev/null
source "$build/box-package.env"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/data" "$work/control"

# The plug-in as the box build installs it, stripped.
cmake --build "$build" --target lirva_box >/dev/null
DESTDIR="$work/data" cmake --install "$build" --component box --strip >/dev/null
plugins="$work/data$LIRVA_PLUGIN_DIR"
[ -f "$plugins/lirva.so" ] || fail "the box install gave no $LIRVA_PLUGIN_DIR/lirva.so"

# The C and C++ runtime: on every box, never carried.
on_every_box() {
  case "$1" in
    libc.so.*|libm.so.*|libdl.so.*|librt.so.*|libpthread.so.*|ld-linux*.so.*|ld.so.*|ld64.so.*) return 0 ;;
    libstdc++.so.*|libgcc_s.so.*) return 0 ;;
  esac
  return 1
}
needed() { readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'; }
find_library() {
  local found dir
  for dir in ${LIRVA_LIBRARY_DIRS//:/ }; do
    [ -f "$dir/$1" ] && { readlink -f "$dir/$1"; return; }
  done
  found=$("$LIRVA_CXX" ${LIRVA_SYSROOT:+--sysroot="$LIRVA_SYSROOT"} -print-file-name="$1")
  # The compiler echoes the bare name when it finds nothing.
  [ "$found" != "$1" ] && [ -f "$found" ] || fail "$1 (needed by lirva.so) is not in the build's library path"
  readlink -f "$found"
}

# Every library the plug-in needs, directly or through another carried one.
queue=("$plugins/lirva.so")
while [ ${#queue[@]} -gt 0 ]; do
  object=${queue[0]}
  queue=("${queue[@]:1}")
  for lib in $(needed "$object"); do
    on_every_box "$lib" && continue
    [ -f "$plugins/$lib" ] && continue
    cp "$(find_library "$lib")" "$plugins/$lib"
    chmod 644 "$plugins/$lib"
    queue+=("$plugins/$lib")
    echo "carries $lib"
  done
done

if [ -z "$arch" ]; then
  case "$(readelf -h "$plugins/lirva.so" | sed -n 's/^ *Machine: *//p')" in
    "Intel 80386") arch=i386 ;;
    "Advanced Micro Devices X86-64") arch=amd64 ;;
    PowerPC) arch=powerpc ;;
    "IBM S/390") arch=s390x ;;
    *) fail "unknown machine in lirva.so's ELF header; give ARCH" ;;
  esac
fi

size_kb=$(du -sk "$work/data" | cut -f1)
cat > "$work/control/control" <<EOF
Package: lirva
Version: $LIRVA_VERSION
Architecture: $arch
Maintainer: Lirva developers <lirva@example.org>
License: MIT
Section: multimedia
Priority: optional
Installed-Size: $size_kb
Description: FLAC player plug-in for the box's GUI application
EOF
echo "2.0" > "$work/debian-binary"

# Members owned by root, in a stable order, with paths as opkg expects.
pack() { tar --owner=0 --group=0 --numeric-owner --sort=name -C "$1" -cf - . | gzip -9n > "$2"; }
pack "$work/control" "$work/control.tar.gz"
pack "$work/data" "$work/data.tar.gz"

mkdir -p "$out"
out=$(cd "$out" && pwd)
ipk="$out/lirva_${LIRVA_VERSION}_${arch}.ipk"
rm -f "$ipk"
(cd "$work" && ar rc "$ipk.tmp" debian-binary control.tar.gz data.tar.gz)
mv "$ipk.tmp" "$ipk"
echo "$ipk"
