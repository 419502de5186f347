#!/usr/bin/env bash
# CPU time of the whole pipeline against the reference decoder, side by side:
#   lirva-play FILE into the unpaced simulated device (16-bit stereo at the
#   file's rate; LIRVA_DSP_RATES=48000 or =44100 in the environment makes it
#   a device of one rate, so the rate step runs too)
#   flac -d -f --force-raw-format --endian=big --sign=signed -o /dev/null FILE
#   (run as `-c ... > /dev/null`: the same work, but flac deletes its output
#   file when a decode fails, and as root that would be /dev/null itself)
# for subset-01 of the corpus and for generated files of each stream class
# (SECONDS long): 16-bit/44.1 kHz stereo and mono, 16-bit/48 kHz stereo,
# 24-bit/96 kHz and 192 kHz stereo, 24-bit/96 kHz 5.1. Each command runs
# RUNS times; the table gives the least and the median user+system time per
# play, and lirva-play's least time over flac's. The reference only decodes:
# the difference is the conversion to the device's format (and the device).
#
#   scripts/bench-pipeline.sh [BUILD_DIR] [RUNS] [SECONDS]
#
# BUILD_DIR (default build-bench/ in the repository) is configured with
# -DLIRVA_BUILD_BENCH=ON when needed and the programs are built.
set -euo pipefail

source "$(dirname "$0")/common.sh"
source "$top/scripts/bench-build.sh"

build=${1:-$(build_dir bench)}
runs=${2:-5}
seconds=${3:-300}
corpus=$corpus_dir

bench_build "$build" lirva-play lirva_dsp_sim gen-tone
play=$(find "$build" -name lirva-play -type f -perm -u+x | head -1)
sim=$(find "$build" -name liblirva_dsp_sim.so | head -1)
gen=$(find "$build" -name gen-tone -type f -perm -u+x | head -1)
command -v flac >/dev/null || { echo "needs the flac tool (Debian package flac)" >&2; exit 1; }

work=$(mktemp -d /tmp/lirva-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

# class name, rate, bits, channels
classes=(
  "16/44.1 stereo 44100 16 2"
  "16/44.1 mono 44100 16 1"
  "16/48 stereo 48000 16 2"
  "24/96 stereo 96000 24 2"
  "24/192 stereo 192000 24 2"
  "24/96 5.1 96000 24 6"
)
files=("$corpus/subset-01-blocksize-4096.flac")
names=("subset-01 (16/44.1 stereo)")
for c in "${classes[@]}"; do
    read -r name kind rate bits channels <<<"$c"
    f="$work/$rate-$bits-$channels.flac"
    "$gen" "$seconds" "$rate" "$bits" "$channels" |
        flac -s --force-raw-format --endian=big --sign=signed --channels="$channels" --bps="$bits" \
            --sample-rate="$rate" -o "$f" -
    files+=("$f")
    names+=("$name $kind")
done

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

printf "%-28s %10s %10s %10s %10s %8s\n" file "lirva min" "lirva med" "flac min" "flac med" ratio
for i in "${!files[@]}"; do
    file=${files[$i]}
    [ -f "$file" ] || { echo "missing $file" >&2; continue; }
    repeat=1
    [ "$i" -ne 0 ] || repeat=50
    read -r lmin lmed < <(measure env LD_PRELOAD="$sim" LIRVA_DSP_SPEED=0 "$play" "$file")
    # Both through env(1), so that neither pays for a different launcher;
    # the loop's output goes to /dev/null.
    read -r fmin fmed < <(measure env flac -s -d -c --force-raw-format --endian=big --sign=signed "$file")
    ratio=$(awk -v a="$lmin" -v b="$fmin" 'BEGIN { if (b > 0) printf "%.3f", a / b; else print "-" }')
    printf "%-28s %10s %10s %10s %10s %8s\n" "${names[$i]}" "$lmin" "$lmed" "$fmin" "$fmed" "$ratio"
done
