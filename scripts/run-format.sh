# ./run format [--fix]: checks that every C++ file the repository tracks is
# formatted as .clang-format says (CI runs this); --fix rewrites them.
cmd_format() {
    cmd_setup >/dev/null
    local files
    mapfile -t files < <(git -C "$ROOT" ls-files '*.cpp' '*.h')
    if [ "${1:-}" = "--fix" ]; then
        (cd "$ROOT" && clang-format -i "${files[@]}")
        return
    fi
    (cd "$ROOT" && clang-format --dry-run -Werror "${files[@]}")
    echo "format: ${#files[@]} files as .clang-format says"
}
