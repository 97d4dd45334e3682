# ./run bench [BENCHMARK ARGS]: builds the benchmarks optimised (build/bench-tree),
# runs them and prints the summary table; the table is also written to
# build/bench/summary.json.
cmd_bench() {
    cmd_setup
    local dir="${VELA_BENCH_BUILD_DIR:-$ROOT/build/bench-tree}"
    configure_preset bench "$dir"
    cmake --build "$dir" -j "$JOBS" --target vela_bench
    mkdir -p "$BUILD/bench"
    (cd "$BUILD/bench" && "$dir/bench/vela_bench" --summary "$BUILD/bench/summary.json" "$@")
}
