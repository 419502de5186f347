#!/usr/bin/env bash
# Makes a Debian root file system for another architecture that holds the
# libraries the suite builds against (with their headers, pkg-config and
# CMake files) and prints its path. The cross builds use it as their
# compiler's sysroot and load their programs' libraries from it, so the
# machine's own packages never change: no foreign architecture is added to
# its dpkg and nothing is installed for it.
#
# The packages come from the Debian archives and suites the machine's apt
# sources name (the release, -updates, -security), unpacked without running
# any of their scripts. The root is cached under $LIRVA_CACHE (default
# ~/.cache/lirva), keyed by the architecture, the package list and this
# script, so a second run only prints the path. It is built in a temporary
# folder and renamed into place when complete: an interrupted run leaves
# nothing a later run would trust.
# Usage: scripts/foreign-root.sh i386|s390x
set -euo pipefail
source "$(dirname "$0")/common.sh"
arch=${1:-}
case "$arch" in
  i386|s390x) ;;
  *) echo "usage: $0 i386|s390x" >&2; exit 2 ;;
esac

# With what they pull in: the C and C++ runtime the programs load.
packages=(libflac-dev libsigc++-3.0-dev libncurses-dev libspeexdsp-dev libgtest-dev libgmock-dev)

cache=${LIRVA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/lirva}
key=$( { echo "$arch"; printf '%s\n' "${packages[@]}"; cat "${BASH_SOURCE[0]}"; } | sha256sum | cut -c1-16)
root=$cache/root-$arch-$key
if [ -d "$root" ]; then
  echo "$root"
  exit 0
fi

"$top/scripts/setup.sh" mmdebstrap >&2

# One source line per Debian archive and suite of the machine's apt sources,
# with the components it uses there. The archive's origin is known from the
# lists apt-get update fetched.
debian_sources() {
  apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' 'Created-By: Packages' 'Origin: Debian' |
    sort -u |
    awk '{ key = $1 " " $2; if (!(key in parts)) order[n++] = key; parts[key] = parts[key] " " $3 }
         END { for (i = 0; i < n; i++) print "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] " order[i] parts[order[i]] }'
}
sources=$(debian_sources)
if [ -z "$sources" ]; then
  apt_get update >&2
  sources=$(debian_sources)
fi
[ -n "$sources" ] || { echo "foreign-root: the machine's apt sources name no Debian archive" >&2; exit 1; }
# The release itself (bookworm, not bookworm-updates): the shortest suite.
suite=$(awk '{ print length($4), $4 }' <<<"$sources" | sort -n | awk 'NR == 1 { print $2 }')

mkdir -p "$cache"
work=$(mktemp -d "$cache/.root-$arch-$key.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Unpacked only ("extract"): the packages' scripts would need the foreign
# CPU, and a sysroot needs none of what they do. "chrootless" needs neither
# chroot nor mounts, so it works for root in a container as well as for a
# plain user.
echo "Making the $arch root file system in $root" >&2
mmdebstrap --quiet --variant=extract --mode=chrootless --architectures="$arch" \
  --include="$(IFS=,; echo "${packages[*]}")" \
  "$suite" "$work/root" - <<<"$sources" >&2

# Absolute symbolic links point into the machine's own /: make them
# relative, so that they stay inside the root.
find "$work/root" -type l -lname '/*' -print0 |
  while IFS= read -r -d '' link; do
    ln -sfn "$(realpath -s -m --relative-to="$(dirname "$link")" "$work/root$(readlink "$link")")" "$link"
  done

mv -T "$work/root" "$root" 2>/dev/null || [ -d "$root" ]   # another run may have finished first
# What a run killed on the way left a day ago. (Roots of another key stay:
# build folders, of other worktrees too, may still load from them.)
find "$cache" -maxdepth 1 -name ".root-$arch-*" -mmin +1440 -exec rm -rf {} +
echo "$root"
