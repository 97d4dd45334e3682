# ./run demo [DEMO ARGS]: builds everything, starts vela-sandbox on a free
# port and runs vela-demo against it with a private caches directory. A
# stand-in "bank app" is registered for a few banks' schemes of both lists in
# a private XDG directory, so choosing one of them really opens an app;
# the others show the "app not found" alert. Without a display the demo
# renders offscreen and writes screenshots to build/demo/.
cmd_demo() {
    cmd_build >/dev/null
    local work="$BUILD/demo-run"
    rm -rf "$work"
    mkdir -p "$work/caches" "$work/data/applications" "$work/config"
    local demo="$BUILD/demo/vela-demo"

    # The stand-in bank app for the first banks of both sandbox lists (QR
    # and subscription); their schemes carry digits, which the opener's
    # lookup through GIO handles where a generic xdg-open would not.
    local schemes=(velabank-q00 velabank-q01 velabank-q02
                   velabank-s00 velabank-s01 velabank-s02)
    {
        echo "[Desktop Entry]"
        echo "Type=Application"
        echo "Name=Vela stand-in bank app"
        echo "Exec=$demo --bank-app %u"
        echo "NoDisplay=true"
        printf 'MimeType='; printf 'x-scheme-handler/%s;' "${schemes[@]}"; echo
    } >"$work/data/applications/vela-bank-app.desktop"
    {
        echo "[Default Applications]"
        printf 'x-scheme-handler/%s=vela-bank-app.desktop\n' "${schemes[@]}"
    } >"$work/config/mimeapps.list"

    "$BUILD/tools/sandbox/vela-sandbox" --port 0 --cert-out "$work/sandbox.pem" --quiet \
        >"$work/sandbox.out" 2>"$work/sandbox.err" &
    VELA_DEMO_SANDBOX=$!
    trap 'kill "$VELA_DEMO_SANDBOX" 2>/dev/null || true' EXIT
    local address=""
    for _ in $(seq 1 100); do
        address=$(sed -n 's/^listening on //p' "$work/sandbox.out" | head -1)
        [ -n "$address" ] && [ -s "$work/sandbox.pem" ] && break
        sleep 0.1
    done
    [ -n "$address" ] || { echo "demo: vela-sandbox did not start" >&2; cat "$work/sandbox.err" >&2; return 1; }
    echo "demo: sandbox on $address (bank apps registered for ${schemes[*]})"

    local args=(--connect-to "$address" --cacert "$work/sandbox.pem" --caches-dir "$work/caches")
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        mkdir -p "$BUILD/demo"
        XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen \
            "$demo" "${args[@]}" --screenshots "$BUILD/demo" "$@"
        case " $* " in
            *" --qr-png "*) ;;
            *) echo "demo: no display, so the selector was rendered offscreen:"
               echo "  $BUILD/demo/selector-light.png, selector-dark.png, selector-search.png"
               local previous="" argument
               for argument in "$@"; do
                   [ "$previous" = "--locale" ] && echo "  and $BUILD/demo/selector-$argument.png"
                   [ "$previous" = "--appearance" ] && echo "  and $BUILD/demo/selector-appearance.png"
                   previous="$argument"
               done ;;
        esac
    else
        XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" "$demo" "${args[@]}" "$@"
    fi
}
