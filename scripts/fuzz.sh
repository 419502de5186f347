#!/usr/bin/env bash
# Fuzzes the playback engine with libFuzzer (clang) under AddressSanitizer
# and UndefinedBehaviorSanitizer, for a bounded time:
#   fuzz_play     arbitrary bytes played as a FLAC file: the decoder session,
#                 the sample writer, the simulated device (its answers to the
#                 settings chosen by the input) and the status display; seeded
#                 with the corpus and with long metadata and frame searches,
#                 and a dictionary of the format's pieces
#   fuzz_convert  the output chain (channel mix, width and dither, resampler,
#                 byte order) with any width, channel count, block size and
#                 rate, to any device format
# Fails on any crash, leak or sanitizer report, and keeps the input that
# caused it in build-fuzz/findings/ (LIRVA_FUZZ_FINDINGS to change). Seeds
# come from the FLAC corpus (LIRVA_CORPUS_DIR).
# Usage: scripts/fuzz.sh [seconds for fuzz_play [seconds for fuzz_convert]]
set -euo pipefail
source "$(dirname "$0")/common.sh"
play_secs=${1:-45}
convert_secs=${2:-15}
corpus=$corpus_dir
dir=$(build_dir fuzz)
findings=${LIRVA_FUZZ_FINDINGS:-$dir/findings}

# clang's libFuzzer and sanitizer runtimes come with libclang-rt-14-dev.
"$top/scripts/setup.sh" clang libclang-rt-14-dev

# Everything built with the sanitizers; the engine, plug-in and toolkit also
# with coverage instrumentation so that libFuzzer sees their branches.
CC=clang CXX=clang++ cmake -S "$top" -B "$dir" -G Ninja -DLIRVA_FUZZ=ON \
  -DLIRVA_SANITIZE=address,undefined -DLIRVA_CORPUS_DIR="$corpus_dir" \
  -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
ninja -C "$dir" -j2 fuzz_play fuzz_convert

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/play" "$work/convert" "$findings"
# libFuzzer adds what it finds to the first corpus folder: use a copy.
if corpus_or_skip && compgen -G "$corpus/*.flac" >/dev/null; then
  cp "$corpus"/*.flac "$work/play/"
else
  echo "warning: no seed files in $corpus; fuzz_play starts from nothing"
fi
# Seeds that reach what a hostile file does: a long metadata block (STREAMINFO,
# then 48 KiB of padding) and a long frame search (a header and first frames,
# then 48 KiB without a frame).
src="$corpus/subset-01-blocksize-4096.flac"
if [ -f "$src" ]; then
  { head -c 4 "$src"; printf '\000'; head -c 42 "$src" | tail -c 37; printf '\201\000\300\000'
    head -c 49152 /dev/zero; } >"$work/play/long-padding.flac"
  { head -c 8192 "$src"; head -c 49152 /dev/zero; } >"$work/play/frame-search.flac"
fi

# run NAME SECONDS CORPUS [libFuzzer flags...]
run() {
  local name=$1 secs=$2 seeds=$3 log="$work/$1.log"
  shift 3
  echo "== $name, $secs s"
  if ! "$dir/tests/fuzz/$name" -max_total_time="$secs" -timeout=20 -rss_limit_mb=2048 \
       -artifact_prefix="$findings/$name-" -print_final_stats=1 "$@" "$seeds" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "$name FAILED; the input is kept in $findings/"
    exit 1
  fi
  # "Done 123456 runs in 45 second(s)"
  awk '/^Done [0-9]+ runs in/ {printf "%s: %d runs in %d s, %d exec/s\n", n, $2, $5, $2 / ($5 ? $5 : 1)}
       /stat::peak_rss_mb/ {print n ": peak RSS " $2 " MB"}' n="$name" "$log"
  grep -E '^#[0-9]+.*(cov|ft):' "$log" | tail -n 1 | sed "s/^/$name: last: /"
}

# Up to 64 KiB: the long-metadata and frame-search seeds stay whole, and the
# rate stays above 100 runs a second (here: 376 a second; 320 KiB gave 62).
run fuzz_play "$play_secs" "$work/play" -max_len=65536 -dict="$top/tests/fuzz/flac.dict"
run fuzz_convert "$convert_secs" "$work/convert" -max_len=4096
echo "fuzzing passed: no crash, leak or sanitizer report"
