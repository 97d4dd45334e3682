# ./run qmllint: qmllint over the QML module's views with the module's own
# type information (the build's qmllint target for the module); clean means
# no warnings.
cmd_qmllint() {
    cmd_build >/dev/null
    local log="$BUILD/qmllint.log"
    cmake --build "$BUILD" --target velawidget_quick_qmllint >"$log" 2>&1 || { cat "$log" >&2; return 1; }
    if grep -E "^(Warning|Error|Info)" "$log"; then
        echo "qmllint: findings above" >&2
        return 1
    fi
    echo "qmllint: clean"
}
