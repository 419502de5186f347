#!/usr/bin/env bash
# Checks a box package as opkg and the box will meet it: the ar members in
# their order, the control fields, and the data: lirva.so in the plug-in
# folder passing the shared-object check, and every library it needs either
# part of the C and C++ runtime or carried beside it, built for the same CPU.
# Usage: check_ipk.sh PACKAGE.ipk CHECK_SHARED_OBJECT_SCRIPT GIVEN_TOOLKIT_LIBRARY
set -euo pipefail
ipk=$1
check_so=$2
given=$3
fail() { echo "FAIL: $(basename "$ipk"): $*" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

members=$(ar t "$ipk" | tr '\n' ' ')
[ "$members" = "debian-binary control.tar.gz data.tar.gz " ] || fail "members: $members"
(cd "$work" && ar x "$ipk")
[ "$(cat "$work/debian-binary")" = "2.0" ] || fail "debian-binary is not 2.0"

mkdir "$work/control" "$work/data"
tar -xzf "$work/control.tar.gz" -C "$work/control"
control="$work/control/control"
[ -f "$control" ] || fail "control.tar.gz has no ./control"
field() { sed -n "s/^$1: //p" "$control"; }
for f in Package Version Architecture Maintainer License Description; do
  [ "$(grep -c "^$f: ." "$control")" = 1 ] || fail "control needs exactly one $f field"
done
name=$(basename "$ipk")
[ "$(field Package)" = lirva ] || fail "Package is $(field Package)"
[ "$(field License)" = MIT ] || fail "License is $(field License)"
[ "$name" = "lirva_$(field Version)_$(field Architecture).ipk" ] || fail "the file name does not match the control fields"

# Only the plug-in folder, everything owned by root.
listing=$(tar -tvzf "$work/data.tar.gz")
! grep -v ' root/root \| 0/0 ' <<<"$listing" | grep -q . || fail "files not owned by root"
! tar -tzf "$work/data.tar.gz" | grep -v '^\./$\|^\./var/$\|^\./var/ombrix/$\|^\./var/ombrix/plugins/' | grep -q . \
  || fail "files outside /var/ombrix/plugins"
tar -xzf "$work/data.tar.gz" -C "$work/data"
plugins="$work/data/var/ombrix/plugins"
[ -f "$plugins/lirva.so" ] || fail "no /var/ombrix/plugins/lirva.so"
"$check_so" "$plugins/lirva.so" "$given" >/dev/null || fail "lirva.so fails the shared-object check"

machine() { readelf -h "$1" | sed -n 's/^ *\(Class\|Machine\|Data\): *//p' | tr '\n' ' '; }
target=$(machine "$plugins/lirva.so")
for object in "$plugins"/*; do
  [ "$(machine "$object")" = "$target" ] || fail "$(basename "$object") is not built for $target"
  for lib in $(readelf -d "$object" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    case "$lib" in
      libc.so.*|libm.so.*|libdl.so.*|librt.so.*|libpthread.so.*|ld-linux*|ld.so.*|ld64.so.*|libstdc++.so.*|libgcc_s.so.*) ;;
      *) [ -f "$plugins/$lib" ] || fail "$(basename "$object") needs $lib, which the package does not carry" ;;
    esac
  done
done
echo "$name: members, control fields, lirva.so and $(ls "$plugins" | grep -vc '^lirva.so$') carried libraries for $target"
