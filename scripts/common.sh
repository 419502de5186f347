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
