# ./run lint: clang-tidy (checks in .clang-tidy) and cppcheck (checks in
# scripts/cppcheck-checks.txt) over src/, the Qt platform and the screens
# included, using the compile commands of a build of the libraries
# (build/lint). Clean means no findings; a finding that is wrong for this
# code is silenced where it occurs with a NOLINT that gives the reason.
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
    tidy=$(clang_tool clang-tidy) || return 1
    (cd "$ROOT" && printf '%s\n' "${sources[@]}" | xargs -P "$JOBS" -n 4 "$tidy" -p "$dir" --quiet) \
        >"$dir/clang-tidy.log" 2>&1 || status=1
    if grep -E "warning:|error:" "$dir/clang-tidy.log"; then status=1; fi
    # cppcheck has no list of checks to run, only severities; the ids it
    # enforces are listed in scripts/cppcheck-checks.txt. A finding of an id
    # not listed, from a check a newer cppcheck brings, is shown and left to
    # be listed by hand; an error (code it cannot read) always fails.
    (cd "$ROOT" && cppcheck --quiet --std=c++20 --language=c++ --enable=warning,performance,portability \
        --inline-suppr --suppress=missingIncludeSystem --library=qt --library=scripts/cppcheck-qml.cfg \
        --template='{file}:{line}: {severity}: {message} [{id}]' \
        -I include -I "$dir/include" -I src "${sources[@]}") 2>"$dir/cppcheck.log" || status=1
    local finding id
    while IFS= read -r finding; do
        # Notes on the analysis itself (cppcheck 2.17 limits branches).
        [[ $finding == *": information: "* ]] && continue
        id=${finding##*[}
        id=${id%]}
        if grep -qxF "$id" "$ROOT/scripts/cppcheck-checks.txt" || [[ $finding == *": error: "* ]]; then
            echo "$finding"
            status=1
        else
            echo "$finding (not enforced: scripts/cppcheck-checks.txt does not list $id)"
        fi
    done < <(grep -E ' \[[A-Za-z0-9_]+\]$' "$dir/cppcheck.log")
    if [ $status -eq 0 ]; then echo "lint: clean"; else echo "lint: findings above" >&2; fi
    return $status
}
