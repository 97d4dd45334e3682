# ./run sanitize: the whole test suite under ASan+UBSan (build/asan), then
# under TSan (build/tsan) everything but the Qt screens: the curl client, the
# facade, concurrent queries, the files under stress and the rest, which take
# seconds. Qt stays out of the TSan build: its libraries are not built with
# TSan and would only add reports from inside Qt. The packaging checks are left
# out: sanitizer runtimes add symbols of their own to every library.

cmd_sanitize() {
    cmd_setup
    local asan="${VELA_ASAN_DIR:-$ROOT/build/asan}" tsan="${VELA_TSAN_DIR:-$ROOT/build/tsan}"
    configure_preset asan "$asan"
    cmake --build "$asan" -j "$JOBS"
    (cd "$asan" && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 LSAN_OPTIONS="suppressions=$ROOT/fuzz/lsan.supp" \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --output-on-failure -j "$JOBS" --timeout 300 -E packaging)

    configure_preset tsan "$tsan"
    cmake --build "$tsan" -j "$JOBS"
    (cd "$tsan" && TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$ROOT/fuzz/tsan.supp" \
        ctest --output-on-failure -j "$JOBS" --timeout 300 -E packaging)
}
