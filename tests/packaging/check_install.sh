#!/usr/bin/env bash
# `cmake --install` of a build, into a staging folder: the files of both
# components where they belong, and the installed `lirva` opening the player
# with the installed plug-in and the installed simulated device (the one
# beside simhost, not the build's).
# Usage: check_install.sh BUILD_DIR
set -euo pipefail
build=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build" --prefix /opt/lirva >/dev/null
DESTDIR="$stage" cmake --install "$build" --component box >/dev/null
for f in opt/lirva/bin/lirva opt/lirva/bin/lirva-play opt/lirva/libexec/lirva/simhost \
         opt/lirva/libexec/lirva/lirva.so opt/lirva/libexec/lirva/liblirva_dsp_sim.so \
         opt/lirva/share/doc/lirva/copyright var/ombrix/plugins/lirva.so; do
  [ -f "$stage/$f" ] || fail "no /$f"
done

# Without a real device simhost restarts with the simulated one preloaded;
# the loader's log names the file it preloads.
[ -e /dev/dsp ] && { echo "this machine has /dev/dsp: the simulated device is not used"; exit 0; }
cd "$stage"
LD_DEBUG=files "$stage/opt/lirva/bin/lirva" --keys print >screen.txt 2>loader.txt || fail "lirva failed: $(tail -3 loader.txt)"
grep -q "Lirva 0.0.2" screen.txt || fail "no player window: $(cat screen.txt)"
grep -q "file=$stage/opt/lirva/libexec/lirva/liblirva_dsp_sim.so " loader.txt \
  || fail "the installed simulated device was not preloaded"
echo "installed layout complete; lirva opens the player with the installed device"
