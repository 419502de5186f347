#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, and
# any more named on the command line (a stage's own tools, "pkg:arch" too).
# Does nothing when they are all there; waits for apt's lock when another
# installation holds it.
# Usage: scripts/setup.sh [package...]
set -euo pipefail
source "$(dirname "$0")/common.sh"

packages=(
  g++ cmake ninja-build pkg-config
  libflac-dev libsigc++-3.0-dev libncurses-dev libspeexdsp-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  flac
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${db:Status-Abbrev}' "$p" 2>/dev/null | grep -q '^ii' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
apt_get update
apt_get install -y --no-install-recommends "${missing[@]}"
