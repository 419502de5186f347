#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite of one flavour.
# Usage: scripts/test.sh [plain|asan|tsan]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
flavour=${1:-plain}

"$top/scripts/setup.sh"
"$top/scripts/build.sh" "$flavour"
case "$flavour" in
  plain) dir=build ;;
  *) dir=build-$flavour ;;
esac
ctest --test-dir "$top/$dir" --output-on-failure -j2
