#!/usr/bin/env bash
# The instruction counts of scripts/bench-instructions.sh under qemu, where
# valgrind cannot run the program (a kernel without 32-bit support, or
# another CPU): qemu logs every translated block and each execution of one,
# and the instructions are summed. Columns: the whole play (less the
# start-up, a play of an empty stream); Lirva's conversion code (the
# functions of the output chain's sources: channel mix, rate stages, width
# and byte order; not the C library's copies they call); the rest, mostly
# libFLAC's decoding.
#
#   scripts/bench-instructions-qemu.sh [--cpu=i386|powerpc] [--flac=debian|box] [--decode] [SECONDS]
#
#   --cpu=i386     (default) build-i386/ of scripts/cross-test.sh i386, under
#                  qemu-i386.
#   --cpu=powerpc  build-powerpc/ of scripts/cross-test.sh powerpc, under
#                  qemu-ppc, with the libFLAC of that build's prefix
#                  (scripts/powerpc-libs.sh emulated: the box's configure
#                  options and -O3 -funroll-loops, with the FPU and Ogg).
#   --flac=debian  (default, i386 only) Debian's i386 libFLAC package.
#   --flac=box     (i386 only) libFLAC built as the box's is
#                  (scripts/powerpc-libs.sh box-i386), preloaded in its place.
#   --decode       instead of the plays: libFLAC's decoding alone
#                  (bench/engine/md5_cost.cpp), with the MD5 check on and off.
#
# LIRVA_COUNT_BUILD names another build folder of the same CPU. Needs
# qemu-user and the flac tool. SECONDS (default 1) of audio per class: a
# table of one second per class takes a few minutes (more on a busy machine).
set -euo pipefail

source "$(dirname "$0")/common.sh"
source "$top/scripts/bench-build.sh"

usage() { echo "usage: $0 [--cpu=i386|powerpc] [--flac=debian|box] [--decode] [SECONDS]" >&2; exit 2; }
cpu=i386 flac=debian decode=0 seconds=1
for arg; do
    case "$arg" in
        --cpu=i386 | --cpu=powerpc) cpu=${arg#--cpu=} ;;
        --flac=debian | --flac=box) flac=${arg#--flac=} ;;
        --decode) decode=1 ;;
        [0-9]*) seconds=$arg ;;
        *) usage ;;
    esac
done

build=${LIRVA_COUNT_BUILD:-$(build_dir "$cpu")}
[ -f "$build/build.ninja" ] || { echo "no $build: run scripts/cross-test.sh $cpu first" >&2; exit 1; }
command -v flac >/dev/null || { echo "needs the flac tool (Debian package flac)" >&2; exit 1; }
# The compiler, the emulator and where the libraries come from: the build's
# own root or prefix, so that every program here loads what the build does.
preload=""
if [ "$cpu" = i386 ]; then
    qemu=qemu-i386
    root=$(sed -n 's/^LIRVA_FOREIGN_ROOT:PATH=//p' "$build/CMakeCache.txt")
    libs="$root/lib/i386-linux-gnu:$root/usr/lib/i386-linux-gnu"
    cxx=(i686-linux-gnu-g++ --sysroot="$root" -Wl,--dynamic-linker="$root/lib/ld-linux.so.2")
    # The programs search their own path (an RPATH) before LD_LIBRARY_PATH:
    # the box's libFLAC is preloaded, and stands for Debian's by its name.
    [ "$flac" = debian ] ||
        preload="$("$top/scripts/powerpc-libs.sh" box-i386)/lib/libFLAC.so.12"
else
    [ "$flac" = debian ] || usage  # one libFLAC: the prefix's
    qemu=qemu-ppc
    prefix=$(sed -n 's/^LIRVA_PPC_LIBS:PATH=//p' "$build/CMakeCache.txt")
    libs="$prefix/lib:/usr/powerpc-linux-gnu/lib"
    cxx=(powerpc-linux-gnu-g++ -I"$prefix/include" -L"$prefix/lib" -Wl,-rpath-link,"$prefix/lib"
         -Wl,--dynamic-linker=/usr/powerpc-linux-gnu/lib/ld.so.1)
fi
command -v "$qemu" >/dev/null || { echo "needs $qemu (Debian package qemu-user)" >&2; exit 1; }

ninja -C "$build" -j2 lirva-play lirva_dsp_sim >/dev/null
bench_build "$(build_dir bench)" gen-tone
play=$build/tools/lirva-play/lirva-play
sim=$build/simhost/dsp/liblirva_dsp_sim.so
gen=$(build_dir bench)/bench/engine/gen-tone

work=$(mktemp -d /tmp/lirva-qemu-count-XXXXXX)
trap 'rm -rf "$work"' EXIT

