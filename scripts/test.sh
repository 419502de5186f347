#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite of one flavour.
# Usage: scripts/test.sh [plain|asan|tsan]
set -euo pipefail
source "$(dirname "$0")/common.sh"
flavour=${1:-plain}

"$top/scripts/setup.sh"
"$top/scripts/build.sh" "$flavour"
ctest --test-dir "$(build_dir "$flavour")" --output-on-failure -j2
