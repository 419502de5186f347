#!/usr/bin/env bash
# Playback measurements, both through the simulated /dev/dsp at real-time
# speed (LIRVA_DSP_SPEED=1), on subset-01 of the corpus (16-bit stereo
# 44100 Hz, 7 s):
#   1. stop latency: the blue key in the plug-in's window until the time
#      labels are empty and the bar is at 0, over STOPS stops, each after a
#      random 50-300 ms of play (bench/play/stop_latency.cpp);
#   2. processor share while lirva-play plays the whole file: (user + system)
#      / wall time, in percent of one core. Goal: under 2%;
#   3. stop times while a hostile file keeps the decoder reading (a 1 TB
#      sparse file after a valid header, 512 padding blocks of 16 MiB): the
#      blue key, selecting another file and leaving, 20 rounds each
#      (bench/play/hostile_stop.cpp). Goal: under 50 ms at the 99th percentile.
#
#   scripts/measure-playback.sh [BUILD_DIR] [STOPS]
#
# BUILD_DIR (default build-bench/ in the repository) is configured with
# -DLIRVA_BUILD_BENCH=ON when needed and the programs are built.
set -euo pipefail

source "$(dirname "$0")/common.sh"
source "$top/scripts/bench-build.sh"

build=${1:-$(build_dir bench)}
stops=${2:-100}
file="$corpus_dir/subset-01-blocksize-4096.flac"

sim="$build/simhost/dsp/liblirva_dsp_sim.so"
play="$build/tools/lirva-play/lirva-play"
latency="$build/bench/play/lirva-stop-latency"
share="$build/bench/play/lirva-cpu-share"
hostile="$build/bench/play/lirva-hostile-stop"
bench_build "$build" lirva_dsp_sim lirva-play lirva-stop-latency lirva-cpu-share lirva-hostile-stop
[ -f "$file" ] || { echo "missing $file" >&2; exit 1; }
file=$(cd "$(dirname "$file")" && pwd)/$(basename "$file")   # the program wants an absolute path

echo "== stop latency, $stops stops, simulated device at real-time speed"
(set -x; LD_PRELOAD="$sim" LIRVA_DSP_SPEED=1 "$latency" -n "$stops" "$file")

echo "== processor share while $(basename "$file") plays at real-time speed"
(set -x; LD_PRELOAD="$sim" LIRVA_DSP_SPEED=1 "$share" "$play" "$file")

echo "== stop times while a hostile file keeps the decoder reading"
(set -x; LD_PRELOAD="$sim" LIRVA_DSP_SPEED=1 "$hostile" -n 20 "$file")
