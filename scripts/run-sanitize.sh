# ./run sanitize: the whole test suite under ASan+UBSan (build/asan), then
# under TSan (build/tsan) everything but the Qt screens: the curl client, the
# facade, concurrent queries, the files under stress and the rest, which take
# seconds. Qt stays out of the TSan build: its libraries are not built with
# TSan and would only add reports from inside Qt. The test presets hold each
# run's sanitizer options and leave the packaging checks out.

cmd_sanitize() {
    cmd_setup
    local preset
    for preset in asan tsan; do
        configure_preset "$preset" "$ROOT/build/$preset"
        cmake --build "$ROOT/build/$preset" -j "$JOBS"
        run_tests "$preset"
    done
}
