# ./run fuzz [SECONDS [TARGET...]]: every fuzz target (or the ones named) under
# libFuzzer with ASan and UBSan, SECONDS each (default 60). New inputs go to build/fuzz-tree/corpus/<target>; the
# committed corpus in fuzz/corpus is only read. Crashers are left in
# build/fuzz-tree/crashes/<target> to be minimised and committed by hand.
# The fuzzers get no terminal input: started as a background job they would
# otherwise be stopped by job control when they touch the terminal.
FUZZ_TARGETS=(payment_link bank_list last_used bank_link logo svg_sanitizer qr_code host_translation appearance)

# fuzz_findings DIR STATUS: fails when the fuzzer exited with a non-zero STATUS or
# left a crash, leak, timeout or out-of-memory input in DIR; each is named.
fuzz_findings() {
    local dir="$1" status="$2" found=0 file
    for file in "$dir"/crash-* "$dir"/leak-* "$dir"/timeout-* "$dir"/oom-*; do
        [ -e "$file" ] || continue
        echo "fuzz: finding $file" >&2
        found=1
    done
    if [ "$status" -ne 0 ]; then
        echo "fuzz: fuzzer exited with status $status" >&2
        found=1
    fi
    return $found
}

cmd_fuzz() {
    local seconds="${1:-60}"
    [ $# -gt 1 ] && FUZZ_TARGETS=("${@:2}")
    local dir="${VELA_FUZZ_BUILD_DIR:-$ROOT/build/fuzz-tree}"
    cmd_setup
    if [ ! -f "$dir/build.ninja" ]; then
        local cc cxx
        cc=$(clang_tool clang) && cxx=$(clang_tool clang++) || return 1
        CC=$cc CXX=$cxx cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx" \
            -DVELA_FUZZ=ON -DVELA_SANITIZE=address,undefined \
            -DVELA_BUILD_QUICK=OFF -DVELA_BUILD_TOOLS=OFF -DVELA_BUILD_TESTS=ON
    fi
    local targets=()
    for t in "${FUZZ_TARGETS[@]}"; do targets+=("fuzz_$t"); done
    cmake --build "$dir" -j "$JOBS" --target "${targets[@]}"
    local failed=0
    for t in "${FUZZ_TARGETS[@]}"; do
        mkdir -p "$dir/corpus/$t" "$dir/crashes/$t"
        echo "fuzz: $t for ${seconds}s"
        local status=0
        (cd "$dir/crashes/$t" && LSAN_OPTIONS="suppressions=$ROOT/fuzz/lsan.supp" "$dir/fuzz/fuzz_$t" -max_total_time="$seconds" -max_len=4096 \
            -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
            "$dir/corpus/$t" "$ROOT/fuzz/corpus/$t") </dev/null >"$dir/$t.log" 2>&1 || status=$?
        grep -E "^(stat::|==|SUMMARY|.*property failed)" "$dir/$t.log" || true
        if ! fuzz_findings "$dir/crashes/$t" "$status"; then
            echo "fuzz: $t FAILED, inputs in $dir/crashes/$t, log in $dir/$t.log" >&2
            failed=1
        fi
    done
    return $failed
}

# CI: the committed corpus replayed under ASan and UBSan by the plain runners.
cmd_ci_replay() {
    local dir="$ROOT/build/ci-asan"
    cmd_setup
    configure_preset fuzz-replay "$dir"
    local targets=()
    for t in "${FUZZ_TARGETS[@]}"; do targets+=("fuzz_$t"); done
    cmake --build "$dir" -j "$JOBS" --target "${targets[@]}"
    run_tests fuzz-replay
}
