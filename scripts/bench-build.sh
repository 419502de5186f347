# Sourced by the measurement scripts: configures BUILD_DIR for benchmarks
# when it is not yet, and builds the given targets (quick when up to date).
#   bench_build BUILD_DIR TARGET...
bench_build() {
    local top build=$1
    shift
    top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    [ -f "$build/build.ninja" ] ||
        cmake -S "$top" -B "$build" -G Ninja -DLIRVA_BUILD_BENCH=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    ninja -C "$build" -j2 "$@" >/dev/null
}
