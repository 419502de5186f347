#!/usr/bin/env bash
# The plug-in as the host sees it: exports plugin_exec and nothing else,
# finds its libraries in the host's plug-in folder, names no library for the
# toolkit or the signal library (both come from the host), imports no
# run-time type information (a host built without it has none to give), and
# of the toolkit imports only members the box's toolkit is documented to
# have: GIVEN, the compiled transcription of that documentation
# (given_toolkit.cpp), whose definitions are the mangled names allowed.
# Usage: check_shared_object.sh lirva.so GIVEN_TOOLKIT_LIBRARY
set -euo pipefail
so=$1
given=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

exported=$(nm -D --defined-only "$so" | awk '{print $3}')
[ "$exported" = "plugin_exec" ] || fail "exports: $(echo $exported)"

readelf -d "$so" | grep -E '\((RUNPATH|RPATH)\)' | grep -q '\[/var/ombrix/plugins\]' \
  || fail "run-time search path is not /var/ombrix/plugins"

needed=$(readelf -d "$so" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
# The box's libraries, the loader (thread-local storage) and the sanitizers.
unexpected=$(echo "$needed" | grep -vE '^(libFLAC|libspeexdsp|libstdc\+\+|libgcc_s|libc|libm|ld-linux[^.]*|ld|ld64|libasan|libubsan|libtsan)\.so\.' || true)
[ -z "$unexpected" ] || fail "unexpected dependencies: $(echo $unexpected)"

undefined=$(nm -D --undefined-only "$so" | sed -n 's/^ *U //p' | sed 's/@.*//' | LC_ALL=C sort -u)
typeinfo=$(grep -E '^_ZT[IS]|^_ZTVN10__cxxabiv1' <<<"$undefined" || true)
[ -z "$typeinfo" ] || fail "imports run-time type information: $(c++filt <<<"$typeinfo" | tr '\n' ';')"

# A toolkit symbol names one of its e-classes.
toolkit=$(paste <(echo "$undefined") <(c++filt <<<"$undefined") \
  | awk -F'\t' '$2 ~ /^((vtable|VTT|construction vtable) for )?e[A-Z][A-Za-z]*(<[^>]*>)?(::|$)/ {print $1}')
[ -n "$toolkit" ] || fail "toolkit symbols are not left to the host"
allowed=$(nm --defined-only "$given" | awk '$2 ~ /^[TW]$/ {print $3}' | LC_ALL=C sort -u)
[ -n "$allowed" ] || fail "$given defines nothing"
outside=$(LC_ALL=C comm -23 <(echo "$toolkit") <(echo "$allowed"))
[ -z "$outside" ] || fail "imports toolkit members the box's toolkit is not documented to have:
$(c++filt <<<"$outside")"
echo "$(basename "$so"): exports plugin_exec only, runpath /var/ombrix/plugins, deps: $(echo $needed)," \
  "no type information, $(echo "$toolkit" | wc -l) toolkit imports, all documented"
