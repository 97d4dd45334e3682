# ./run bench [BENCHMARK ARGS]: builds the benchmarks optimised (build/bench-tree),
# runs them and prints the summary table; the table is also written to
# build/bench/summary.json. Then the selector's first frame on a real display
# (bench/first_frame.py: Xvfb, openbox and the sandbox, fresh processes),
# written to build/bench/first-frame.json; VELA_FIRST_FRAME_RUNS launches of
# each case (default 9), 0 to leave it out.
cmd_bench() {
    cmd_setup
    local dir="$ROOT/build/bench-tree"
    local runs="${VELA_FIRST_FRAME_RUNS:-9}"
    configure_preset bench "$dir"
    cmake --build "$dir" -j "$JOBS" --target vela_bench
    mkdir -p "$BUILD/bench"
    (cd "$BUILD/bench" && "$dir/bench/vela_bench" --summary "$BUILD/bench/summary.json" "$@")
    [ "$runs" -gt 0 ] || return 0
    cmake --build "$dir" -j "$JOBS" --target vela-first-frame-kit vela-first-frame-bare \
        vela-sandbox vela-banks
    /usr/bin/python3 "$ROOT/bench/first_frame.py" --build "$dir" --runs "$runs" \
        --json "$BUILD/bench/first-frame.json"
}
