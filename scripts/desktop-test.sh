#!/usr/bin/env bash
# The tests with the real things around the plug-in (ctest label
# "desktop"): ALSA's and PulseAudio's OSS layers in place of the simulated
# device, and the interactive terminal in tmux. Installs the tools they need;
# a missing one fails a test here instead of skipping it.
set -euo pipefail
source "$(dirname "$0")/common.sh"

"$top/scripts/setup.sh" tmux alsa-oss libasound2-plugins pulseaudio pulseaudio-utils
"$top/scripts/build.sh" plain -j2 >/dev/null
LIRVA_REQUIRE_DESKTOP_TOOLS=1 ctest --test-dir "$(build_dir plain)" -L desktop --output-on-failure
