#!/usr/bin/env bash
# Instructions per second of audio on the 32-bit build, under callgrind: a
# whole play of each stream class through lirva-play into the unpaced
# simulated device (decoding, the output chain, the device writes), on
# three devices: one that takes the stream's own rate ("own"), one that
# plays only 48000 Hz ("48k") and one that plays only 44100 Hz ("44.1k").
# Columns: the whole play; the output chain (channel mix, rate step, width
# and dither, byte order); libFLAC's decoding (without the writer). The MD5
# check's share of decoding is bench/engine/md5_cost.cpp's. Odd rates (none of these classes) would run
# libspeexdsp: it is preloaded in fixed point, as the box runs it, built
# from Debian's source (scripts/build-speexdsp.sh).
#
#   scripts/bench-instructions.sh [SECONDS] [FLAVOUR]
#
# Needs valgrind and the build of FLAVOUR: i386 (default, build-i386/ of
# scripts/cross-test.sh i386) or plain (build/, the PC's own 64-bit
# instructions, where a kernel without 32-bit support cannot run the i386
# valgrind). SECONDS (default 10) of audio per class.
set -euo pipefail

source "$(dirname "$0")/common.sh"
source "$top/scripts/bench-build.sh"

seconds=${1:-10}
flavour=${2:-i386}
i386=$(build_dir "$flavour")
[ -f "$i386/build.ninja" ] || { echo "no $i386: run scripts/cross-test.sh i386 (or scripts/build.sh $flavour) first" >&2; exit 1; }
command -v valgrind >/dev/null || { echo "needs valgrind (Debian package valgrind)" >&2; exit 1; }
command -v flac >/dev/null || { echo "needs the flac tool (Debian package flac)" >&2; exit 1; }

ninja -C "$i386" -j2 lirva-play lirva_dsp_sim >/dev/null
bench_build "$(build_dir bench)" gen-tone
play=$(find "$i386" -name lirva-play -type f -perm -u+x | head -1)
sim=$(find "$i386" -name liblirva_dsp_sim.so | head -1)
gen=$(find "$(build_dir bench)" -name gen-tone -type f -perm -u+x | head -1)
speex=""
[ "$flavour" != i386 ] ||
    speex=" $("$top/scripts/build-speexdsp.sh" i686-linux-gnu "$i386/speexdsp-fixed")/.libs/libspeexdsp.so.1"

work=$(mktemp -d /tmp/lirva-instructions-XXXXXX)
trap 'rm -rf "$work"' EXIT

# Inclusive instructions of the functions whose names match $2, in the
# callgrind output $1 (the outermost match counts, not the calls inside it).
inclusive() {
    callgrind_annotate --inclusive=yes --threshold=100 "$1" 2>/dev/null |
        awk -v pat="$2" '!found && $0 ~ pat { gsub(",", "", $1); n = $1; found = 1 } END { printf "%.0f\n", n }'
}

printf "%-16s %-6s %11s %11s %11s %8s\n" class device "total Mi/s" "chain Mi/s" "decode Mi/s" "chain %"
# Each stream class of scripts/bench-classes.txt: name, rate, bits, channels.
while read -r name rate bits channels; do
    f="$work/$rate-$bits-$channels.flac"
    "$gen" "$seconds" "$rate" "$bits" "$channels" |
        flac -s --force-raw-format --endian=big --sign=signed --channels="$channels" --bps="$bits" \
            --sample-rate="$rate" -o "$f" -
    for device in own 48k 44.1k; do
        case "$device" in
            own) rates="" ;;
            48k) rates=48000 ;;
            44.1k) rates=44100 ;;
        esac
        out="$work/callgrind.$device.$rate-$bits-$channels"
        # The fixed-point libspeexdsp is preloaded: the programs' own search
        # path (RPATH) comes before LD_LIBRARY_PATH.
        env LIRVA_DSP_SPEED=0 LIRVA_DSP_RATES="$rates" \
            valgrind --tool=callgrind --callgrind-out-file="$out" --trace-children=yes \
            env LD_PRELOAD="$sim$speex" "$play" "$f" >/dev/null 2>"$work/valgrind.log" ||
            { tail "$work/valgrind.log"; exit 1; }
        total=$(awk '/^summary:/ { print $2 }' "$out")
        chain=$(( $(inclusive "$out" ":OutputChain::convert") + $(inclusive "$out" ":OutputChain::drain") ))
        decode=$(( $(inclusive "$out" ':FLAC__stream_decoder_process_until_end_of_stream')
                   - $(inclusive "$out" ':flac_write_hdl') ))
        awk -v n="$name" -v b="$device" -v t="$total" -v c="$chain" -v d="$decode" -v s="$seconds" \
            'BEGIN { printf "%-16s %-6s %11.1f %11.1f %11.1f %7.1f%%\n", n, b, t / s / 1e6, c / s / 1e6, d / s / 1e6, 100 * c / t }'
    done
done <"$top/scripts/bench-classes.txt"
