# ./run abi [update]: the public ABI of the shared libraries (preset
# "package", build/package) against the dumps in abi/, made with libabigail.
# Fails on an incompatible change unless the library's SONAME changed with it
# (a new major version in VERSION); then, or after an intended compatible
# change, `./run abi update` writes fresh dumps to commit. The standard
# library's own types are left out of the comparison (abi/stdlib.suppr): they
# change with the compiler, not with the kit.
ABI_LIBRARIES=(src/libvelawidget.so src/platform/curl/libvelawidget_curl.so src/screens/libvelawidget_quick.so)

# The dump holds the public API only: the symbols of the public version node
# (cmake/velawidget.map) but the private halves of the public classes (Impl).
abi_dump() {
    { echo "[velawidget_whitelist]"
      nm -D --defined-only "$1" | awk '$3 ~ /@@VELAWIDGET_1$/ && $3 !~ /4Impl/ {sub(/@@.*/, "", $3); print "  " $3}'
    } >"$2.symbols"
    abidw --kmi-whitelist "$2.symbols" --headers-dir "$ROOT/include" --drop-private-types \
        --no-corpus-path --no-comp-dir-path --no-show-locs --out-file "$2" "$1"
}

cmd_abi() {
    cmd_setup
    local dir="${VELA_PACKAGE_BUILD_DIR:-$ROOT/build/package}" work="$BUILD/abi"
    configure_preset package "$dir"
    cmake --build "$dir" -j "$JOBS" --target velawidget velawidget_curl velawidget_quick
    mkdir -p "$work"
    local status=0 lib soname name baseline fresh
    for lib in "${ABI_LIBRARIES[@]}"; do
        soname=$(objdump -p "$dir/$lib" | awk '$1 == "SONAME" {print $2}')
        name=${soname%.so.*}.so
        fresh="$work/$soname.abi"
        abi_dump "$dir/$lib" "$fresh"
        if [ "${1:-}" = "update" ]; then
            rm -f "$ROOT/abi/$name".*.abi
            cp "$fresh" "$ROOT/abi/$soname.abi"
            echo "abi: abi/$soname.abi written"
            continue
        fi
        baseline=$(ls "$ROOT/abi/$name".*.abi 2>/dev/null | head -1)
        if [ -z "$baseline" ]; then
            echo "abi: no dump of $name in abi/; ./run abi update makes one" >&2
            status=1
            continue
        fi
        if [ "$(basename "$baseline")" != "$soname.abi" ]; then
            echo "abi: $soname is a new major version beside $(basename "$baseline" .abi); ./run abi update records it"
            continue
        fi
        local rc=0
        abidiff --no-added-syms --suppressions "$ROOT/abi/stdlib.suppr" "$baseline" "$fresh" >"$work/$soname.diff" 2>&1 || rc=$?
        # abidiff's status is a bit mask: 1 error, 2 usage, 4 change, 8 incompatible change.
        if (( rc & 3 )); then
            cat "$work/$soname.diff" >&2
            status=1
        elif (( rc & 8 )); then
            cat "$work/$soname.diff" >&2
            echo "abi: $soname changed incompatibly; keep the ABI or raise the major version in VERSION" >&2
            status=1
        elif (( rc & 4 )); then
            cat "$work/$soname.diff"
            echo "abi: $soname changed compatibly; ./run abi update records it"
        else
            echo "abi: $soname as recorded"
        fi
    done
    return $status
}
