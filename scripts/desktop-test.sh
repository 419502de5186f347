#!/usr/bin/env bash
# The tests with the real things around the plug-in (ctest label
# "desktop"): ALSA's and PulseAudio's OSS layers in place of the simulated
# device, and the interactive terminal in tmux. Installs the tools they need;
# a missing one fails a test here instead of skipping it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

packages=(tmux alsa-oss libasound2-plugins pulseaudio pulseaudio-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
"$top/scripts/setup.sh"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get -o DPkg::Lock::Timeout=600 update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "${missing[@]}"
fi

"$top/scripts/build.sh" plain -j2 >/dev/null
LIRVA_REQUIRE_DESKTOP_TOOLS=1 ctest --test-dir "$top/build" -L desktop --output-on-failure
