#!/usr/bin/env bash
# Configures and builds one flavour: plain (build/), asan (build-asan/,
# AddressSanitizer + UndefinedBehaviorSanitizer) or tsan (build-tsan/).
# Usage: scripts/build.sh [plain|asan|tsan] [ninja targets...]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
flavour=${1:-plain}
shift || true

case "$flavour" in
  plain) dir=build; sanitize="" ;;
  asan)  dir=build-asan; sanitize="address,undefined" ;;
  tsan)  dir=build-tsan; sanitize="thread" ;;
  *) echo "unknown flavour: $flavour (plain, asan or tsan)" >&2; exit 2 ;;
esac

cmake -S "$top" -B "$top/$dir" -G Ninja -DLIRVA_SANITIZE="$sanitize" >/dev/null
ninja -C "$top/$dir" "$@"
