#!/usr/bin/env bash
# Runs a built flavour's suite again and again while other processes keep
# every core busy: a test that waits for time instead of the event it needs
# fails here sooner or later. Builds the flavour first.
# Usage: scripts/stress-test.sh [plain|asan|tsan] [runs] [busy loops]
#   defaults: plain, 20 runs, 2 busy loops; ctest runs 4 tests at once.
set -euo pipefail
source "$(dirname "$0")/common.sh"
flavour=${1:-plain}
runs=${2:-20}
loops=${3:-2}

"$top/scripts/build.sh" "$flavour" >/dev/null
busy=()
for _ in $(seq "$loops"); do
  (while :; do :; done) &
  busy+=($!)
done
trap 'kill "${busy[@]}" 2>/dev/null' EXIT

failed=0
for run in $(seq "$runs"); do
  start=$(date +%s)
  if ctest --test-dir "$(build_dir "$flavour")" -j4 --output-on-failure >"$(build_dir "$flavour")/stress-$run.log" 2>&1; then
    result=passed
  else
    result=FAILED
    failed=$((failed + 1))
    grep -E '^\s*[0-9]+ - .*\(Failed|Timeout\)' "$(build_dir "$flavour")/stress-$run.log" || true
  fi
  echo "run $run/$runs: $result ($(($(date +%s) - start)) s)"
done
echo "$flavour: $((runs - failed)) of $runs runs passed with $loops busy loops"
[ "$failed" -eq 0 ]
