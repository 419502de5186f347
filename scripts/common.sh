# Sourced by the scripts: the repository's top, the build folder of each
# flavour, and the FLAC corpus.
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The FLAC files the tests play; LIRVA_CORPUS_DIR overrides the default.
corpus_dir=${LIRVA_CORPUS_DIR:-$top/../shared/flac-corpus}

# build_dir FLAVOUR: the folder a flavour builds in. plain is build/; every
# other (asan, tsan, i386, powerpc, s390x, fuzz, bench, ...) build-FLAVOUR/.
build_dir() {
  case "$1" in
    plain) echo "$top/build" ;;
    *) echo "$top/build-$1" ;;
  esac
}

# corpus_or_skip: true when the corpus is there; otherwise says what the
# caller skips and is false.
corpus_or_skip() {
  [ -f "$corpus_dir/MANIFEST.tsv" ] && return 0
  echo "skipped: no FLAC corpus at $corpus_dir (set LIRVA_CORPUS_DIR)" >&2
  return 1
}

# as_root COMMAND...: runs it as root (through sudo for another user).
as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# apt_get ARGS...: apt-get as root, asking nothing, waiting up to ten
# minutes for another installation's lock.
apt_get() { as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 "$@"; }

# libspeexdsp as the box runs it: fixed point, no floating-point entry
# points, no PC vector units.
speexdsp_box_options=(--enable-fixed-point --disable-float-api --disable-neon --disable-sse --disable-examples)