# Lirva's conversion code: the functions that its conversion sources define
# (not the C++ library's templates nor the compiler's helpers they hold), by
# their names in the program's symbol table, which qemu's log gives.
conversion=(channel_mix halfband_decimator integer_resampler output_chain pcm16_bytes pcm16_interleave
            polyphase_resampler rate_converter sample_width)
for source in "${conversion[@]}"; do
    "${cxx[0]%g++}nm" --defined-only "$build/engine/CMakeFiles/lirva_engine.dir/$source.cpp.o"
done | awk '$2 ~ /^[TtWw]$/ && $3 !~ /^(_ZN?K?St|_ZN9__gnu_cxx|__x86)/ { print $3 }' >"$work/conversion"
[ -s "$work/conversion" ] || { echo "no conversion functions in $build/engine" >&2; exit 1; }

# "total conversion" instructions of one run under qemu of ARGS (qemu's
# options, the program and its arguments).
count() {
    "$qemu" -d in_asm,exec,nochain -D /dev/stdout "$@" 2>/dev/null | awk '
        FNR == NR { conversion[$1] = 1; next }
        # A translated block: "IN: function", its instructions, a blank line.
        /^IN:/ { inblock = 1; start = ""; n = 0; fn = $2; next }
        inblock && /^0x[0-9a-f]+:/ { if (start == "") start = substr($1, 1, length($1) - 1); n++; next }
        inblock && /^$/ {
            if (start != "") { sub(/^0x0*/, "", start); size[start] = n; own[start] = (fn in conversion) }
            inblock = 0; next
        }
        # An execution: "Trace N: host [.../guest pc/...]".
        /^Trace/ { split($0, a, "/"); pc = a[2]; sub(/^0*/, "", pc); total += size[pc]; if (own[pc]) chain += size[pc] }
        END { printf "%.0f %.0f\n", total, chain }' "$work/conversion" -
}

# One play of FILE on a device of RATES ("" for every rate).
count_play() {
    count -E LD_PRELOAD="$preload${preload:+ }$sim" -E LIRVA_DSP_SPEED=0 -E LIRVA_DSP_RATES="$2" "$play" "$1"
}

# Decoding alone of FILE with the MD5 check on|off.
count_decode() {
    count ${preload:+-E LD_PRELOAD="$preload"} "$work/md5-cost" "$2" "$1"
}

tone() {  # rate bits channels seconds -> file
    local f="$work/$1-$2-$3-$4.flac"
    "$gen" "$4" "$1" "$2" "$3" |
        flac -s --force-raw-format --endian=big --sign=signed --channels="$3" --bps="$2" --sample-rate="$1" -o "$f" -
    echo "$f"
}

per_second() {  # instructions... -> millions per second of audio
    awk -v s="$seconds" 'BEGIN { for (i = 1; i < ARGC; i++) printf " %11.1f", ARGV[i] / s / 1e6 }' "$@"
}

empty=$(tone 44100 16 2 0)
if [ "$decode" -eq 1 ]; then
    "${cxx[@]}" -O2 -Wl,--disable-new-dtags -Wl,-rpath,"$libs" "$top/bench/engine/md5_cost.cpp" -lFLAC \
        -o "$work/md5-cost"
    read -r base _ < <(count_decode "$empty" off)
    printf "%-16s %11s %11s %11s %8s\n" class "MD5 on" "MD5 off" "MD5 Mi/s" "MD5 %"
else
    read -r base _ < <(count_play "$empty" "")
    printf "%-16s %-6s %11s %11s %11s %8s\n" class device "total Mi/s" "chain Mi/s" "rest Mi/s" "chain %"
fi
# Each stream class of scripts/bench-classes.txt: name, rate, bits, channels.
while read -r name rate bits channels; do
    f=$(tone "$rate" "$bits" "$channels" "$seconds")
    if [ "$decode" -eq 1 ]; then
        read -r on _ < <(count_decode "$f" on)
        read -r off _ < <(count_decode "$f" off)
        printf "%-16s%s %7.1f%%\n" "$name" "$(per_second $((on - base)) $((off - base)) $((on - off)))" \
            "$(awk -v a=$((on - off)) -v b=$((on - base)) 'BEGIN { print 100 * a / b }')"
        continue
    fi
    for device in own 48k 44.1k; do
        case "$device" in own) rates="" ;; 48k) rates=48000 ;; 44.1k) rates=44100 ;; esac
        read -r total chain < <(count_play "$f" "$rates")
        printf "%-16s %-6s%s %7.1f%%\n" "$name" "$device" \
            "$(per_second $((total - base)) "$chain" $((total - base - chain)))" \
            "$(awk -v c="$chain" -v t=$((total - base)) 'BEGIN { print 100 * c / t }')"
    done
done <"$top/scripts/bench-classes.txt"
