#!/usr/bin/env bash
# The Debian package for a PC, made and checked as a user meets it: builds
# build/, makes build/lirva_<version>_<arch>.deb with CPack, lets lintian
# find no error in it, installs it with apt-get, and plays a corpus file
# with the installed `lirva`, headless from a key script: the window must
# show, and what reached the simulated device must be the reference
# decode's start. The package is removed again at the end.
# Usage: scripts/package-deb.sh [--keep]   (--keep leaves it installed)
set -euo pipefail
source "$(dirname "$0")/common.sh"
keep=${1:-}
corpus_file="$corpus_dir/subset-01-blocksize-4096.flac"
build=$(build_dir plain)


# dpkg-shlibdeps (dpkg-dev) gives the package's dependencies.
"$top/scripts/setup.sh" dpkg-dev lintian

"$top/scripts/build.sh" plain -j2 >/dev/null
version=$(sed -n "s/^LIRVA_VERSION='\(.*\)'/\1/p" "$build/box-package.env")
deb="$build/lirva_${version}_$(dpkg --print-architecture).deb"
rm -f "$deb"
(cd "$build" && cpack -G DEB >/dev/null)
[ -f "$deb" ] || { echo "cpack made no $deb" >&2; exit 1; }
echo "== $(basename "$deb"): $(dpkg-deb -f "$deb" Depends)"

echo "== lintian"
lintian --fail-on error "$deb"

echo "== apt-get install $deb"
apt_get install -y "$deb" >/dev/null
[ "$keep" = --keep ] || trap 'apt_get purge -y lirva >/dev/null' EXIT
[ "$(command -v lirva)" = /usr/bin/lirva ] || { echo "no lirva command" >&2; exit 1; }

# The key script that walks from "/" to the file at the absolute path $1 by
# name: the cursor onto each entry (to=), then OK.
keys_to() {
  local dir="" part
  IFS=/ read -ra parts <<<"${1#/}"
  for part in "${parts[@]}"; do
    dir=$dir/$part
    if [ -d "$dir" ]; then printf 'to=/%s\nok\n' "$part"; else printf 'to=%s\nok\n' "$part"; fi
  done
}

echo "== lirva, headless, plays a corpus file"
corpus_or_skip || exit 0   # the package is made, checked and installed; the play needs the corpus
tree=$(mktemp -d "/tmp/!lirva-deb-XXXXXX")
trap 'rm -rf "$tree"; [ "$keep" = --keep ] || apt_get purge -y lirva >/dev/null' EXIT
cp "$corpus_file" "$tree/tune.flac"
keys="$(keys_to "$tree/tune.flac")
wait=1500 print"
(cd "$tree" && LIRVA_DSP_CAPTURE="$tree/capture.raw" LIRVA_DSP_SPEED=0 lirva --keys "$keys" >"$tree/screen.txt")
grep -q "Lirva 0.0.2" "$tree/screen.txt" || { cat "$tree/screen.txt"; echo "no player window" >&2; exit 1; }
flac -d -c -s --force-raw-format --endian=big --sign=signed "$corpus_file" >"$tree/reference.raw"
size=$(stat -c %s "$tree/capture.raw" 2>/dev/null || echo 0)
[ "$size" -gt 0 ] || { echo "nothing reached the simulated device" >&2; exit 1; }
cmp -n "$size" "$tree/capture.raw" "$tree/reference.raw" || { echo "the bytes played differ from the reference" >&2; exit 1; }
echo "installed lirva played $size bytes, equal to the reference decode's first $size"
