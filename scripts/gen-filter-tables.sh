#!/usr/bin/env bash
# Rebuilds engine/filter_tables.cpp, the integer rate converters'
# coefficient tables, from tools/filter-tables/filter_tables_gen.cpp, and
# prints each table's measured passband ripple and stopband level.
#   scripts/gen-filter-tables.sh          write the tables
#   scripts/gen-filter-tables.sh --check  fail when the checked-in tables differ
set -euo pipefail
source "$(dirname "$0")/common.sh"
work=$(mktemp -d /tmp/lirva-tables-XXXXXX)
trap 'rm -rf "$work"' EXIT
"${CXX:-c++}" -std=c++17 -O2 -o "$work/gen" "$top/tools/filter-tables/filter_tables_gen.cpp"
"$work/gen" >"$work/filter_tables.cpp"
if [ "${1:-}" = --check ]; then
    diff -u "$top/engine/filter_tables.cpp" "$work/filter_tables.cpp"
else
    cp "$work/filter_tables.cpp" "$top/engine/filter_tables.cpp"
fi
