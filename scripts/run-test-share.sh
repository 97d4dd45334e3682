# ./run test_share: the tests' share of the code, counted one way: non-blank
# lines of the C++, QML, Python and shell files git tracks under tests/,
# against those under src/, include/, tools/ and demo/.
cmd_test_share() {
    count() {
        git -C "$ROOT" ls-files -- "$@" | grep -E '\.(cpp|h|qml|py|sh)$' |
            (cd "$ROOT" && xargs cat) | grep -cv '^[[:space:]]*$'
    }
    local tests code
    tests=$(count tests)
    code=$(count src include tools demo)
    echo "tests: $tests lines, code: $code lines, share: $((100 * tests / code))%"
}
