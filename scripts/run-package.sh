# ./run package: the Debian packages of a shared build (preset "package",
# build/package) into build/packages/, checked with lintian. The packages and
# their contents are named in cmake/VelaWidgetPackaging.cmake.
cmd_package() {
    cmd_setup
    local dir="${VELA_PACKAGE_BUILD_DIR:-$ROOT/build/package}" out="$BUILD/packages"
    configure_preset package "$dir"
    cmake --build "$dir" -j "$JOBS"
    rm -rf "$out" && mkdir -p "$out"
    (cd "$dir" && cpack --config CPackConfig.cmake -B "$out" >"$out/cpack.log") ||
        { cat "$out/cpack.log" >&2; return 1; }
    rm -rf "$out/_CPack_Packages"
    # Errors fail; warnings are printed. Built as root outside a Debian
    # source package, so the tags about those are beside the point here.
    lintian --fail-on error --allow-root --suppress-tags \
        no-manual-page,initial-upload-closes-no-bugs,debian-changelog-line-too-short \
        "$out"/*.deb
    for deb in "$out"/*.deb; do echo "package: $(basename "$deb")"; done
}
