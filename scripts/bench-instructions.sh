#!/usr/bin/env bash
# Instructions per second of audio on the 32-bit build, under callgrind: a
# whole play of each stream class through lirva-play into the unpaced
# simulated device (decoding, the output chain, the device writes), and the
# share of the output chain (channel mix, width and dither, resampling, byte
# order). The box runs libspeexdsp in fixed point, where Debian's i386
# library is a float build: the resampling classes run with three builds of
# it, Debian's ("debian"), fixed point as doc/box.md builds it for the box
# ("fixed"), and fixed point with its whole filter table computed up front
# ("table": -DRESAMPLE_FULL_SINC_TABLE, a plain inner product per sample
# instead of interpolated filter phases, at the cost of a set-up that grows
# with the reduced ratio's denominator: 147 for 48 and 96 kHz to 44.1, but
# thousands for odd rates). All built from Debian's source
# (scripts/build-speexdsp.sh).
#
#   scripts/bench-instructions.sh [SECONDS]
#
# Needs the i386 build of scripts/cross-test.sh i386 (build-i386/) and
# valgrind. SECONDS (default 10) of audio per class.
set -euo pipefail

source "$(dirname "$0")/common.sh"
source "$top/scripts/bench-build.sh"

seconds=${1:-10}
i386=$(build_dir i386)
[ -f "$i386/build.ninja" ] || { echo "no $i386: run scripts/cross-test.sh i386 first" >&2; exit 1; }
command -v valgrind >/dev/null || { echo "needs valgrind (Debian package valgrind)" >&2; exit 1; }
command -v flac >/dev/null || { echo "needs the flac tool (Debian package flac)" >&2; exit 1; }

ninja -C "$i386" -j2 lirva-play lirva_dsp_sim >/dev/null
bench_build "$(build_dir bench)" gen-tone
play=$(find "$i386" -name lirva-play -type f -perm -u+x | head -1)
sim=$(find "$i386" -name liblirva_dsp_sim.so | head -1)
gen=$(find "$(build_dir bench)" -name gen-tone -type f -perm -u+x | head -1)
fixed=$("$top/scripts/build-speexdsp.sh" i686-linux-gnu "$i386/speexdsp-fixed")/.libs
table=$("$top/scripts/build-speexdsp.sh" i686-linux-gnu "$i386/speexdsp-table" -DRESAMPLE_FULL_SINC_TABLE)/.libs

work=$(mktemp -d /tmp/lirva-instructions-XXXXXX)
trap 'rm -rf "$work"' EXIT

# Inclusive instructions of the functions whose names match $2, in the
# callgrind output $1 (the outermost match counts, not the calls inside it).
inclusive() {
    callgrind_annotate --inclusive=yes --threshold=100 "$1" 2>/dev/null |
        awk -v pat="$2" '!found && $0 ~ pat { gsub(",", "", $1); n = $1; found = 1 } END { printf "%.0f\n", n }'
}

printf "%-22s %-6s %12s %12s %12s %7s\n" class speex "total Mi/s" "chain Mi/s" "decode Mi/s" "chain %"
while read -r name rate bits channels; do
    f="$work/$rate-$bits-$channels.flac"
    "$gen" "$seconds" "$rate" "$bits" "$channels" |
        flac -s --force-raw-format --endian=big --sign=signed --channels="$channels" --bps="$bits" \
            --sample-rate="$rate" -o "$f" -
    builds=(debian)
    [ "$rate" = 44100 ] || builds+=(fixed table)
    for build in "${builds[@]}"; do
        out="$work/callgrind.$build.$rate-$bits-$channels"
        # The other builds of libspeexdsp are preloaded: the programs' own
        # search path (RPATH) comes before LD_LIBRARY_PATH.
        preload=$sim
        [ "$build" = fixed ] && preload+=" $fixed/libspeexdsp.so.1"
        [ "$build" = table ] && preload+=" $table/libspeexdsp.so.1"
        env LIRVA_DSP_SPEED=0 \
            valgrind --tool=callgrind --callgrind-out-file="$out" --trace-children=yes \
            env LD_PRELOAD="$preload" "$play" "$f" >/dev/null 2>"$work/valgrind.log" ||
            { tail "$work/valgrind.log"; exit 1; }
        total=$(awk '/^summary:/ { print $2 }' "$out")
        chain=$(( $(inclusive "$out" ":OutputChain::convert") + $(inclusive "$out" ":OutputChain::drain") ))
        decode=$(( $(inclusive "$out" ':FLAC__stream_decoder_process_until_end_of_stream')
                   - $(inclusive "$out" ':flac_write_hdl') ))
        awk -v n="$name" -v b="$build" -v t="$total" -v c="$chain" -v d="$decode" -v s="$seconds" \
            'BEGIN { printf "%-22s %-6s %12.1f %12.1f %12.1f %6.1f%%\n", n, b, t / s / 1e6, c / s / 1e6, d / s / 1e6, 100 * c / t }'
    done
done <<'CLASSES'
16/44.1_stereo 44100 16 2
16/44.1_mono 44100 16 1
16/48_stereo 48000 16 2
24/96_stereo 96000 24 2
24/192_stereo 192000 24 2
24/96_5.1 96000 24 6
CLASSES
