#!/usr/bin/env bash
# The gap between tracks of a run, in samples: a folder of three 16-bit
# stereo 44100 Hz files of the corpus (fixed 4096-sample blocks, variable
# blocks, 65535-sample blocks) played through from the first in the
# plug-in's window, into the simulated /dev/dsp (unpaced), whose capture is
# compared with the reference decodes laid end to end. Goal: 0 samples
# between same-format neighbours, every byte as the reference has it.
#
#   scripts/measure-gap.sh [BUILD_DIR]
set -euo pipefail
source "$(dirname "$0")/common.sh"

build=${1:-$(build_dir plain)}
"$top/scripts/build.sh" plain simhost lirva lirva_dsp_sim >/dev/null
corpus_or_skip || exit 0
work=$(mktemp -d "${TMPDIR:-/tmp}/lirva-gap.XXXXXX")
trap 'rm -rf "$work"' EXIT

names=("1 fixed blocks.flac" "2 variable blocks.flac" "3 largest blocks.flac")
sources=(subset-01-blocksize-4096 subset-25-variable-blocksize uncommon-08-blocksize-65535)
mkdir "$work/album"
steps=""
for i in 0 1 2; do
  cp "$corpus_dir/${sources[$i]}.flac" "$work/album/${names[$i]}"
  flac -d -c -s --force-raw-format --endian=big --sign=signed "$work/album/${names[$i]}" >"$work/ref$i.raw"
done
IFS=/ read -ra parts <<<"${work#/}/album"
for part in "${parts[@]}"; do steps+="to=/$part"$'\n'"ok"$'\n'; done
# Unpaced, the run is over long before the wait ends; the sizes below say
# whether it was.
steps+="to=${names[0]}"$'\n'"ok"$'\n'"wait=3000"$'\n'"exit"$'\n'
LIRVA_DSP_SPEED=0 LIRVA_DSP_CAPTURE="$work/capture.raw" "$build/simhost/app/simhost" --keys "$steps" \
  "$build/plugin/lirva.so" >/dev/null

cat "$work"/ref{0,1,2}.raw >"$work/expected.raw"
bytes() { stat -c %s "$1"; }
at=0
for i in 0 1; do
  at=$((at + $(bytes "$work/ref$i.raw")))
  echo "junction $((i + 1))-$((i + 2)) at sample $((at / 4)) of the capture"
done
echo "captured $(( $(bytes "$work/capture.raw") / 4 )) samples, the decodes end to end $(( $(bytes "$work/expected.raw") / 4 ))"
if cmp -s "$work/capture.raw" "$work/expected.raw"; then
  echo "gap 0 samples at each junction: the capture is the three decodes back to back, byte for byte"
else
  cmp "$work/capture.raw" "$work/expected.raw" || true
  exit 1
fi
