#!/usr/bin/env bash
# Sets up, builds and opens the player in the terminal: the stand-in host
# with the plug-in. Extra arguments go to simhost (try --help).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

"$top/scripts/setup.sh"
"$top/scripts/build.sh" plain simhost lirva lirva_dsp_sim >/dev/null
exec "$top/build/simhost/app/simhost" "$@" "$top/build/plugin/lirva.so"
