#!/usr/bin/env bash
# The plug-in as the host sees it: exports plugin_exec and nothing else,
# finds its libraries in the host's plug-in folder, and needs no toolkit
# library (the toolkit comes from the host executable).
set -euo pipefail
so=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

exported=$(nm -D --defined-only "$so" | awk '{print $3}')
[ "$exported" = "plugin_exec" ] || fail "exports: $(echo $exported)"

readelf -d "$so" | grep -E '\((RUNPATH|RPATH)\)' | grep -q '\[/var/ombrix/plugins\]' \
  || fail "run-time search path is not /var/ombrix/plugins"

needed=$(readelf -d "$so" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
for lib in $needed; do
  case "$lib" in
    libsigc-3.0.so.*|libFLAC.so.*|libstdc++.so.*|libgcc_s.so.*|libc.so.*|libm.so.*) ;;
    ld-linux*.so.*|ld.so.*|ld64.so.*) ;;   # thread-local storage
    libasan.so.*|libubsan.so.*|libtsan.so.*) ;;
    *) fail "unexpected dependency $lib" ;;
  esac
done

# The toolkit's classes are used, and left for the host to supply.
undefined=$(nm -D --undefined-only "$so")
grep -q '_ZN7eWidget' <<<"$undefined" || fail "toolkit symbols are not left to the host"
echo "lirva.so: exports plugin_exec only, runpath /var/ombrix/plugins, deps: $(echo $needed)"
