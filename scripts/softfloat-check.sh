#!/usr/bin/env bash
# The box's CPU has no FPU: there, every double-precision operation becomes
# a call into a slow software helper (__adddf3, __muldf3, __floatsidf, ...).
# This compiles every source of plugin/ and engine/ for a 32-bit PowerPC
# without FPU and fails if any object calls such a helper. Single-precision
# helpers (__addsf3, ...) are allowed, except in the device set-up and the
# sample conversion, which use no floating point at all.
# Usage: scripts/softfloat-check.sh
set -euo pipefail
source "$(dirname "$0")/common.sh"
cxx=powerpc-linux-gnu-g++

# The amd64 libFLAC and libsigc++ headers, pkg-config, the cross compiler.
"$top/scripts/setup.sh" g++-powerpc-linux-gnu

# The amd64 headers of libFLAC and libsigc++ serve: they hold no
# architecture-specific code we rely on. -idirafter keeps the cross
# compiler's own C library headers ahead of the amd64 ones.
flags=(-std=c++17 -mcpu=405 -msoft-float -c -D_FILE_OFFSET_BITS=64
       -fno-rtti -I"$top/simhost/sigc" -I"$top/host" -I"$top/plugin" -I"$top/engine"
       $(pkg-config --cflags-only-I sigc++-3.0) -idirafter /usr/include)

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failed=0
count=0
integer_only=(audio_device output_chain channel_mix sample_width integer_resampler halfband_decimator
              polyphase_resampler filter_tables rate_converter pcm16_bytes pcm16_interleave)
# Unoptimised code keeps every expression as written; optimised code is
# what ships. Both must be free of double precision.
for opt in -O0 -O2; do
  for src in "$top"/plugin/*.cpp "$top"/engine/*.cpp; do
    obj="$out/$(basename "$src" .cpp)$opt.o"
    "$cxx" "${flags[@]}" "$opt" "$src" -o "$obj"
    count=$((count + 1))
    # Double-precision helpers all have "df" in their name: __adddf3,
    # __floatsidf, __extendsfdf2, __gtdf2 ...; the single ones have only "sf".
    helpers=$(nm -u "$obj" | awk '{print $NF}' | grep -E '^__[a-z]*df[a-z0-9]*$' || true)
    if [ -n "$helpers" ]; then
      echo "${src#$top/} ($opt) uses double precision:" $helpers
      failed=1
    fi
    # The device set-up and the conversion, which run for every sample,
    # use no floating point at all, single precision included.
    if [[ " ${integer_only[*]} " == *" $(basename "$src" .cpp) "* ]]; then
      helpers=$(nm -u "$obj" | awk '{print $NF}' | grep -E '^__[a-z]*[sd]f[a-z0-9]*$' || true)
      if [ -n "$helpers" ]; then
        echo "${src#$top/} ($opt) uses floating point:" $helpers
        failed=1
      fi
    fi
  done
done

if [ "$failed" -ne 0 ]; then
  echo "soft-float check FAILED: no double-precision arithmetic in plugin/ and engine/"
  exit 1
fi
echo "soft-float check passed: $count objects, no double-precision helpers"

# libspeexdsp's resampler. Floating-point helpers (any __*sf*/__*df* and the
# C library's math) by calling function, from the relocations of its calls.
libdir=$("$top/scripts/build-speexdsp.sh" --static powerpc-linux-gnu "$top/build-softfloat/speexdsp" \
         -mcpu=405 -msoft-float)
powerpc-linux-gnu-ar p "$libdir/.libs/libspeexdsp.a" resample.o >"$out/resample.o"
callers=$(powerpc-linux-gnu-objdump -dr "$out/resample.o" | awk '
  /^[0-9a-f]+ <[^>]+>:$/ { fn = $2; gsub(/[<>:]/, "", fn) }
  /R_PPC_(PLT)?REL24/ {
    s = $NF; sub(/\+.*/, "", s)
    if ((s ~ /^__[a-z]*(df|sf)[a-z0-9]*$/ || s ~ /^(sin|cos|exp|floor|sqrt|pow|atan)f?$/) && !((fn, s) in seen)) {
      seen[fn, s] = 1; calls[fn] = calls[fn] " " s
    }
  }
  END { for (f in calls) print f ":" calls[f] }' | sort)
echo "libspeexdsp (fixed point, -msoft-float) resampler, floating point by function:"
sed 's/^/  /' <<<"$callers"
# The functions that run per sample (through the integer interface): the
# filter kernels, the processing loops and the start-up of a stream.
per_sample=$(grep -E '^(resampler_basic_[a-z_]*|speex_resampler_process_(native|int|interleaved_int)|speex_resampler_magic):' \
             <<<"$callers" || true)
if [ -n "$per_sample" ]; then
  echo "soft-float check FAILED: libspeexdsp's per-sample paths use floating point:"
  echo "$per_sample"
  exit 1
fi
echo "libspeexdsp check passed: floating point only in the filter's set-up (and its unused float entry point)"
