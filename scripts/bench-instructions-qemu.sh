#!/usr/bin/env bash
# The i386 instruction counts of scripts/bench-instructions.sh where
# valgrind cannot run 32-bit programs (a kernel without 32-bit support):
# qemu-i386 logs every translated block and each execution of one, and the
# instructions are summed. Columns: the whole play (less the start-up, a
# play of an empty stream); Lirva's conversion code by name (the output
# chain, channel mix, rate stages, width and byte order, not counting the
# C library's copies it calls); the rest, mostly libFLAC's decoding.
#
#   scripts/bench-instructions-qemu.sh [SECONDS]
#
# Needs build-i386/ (scripts/cross-test.sh i386 configures it) and
# qemu-user. SECONDS (default 1) of audio per class: a second of 24/192
# takes about a minute.
set -euo pipefail

source "$(dirname "$0")/common.sh"
source "$top/scripts/bench-build.sh"

seconds=${1:-1}
i386=$(build_dir i386)
[ -f "$i386/build.ninja" ] || { echo "no $i386: run scripts/cross-test.sh i386 first" >&2; exit 1; }
command -v qemu-i386 >/dev/null || { echo "needs qemu-i386 (Debian package qemu-user)" >&2; exit 1; }
ninja -C "$i386" -j2 lirva-play lirva_dsp_sim >/dev/null
bench_build "$(build_dir bench)" gen-tone
play=$i386/tools/lirva-play/lirva-play
sim=$i386/simhost/dsp/liblirva_dsp_sim.so
gen=$(build_dir bench)/bench/engine/gen-tone

work=$(mktemp -d /tmp/lirva-qemu-count-XXXXXX)
trap 'rm -rf "$work"' EXIT

# "total conversion" instructions of one play of $1 on a device of rates $2.
count() {
    qemu-i386 -d in_asm,exec,nochain -D /dev/stdout -E LD_PRELOAD="$sim" -E LIRVA_DSP_SPEED=0 \
        -E LIRVA_DSP_RATES="$2" "$play" "$1" 2>/dev/null | awk '
        # A translated block: "IN: function", its instructions, a blank line.
        /^IN:/ { inblock = 1; start = ""; n = 0; fn = $2; next }
        inblock && /^0x[0-9a-f]+:/ { if (start == "") start = substr($1, 1, length($1) - 1); n++; next }
        inblock && /^$/ {
            if (start != "") { sub(/^0x0*/, "", start); size[start] = n; own[start] = fn ~ /(OutputChain|Halfband|Polyphase|IntegerResampler|FrameBuffer|mix_|reduce_to_16|reduce_to_pcm16|dither_down|widen_to_rate|widen_planes|store_pcm16|interleave)/ }
            inblock = 0; next
        }
        # An execution: "Trace N: host [.../guest pc/...]".
        /^Trace/ { split($0, a, "/"); pc = a[2]; sub(/^0*/, "", pc); total += size[pc]; if (own[pc]) chain += size[pc] }
        END { printf "%.0f %.0f\n", total, chain }'
}

tone() {  # rate bits channels seconds -> file
    local f="$work/$1-$2-$3-$4.flac"
    "$gen" "$4" "$1" "$2" "$3" |
        flac -s --force-raw-format --endian=big --sign=signed --channels="$3" --bps="$2" --sample-rate="$1" -o "$f" -
    echo "$f"
}

read -r base _ < <(count "$(tone 44100 16 2 0)" "")
printf "%-16s %-6s %11s %11s %11s %8s\n" class device "total Mi/s" "chain Mi/s" "rest Mi/s" "chain %"
# Each stream class of scripts/bench-classes.txt: name, rate, bits, channels.
while read -r name rate bits channels; do
    f=$(tone "$rate" "$bits" "$channels" "$seconds")
    for device in own 48k 44.1k; do
        case "$device" in own) rates="" ;; 48k) rates=48000 ;; 44.1k) rates=44100 ;; esac
        read -r total chain < <(count "$f" "$rates")
        awk -v n="$name" -v b="$device" -v t="$((total - base))" -v c="$chain" -v s="$seconds" \
            'BEGIN { printf "%-16s %-6s %11.1f %11.1f %11.1f %7.1f%%\n", n, b, t / s / 1e6, c / s / 1e6, (t - c) / s / 1e6, 100 * c / t }'
    done
done <"$top/scripts/bench-classes.txt"
