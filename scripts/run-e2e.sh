# ./run e2e [DRIVER ARGS]: what a shopper does, on a real X server. Builds
# everything, installs the kit into build/e2e/prefix and builds the example
# hosts (Qt Quick, Qt Widgets, pure QML) against it, then tests/e2e/driver.py
# starts Xvfb, openbox, a session bus with AT-SPI and the sandbox, and drives
# the demo and the hosts with real keystrokes and clicks; then a Wayland leg
# (tests/e2e/wayland.py: headless sway, wtype, grim). Screenshots of failed
# steps go to build/e2e/; the last line is "N passed, N failed". `--only NAME`
# runs the steps whose name contains NAME.
cmd_e2e() {
    cmd_build >/dev/null
    local out="$BUILD/e2e"
    mkdir -p "$out"
    cmake --install "$BUILD" --prefix "$out/prefix" >/dev/null
    local example
    for example in qt-host widgets qml-only; do
        if [ ! -f "$out/$example/build.ninja" ]; then
            cmake -S "$ROOT/examples/$example" -B "$out/$example" -G Ninja \
                -DCMAKE_PREFIX_PATH="$out/prefix" >/dev/null
        fi
        cmake --build "$out/$example" -j "$JOBS" >/dev/null
    done
    # The system's Python: python3-pyatspi is installed for it, not for any other.
    /usr/bin/python3 "$ROOT/tests/e2e/driver.py" --build "$BUILD" --out "$out" \
        --qt-host "$out/qt-host/qt-host" --widgets-host "$out/widgets/widgets-host" \
        --qml-host "$out/qml-only/qml-host" --sandbox-data "$ROOT/tools/sandbox/data" "$@"
}
