#!/usr/bin/env bash
# The box package from the 32-bit i386 build (build-i386/, made by
# scripts/cross-test.sh i386 when it is not there yet): makes
# build-i386/lirva_<version>_i386.ipk and checks its members, its control
# fields, and its lirva.so and the libraries carried beside it.
set -euo pipefail
source "$(dirname "$0")/common.sh"
build=$(build_dir i386)

[ -f "$build/build.ninja" ] || "$top/scripts/cross-test.sh" i386
cmake -S "$top" -B "$build" >/dev/null   # writes box-package.env into older build folders too
made=$("$top/packaging/make-ipk.sh" "$build")
echo "$made"
ipk=$(tail -n 1 <<<"$made")
cmake --build "$build" --target given_toolkit >/dev/null
"$top/tests/packaging/check_ipk.sh" "$ipk" "$top/tests/plugin/check_shared_object.sh" "$build/tests/plugin/libgiven_toolkit.a"
