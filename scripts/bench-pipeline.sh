#!/bin/bash
# CPU time of the whole pipeline against the reference decoder, side by side:
#   lirva-play FILE into the unpaced simulated device
#   flac -d -f --force-raw-format --endian=big --sign=signed -o /dev/null FILE
#   (run as `-c ... > /dev/null`: the same work, but flac deletes its output
#   file when a decode fails, and as root that would be /dev/null itself)
# on subset-01 of the corpus and on a generated 10-minute 16-bit stereo
# 44100 Hz file. Each command runs RUNS times; the table gives the least and
# the median user+system time per play, and lirva-play's least time over flac's.
#
#   scripts/bench-pipeline.sh [BUILD_DIR] [RUNS]
#
# BUILD_DIR (default build-bench/ in the repository) is configured with
# -DLIRVA_BUILD_BENCH=ON when needed and the programs are built.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/bench-build.sh"
build=${1:-$here/build-bench}
runs=${2:-5}
corpus="$here/../shared/flac-corpus"

play="$build/tools/lirva-play/lirva-play"
sim="$build/simhost/dsp/liblirva_dsp_sim.so"
gen="$build/bench/engine/gen-tone"
bench_build "$build" lirva-play lirva_dsp_sim gen-tone
command -v flac >/dev/null || { echo "needs the flac tool (Debian package flac)" >&2; exit 1; }

work=$(mktemp -d /tmp/lirva-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

tone="$work/tone-10min.flac"
"$gen" 600 | flac -s --force-raw-format --endian=big --sign=signed --channels=2 --bps=16 \
    --sample-rate=44100 -o "$tone" -

# User+system seconds per play of the command, played $repeat times in a
# row (short files need several for the clock's 10 ms steps).
cpu_seconds() {
    /usr/bin/time -f "%U %S" -o "$work/time" \
        bash -c 'for ((i = 0; i < $0; i++)); do "$@"; done' "$repeat" "$@" >/dev/null 2>&1
    awk -v n="$repeat" '{ printf "%.4f\n", ($1 + $2) / n }' "$work/time"
}

# The least and the median of RUNS measurements.
measure() {
    local i
    for ((i = 0; i < runs; i++)); do cpu_seconds "$@"; done | sort -n |
        awk '{ v[NR] = $1 } END { printf "%s %s\n", v[1], v[int((NR + 1) / 2)] }'
}

printf "%-34s %10s %10s %10s %10s %8s\n" file "lirva min" "lirva med" "flac min" "flac med" ratio
for file in "$corpus/subset-01-blocksize-4096.flac" "$tone"; do
    [ -f "$file" ] || { echo "missing $file" >&2; continue; }
    repeat=1
    [ "$file" = "$tone" ] || repeat=50
    read -r lmin lmed < <(measure env LD_PRELOAD="$sim" LIRVA_DSP_SPEED=0 "$play" "$file")
    # Both through env(1), so that neither pays for a different launcher;
    # the loop's output goes to /dev/null.
    read -r fmin fmed < <(measure env flac -s -d -c --force-raw-format --endian=big --sign=signed "$file")
    ratio=$(awk -v a="$lmin" -v b="$fmin" 'BEGIN { if (b > 0) printf "%.3f", a / b; else print "-" }')
    printf "%-34s %10s %10s %10s %10s %8s\n" "$(basename "$file")" "$lmin" "$lmed" "$fmin" "$fmed" "$ratio"
done
