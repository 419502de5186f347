#!/usr/bin/env bash
# The unchanged plug-in and lirva-play through the OSS layers of real sound
# systems instead of the simulated device; what reaches the sound system
# must be the reference decode, byte for byte. One file is enough: the
# layers do not look at the samples, and every corpus file reaches the
# simulated device byte-exact in the engine's suite.
# Usage: oss_layer_test.sh alsa-play|alsa-terminal|pulse-play
source "$(dirname "$0")/desktop_lib.sh"
reference "$tune" >"$work/reference.raw"
size=$(stat -c %s "$work/reference.raw")

# first_sound FILE: the 1-based offset of its first byte that is not 0.
first_sound() { { cmp "$1" /dev/zero 2>/dev/null || true; } | sed -n 's/.* byte \([0-9]*\),.*/\1/p'; }
holds_reference() {
  local at
  at=$(first_sound "$1")
  [ -n "$at" ] && at=$((at - $(first_sound "$work/reference.raw"))) && [ "$at" -ge 0 ] &&
    cmp -s -i "$at:0" -n "$size" "$1" "$work/reference.raw"
}

case "$1" in
alsa-*)
  aoss=$LIRVA_SYSTEM_LIBDIR/libaoss.so.0
  need "$aoss" alsa-oss
  # Only this configuration: the default PCM writes what it gets to a file
  # and hands it on to the null PCM, which discards it at once.
  printf 'pcm.!default {\n type file\n slave.pcm "null"\n file "%s"\n format "raw"\n}\npcm.null { type null }\n' \
    "$work/alsa.raw" >"$work/asound.conf"
  layer=("ALSA_CONFIG_PATH=$work/asound.conf" "LD_PRELOAD=$aoss")
  if [ "$1" = alsa-play ]; then
    env "${layer[@]}" "$LIRVA_PLAY" "$tune" || fail "lirva-play failed"
  else
    # No --no-dsp-sim: simhost must see the preloaded layer and leave the
    # simulated device out.
    need tmux tmux
    cp "$tune" "$work/tune.flac"
    start_terminal "${layer[@]}"
    wait_window
    walk_to "$work/tune.flac"
    wait_until eval '[ "$(stat -c %s "$work/alsa.raw" 2>/dev/null || echo 0)" -ge "$size" ]' ||
      fail "ALSA never got the whole play (hang)"
    keys Escape
    wait_exit
    [ "$exit_code" = 0 ] || fail "simhost's exit code was $exit_code"
  fi
  cmp "$work/alsa.raw" "$work/reference.raw" >&2 || fail "ALSA did not get the reference decode"
  ;;
pulse-play)
  need pulseaudio pulseaudio
  need parec pulseaudio-utils
  pulsedsp=$LIRVA_SYSTEM_LIBDIR/pulseaudio/libpulsedsp.so
  need "$pulsedsp" pulseaudio-utils
  # A server of the test's own: its own socket, home and runtime folder, no
  # default configuration, one clocked null sink in the device's format
  # without rewinds (a rewind re-renders samples that the sink's monitor
  # has passed on already, and the recording would miss them).
  mkdir -p "$work/home/.config" "$work/run"
  chmod 700 "$work/run"
  export PULSE_SERVER="unix:$work/socket" HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
    XDG_RUNTIME_DIR="$work/run"
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disable-shm --log-target=stderr \
    --log-level=error -L "module-native-protocol-unix auth-anonymous=1 socket=$work/socket" \
    -L "module-null-sink sink_name=lirva rate=44100 channels=2 format=s16be norewinds=1" &
  server=$!
  trap 'kill $server ${recorder:-} 2>/dev/null; wait; rm -rf "$work"' EXIT
  wait_until eval 'pactl info >/dev/null 2>&1' || fail "the PulseAudio server did not answer (hang)"
  parec -d lirva.monitor --raw --format=s16be --rate=44100 --channels=2 --latency-msec=50 "$work/recording.raw" &
  recorder=$!
  wait_until test -s "$work/recording.raw" || fail "parec recorded nothing (hang)"
  LD_PRELOAD=$pulsedsp "$LIRVA_PLAY" "$tune" || fail "lirva-play failed"
  # The recording is silence, the play, silence: the reference stands in it
  # where their first sounds line up.
  wait_until holds_reference "$work/recording.raw" || fail "the recording never held the reference decode (hang)"
  ;;
*) fail "usage: $0 alsa-play|alsa-terminal|pulse-play" ;;
esac
echo "passed"
