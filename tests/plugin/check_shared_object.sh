#!/usr/bin/env bash
# The plug-in as the host sees it: exports plugin_exec and nothing else,
# finds its libraries in the host's plug-in folder, needs no toolkit
# library (the toolkit comes from the host executable), and imports of the
# toolkit nothing beyond the allow-list: a symbol the box's application does
# not have would end it at the plug-in's first use.
# Usage: check_shared_object.sh lirva.so [toolkit_imports.txt (default: the one beside this script)]
set -euo pipefail
so=$1
allowed=${2:-$(dirname "$0")/toolkit_imports.txt}
fail() { echo "FAIL: $*" >&2; exit 1; }

exported=$(nm -D --defined-only "$so" | awk '{print $3}')
[ "$exported" = "plugin_exec" ] || fail "exports: $(echo $exported)"

readelf -d "$so" | grep -E '\((RUNPATH|RPATH)\)' | grep -q '\[/var/ombrix/plugins\]' \
  || fail "run-time search path is not /var/ombrix/plugins"

needed=$(readelf -d "$so" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
# The box's libraries, the loader (thread-local storage) and the sanitizers.
unexpected=$(echo "$needed" | grep -vE '^(libsigc-3\.0|libFLAC|libspeexdsp|libstdc\+\+|libgcc_s|libc|libm|ld-linux[^.]*|ld|ld64|libasan|libubsan|libtsan)\.so\.' || true)
[ -z "$unexpected" ] || fail "unexpected dependencies: $(echo $unexpected)"

# The toolkit's classes are used, and left for the host to supply: only
# those of the allow-list. A toolkit symbol names one of its e-classes.
imports=$(nm -D --undefined-only -C "$so" | sed -n 's/^ *U //p' | sed 's/@.*//' \
  | grep -E '^((typeinfo|vtable|VTT|typeinfo name) for )?e[A-Z][A-Za-z]*(<[^>]*>)?(::|$)' | LC_ALL=C sort -u)
[ -n "$imports" ] || fail "toolkit symbols are not left to the host"
outside=$(LC_ALL=C comm -23 <(echo "$imports") <(grep -v '^#' "$allowed" | LC_ALL=C sort -u))
[ -z "$outside" ] || fail "imports toolkit symbols outside the interface:
$outside"
echo "lirva.so: exports plugin_exec only, runpath /var/ombrix/plugins, deps: $(echo $needed)," \
  "$(echo "$imports" | wc -l) toolkit imports, all allowed"
