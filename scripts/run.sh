#!/usr/bin/env bash
# Sets up, builds and opens the player in the terminal: the stand-in host
# with the plug-in. Extra arguments go to simhost (try --help).
set -euo pipefail
source "$(dirname "$0")/common.sh"

"$top/scripts/setup.sh"
"$top/scripts/build.sh" plain simhost lirva lirva_dsp_sim >/dev/null
exec "$(build_dir plain)/simhost/app/simhost" "$@" "$(build_dir plain)/plugin/lirva.so"
