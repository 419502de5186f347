#!/usr/bin/env bash
# The interactive terminal: simhost in tmux as a person uses it, with real
# keys, the simulated device at real-time speed, and the screen read back.
source "$(dirname "$0")/desktop_lib.sh"
need tmux tmux
# Letters and a dash that are not ASCII, in a folder whose name is not ASCII.
folder="$work/Música"
name="Björk – Jóga.flac"
next="Sigur Rós – Ára bátur.flac"
second=$LIRVA_CORPUS_DIR/subset-25-variable-blocksize.flac
mkdir "$folder"
cp "$tune" "$folder/$name"
cp "$second" "$folder/$next"

start_terminal LIRVA_DSP_SPEED=1 "LIRVA_DSP_CAPTURE=$work/capture.raw"
wait_window
wait_screen "Esc exit" "no key help row"

# The arrows move the cursor both ways.
before=$(cursor_row)
keys Down
wait_until cursor_moved "$before" || fail "Down did not move the cursor (hang)"
keys Up
wait_window

# The names show as themselves (the walk finds them), and the file plays
# with its time captions.
walk_to "$folder/$name"
wait_screen 'Elapsed Time : +00:0[1-6]' "no elapsed second"
cursor_on "$name" || fail "the cursor left the file"
grep -Eq 'Total Time : +00:07' <<<"$screen" || fail "no total time"
! grep -q '?' <<<"$screen" || fail "a character shown as '?'"

# "y" pauses and again resumes; "g" skips to the next file of the folder,
# whose name shows while it plays.
grep -q "Björk – Jóga" <<<"$screen" || fail "no name of the playing file"
keys y
wait_screen '44\.1 kHz 16 bit 2 ch > 44\.1 kHz 16 bit 2 ch +\(paused\)' "y did not pause"
resumed() { ! shows '\(paused\)'; }
keys y
wait_until resumed || fail "y did not resume (hang)"
size() { stat -c %s "$1"; }
keys g
wait_screen "Sigur Rós – Ára bátur" "g did not skip to the next file"
# The elapsed time may still show the paused file's second, so the device
# tells: past the frame it was writing at the skip, the next file's frames
# (16384 bytes each) arrive.
skipped_at=$(size "$work/capture.raw")
next_plays() { [ "$(size "$work/capture.raw")" -ge $((skipped_at + 3 * 16384)) ]; }
wait_until next_plays || fail "the next file does not play (hang)"

# "b" stops: the captions and the track lines go and the bar is empty.
stopped() { shows '\.{20,} +0%' && ! grep -q "Time :\|kHz" <<<"$screen"; }
keys b
wait_until stopped || fail "no stop: the bar or the captions stayed (hang)"

# "r" returns to the root: from there the walk by name reaches the test's
# own folder again (nothing of the machine's root is assumed).
at_root() { window_shown && ! grep -qF -- "$name" <<<"$screen"; }
keys r
wait_until at_root || fail "no listing after r (hang)"
walk_to "$work"
grep -qF "|  /Música " <<<"$screen" || fail "the walk from the root did not reach $work"

# Esc leaves: simhost ends well and the terminal is as it was.
keys Escape
wait_exit
[ "$exit_code" = 0 ] || fail "simhost's exit code was $exit_code"
[ -s "$work/stty.before" ] || fail "no terminal settings recorded"
cmp -s "$work/stty.before" "$work/stty.after" || fail "the terminal's settings changed"
[ "$(pane '#{alternate_on}')" = 0 ] || fail "still on the program's screen"
[ "$(pane '#{cursor_flag}')" = 1 ] || fail "the cursor stays hidden"
! grep -q "Lirva 0.0.2" <<<"$screen" || fail "the window is still shown"

# What the device received: the start of the first file's reference
# decode, cut at a frame (4096 samples) by the skip, then the start of the
# second's, cut short by the stop; nothing lost or doubled at the pause.
reference "$tune" >"$work/reference.raw"
reference "$second" >"$work/second.raw"
[ -s "$work/capture.raw" ] || fail "the device received nothing"
differs=$(cmp "$work/capture.raw" "$work/reference.raw" | sed -n 's/.* byte \([0-9]*\),.*/\1/p' || true)
first=$(( (${differs:-1} - 1) / 16384 * 16384 ))
[ "$first" -gt 0 ] && [ "$first" -lt "$(size "$work/reference.raw")" ] || fail "the first file was not skipped ($first bytes)"
tail -c +$((first + 1)) "$work/capture.raw" >"$work/rest.raw"
[ -s "$work/rest.raw" ] && [ "$(size "$work/rest.raw")" -lt "$(size "$work/second.raw")" ] || fail "the second file was not stopped"
cmp -n "$(size "$work/rest.raw")" "$work/rest.raw" "$work/second.raw" || fail "bytes differ from the references"
echo "passed"
