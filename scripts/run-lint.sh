# ./run lint: clang-tidy (checks in .clang-tidy) and cppcheck over src/, the
# Qt platform and the screens included, using the compile commands of a build
# of the libraries (build/lint). Clean means no
# findings; a finding that is wrong for this code is silenced where it occurs
# with a NOLINT that gives the reason.
cmd_lint() {
    cmd_setup
    local dir="${VELA_LINT_DIR:-$ROOT/build/lint}"
    configure "$dir" -DVELA_BUILD_TESTS=OFF -DVELA_BUILD_TOOLS=OFF
    # Generated sources (moc, type registrations) must exist for the compile
    # commands to be usable.
    cmake --build "$dir" -j "$JOBS"
    local sources
    mapfile -t sources < <(cd "$ROOT" && find src -name '*.cpp' | sort)
    local status=0
    local tidy
    tidy="$(command -v clang-tidy-14 || command -v clang-tidy)"
    (cd "$ROOT" && printf '%s\n' "${sources[@]}" | xargs -P "$JOBS" -n 4 "$tidy" -p "$dir" --quiet) \
        >"$dir/clang-tidy.log" 2>&1 || status=1
    if grep -E "warning:|error:" "$dir/clang-tidy.log"; then status=1; fi
    (cd "$ROOT" && cppcheck --quiet --std=c++20 --language=c++ --enable=warning,performance,portability \
        --inline-suppr --error-exitcode=1 --suppress=missingIncludeSystem --library=qt --library=scripts/cppcheck-qml.cfg \
        -I include -I "$dir/include" -I src "${sources[@]}") || status=1
    if [ $status -eq 0 ]; then echo "lint: clean"; else echo "lint: findings above" >&2; fi
    return $status
}
