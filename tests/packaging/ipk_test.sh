#!/usr/bin/env bash
# Makes the box package from a build and checks it.
# Usage: ipk_test.sh BUILD_DIR OUT_DIR CHECK_SHARED_OBJECT_SCRIPT GIVEN_TOOLKIT_LIBRARY
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
ipk=$("$here/../../packaging/make-ipk.sh" "$1" "$2" | tail -n 1)
"$here/check_ipk.sh" "$ipk" "$3" "$4"
