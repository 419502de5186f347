#!/usr/bin/env bash
# Configures and builds one flavour: plain (build/), asan (build-asan/,
# AddressSanitizer + UndefinedBehaviorSanitizer) or tsan (build-tsan/).
# LIRVA_CORPUS_DIR and LIRVA_WERROR=ON pass on to CMake.
# Usage: scripts/build.sh [plain|asan|tsan] [ninja targets...]
set -euo pipefail
source "$(dirname "$0")/common.sh"
flavour=${1:-plain}
shift || true

case "$flavour" in
  plain) sanitize="" ;;
  asan)  sanitize="address,undefined" ;;
  tsan)  sanitize="thread" ;;
  *) echo "unknown flavour: $flavour (plain, asan or tsan)" >&2; exit 2 ;;
esac

cmake -S "$top" -B "$(build_dir "$flavour")" -G Ninja -DLIRVA_SANITIZE="$sanitize" \
  -DLIRVA_CORPUS_DIR="$corpus_dir" -DLIRVA_WERROR="${LIRVA_WERROR:-OFF}" >/dev/null
ninja -C "$(build_dir "$flavour")" "$@"
