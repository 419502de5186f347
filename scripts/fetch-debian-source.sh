#!/usr/bin/env bash
# Unpacks the source of one Debian package (the version the archive serves
# now) into DEST/<package>-<version>/ and prints that folder. Adds a deb-src
# entry for the machine's own archive when there is none. Nothing is
# fetched again when the folder exists already.
# Usage: scripts/fetch-debian-source.sh PACKAGE DEST
set -euo pipefail
pkg=${1:?usage: $0 PACKAGE DEST}
dest=${2:?usage: $0 PACKAGE DEST}
source "$(dirname "$0")/common.sh"

has_deb_src() {
  grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/
}
if ! has_deb_src; then
  # The same archive, suites and keys as the binary entries, for sources.
  for f in /etc/apt/sources.list.d/debian.sources /etc/apt/sources.list; do
    [ -f "$f" ] || continue
    case "$f" in
      *.sources) sed 's/^Types: deb$/Types: deb-src/' "$f" | as_root tee /etc/apt/sources.list.d/lirva-deb-src.sources >/dev/null ;;
      *) sed -n 's/^deb /deb-src /p' "$f" | as_root tee /etc/apt/sources.list.d/lirva-deb-src.list >/dev/null ;;
    esac
    break
  done
  apt_get update >/dev/null
fi
"$(dirname "$0")/setup.sh" dpkg-dev >/dev/null

version=$(apt-cache showsrc "$pkg" | awk '/^Version:/ {print $2}' | sort -V | tail -1)
[ -n "$version" ] || { echo "no source package $pkg" >&2; exit 1; }
upstream=${version#*:}
upstream=${upstream%-*}
folder="$dest/$pkg-$upstream"
if [ ! -d "$folder" ]; then
  mkdir -p "$dest"
  (cd "$dest" && apt-get source -qq "$pkg=$version" >/dev/null)
fi
[ -d "$folder" ] || { echo "apt-get source $pkg gave no $folder" >&2; exit 1; }
echo "$folder"
