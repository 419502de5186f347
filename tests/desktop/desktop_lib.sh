# Sourced by the desktop tests: the tools they need, waits with one bound
# that only catches a hang, the reference decode, and simhost with the real
# plug-in in a real terminal (a tmux server of the test's own: its own
# socket, no user configuration, a UTF-8 locale), driven with send-keys and
# read back with capture-pane.
# From ctest: SIMHOST, LIRVA_PLUGIN, LIRVA_PLAY, LIRVA_SYSTEM_LIBDIR and
# LIRVA_CORPUS_DIR in the environment.
set -euo pipefail
hang_bound=60  # seconds: long enough for a loaded machine, so reaching it is a hang
screen=""
tune=$LIRVA_CORPUS_DIR/subset-01-blocksize-4096.flac

fail() {
  echo "FAIL: $*" >&2
  [ -z "$screen" ] || printf 'last screen:\n%s\n' "$screen" >&2
  exit 1
}

# need PROGRAM-OR-FILE PACKAGE: skips the test when it is missing (exit 77),
# or fails it where the tools are required (LIRVA_REQUIRE_DESKTOP_TOOLS=1, CI).
need() {
  command -v "$1" >/dev/null 2>&1 || [ -e "$1" ] && return 0
  [ "${LIRVA_REQUIRE_DESKTOP_TOOLS:-}" != 1 ] || fail "needs $1 (Debian package $2)"
  echo "skipped: needs $1 (Debian package $2)"
  exit 77
}
[ -f "$LIRVA_CORPUS_DIR/MANIFEST.tsv" ] || { echo "skipped: no FLAC corpus at $LIRVA_CORPUS_DIR"; exit 77; }

# A work folder of the test's own, removed at the end with the terminal.
work=$(mktemp -d "${TMPDIR:-/tmp}/lirva-desktop.XXXXXX")
socket=lirva-test-$$
trap 'tmux -L "$socket" kill-server 2>/dev/null || true; rm -rf "$work"' EXIT

# wait_until COMMAND...: runs it every 50 ms until it succeeds; false on a hang.
wait_until() {
  local end=$((SECONDS + hang_bound))
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.05
  done
}

reference() { flac -d -c -s --force-raw-format --endian=big --sign=signed "$1"; }

# start_terminal ENV...: simhost in a 100x36 terminal, from $work, with the
# variables ENV (NAME=value words). The shell stays after simhost, so the
# terminal's state is the one simhost left; `stty -a` is kept from before and
# after, and simhost's exit code in $work/status.
start_terminal() {
  local command="cd $(printf %q "$work") && stty -a > stty.before; env $(printf '%q ' "$@") $(printf %q "$SIMHOST")"
  command+=" $(printf %q "$LIRVA_PLUGIN"); echo \$? > status.new; stty -a > stty.after; mv status.new status;"
  command+=" exec sleep 3600"
  TERM=xterm-256color tmux -u -f /dev/null -L "$socket" start-server \; set-option -g remain-on-exit on \; \
    new-session -d -x 100 -y 36 -e LANG=C.UTF-8 -e LC_ALL=C.UTF-8 "$command" || fail "tmux did not start"
}

keys() { tmux -u -L "$socket" send-keys -t 0 "$@"; }
pane() { tmux -u -L "$socket" display-message -p -t 0 "$1"; }

# shows REGEX: the screen, read now, matches the extended regular expression.
shows() {
  screen=$(tmux -u -L "$socket" capture-pane -p -t 0)
  grep -Eq -- "$1" <<<"$screen"
}
wait_screen() { wait_until shows "$1" || fail "${2:-the screen never showed $1} (hang)"; }

# The cursor's row in the list: the text after "|> " to the line's end.
cursor_row() { sed -n 's/.*|> //p' <<<"$screen" | head -n 1; }
# cursor_on ENTRY: the cursor is on ENTRY (the whole name, not a longer one).
cursor_on() {
  local row
  row=$(cursor_row)
  [[ "$row" == "$1" || "$row" == "$1 "* || "$row" == "$1|"* ]]
}
# cursor_moved ROW: the cursor shows on another row than ROW (a screen read
# between two rows of one repaint may show it on none).
cursor_moved() {
  local row
  shows . && row=$(cursor_row) && [ -n "$row" ] && [ "$row" != "$1" ]
}
window_shown() { shows 'Lirva 0\.0\.2' && cursor_on ..; }
wait_window() { wait_until window_shown || fail "no window with the cursor on \"..\" (hang)"; }

# walk_to PATH: from the root listing along the absolute PATH with Down and
# Enter, finding each entry by its name; a file at the end is played.
walk_to() {
  local dir="" part entry before presses parts
  IFS=/ read -ra parts <<<"${1#/}"
  for part in "${parts[@]}"; do
    entry=$part
    [ -d "$dir/$part" ] && entry=/$part
    # Down one row at a time: other programs' files may come and go in a
    # folder such as /tmp meanwhile.
    for ((presses = 0; ; presses++)); do
      cursor_on "$entry" && break
      [ "$presses" -lt 10000 ] || fail "$entry is not listed"
      before=$(cursor_row)
      keys Down
      wait_until cursor_moved "$before" || fail "the cursor did not move (hang)"
    done
    keys Enter
    dir+=/$part
    [ ! -d "$dir" ] || wait_window
  done
}

# Waits for simhost's end; its exit code in $exit_code, its last screen read.
wait_exit() {
  wait_until test -f "$work/status" || fail "simhost did not end (hang)"
  exit_code=$(cat "$work/status")
  shows . || true
}
