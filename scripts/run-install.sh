# ./run install DIR [CMAKE ARGS]: builds and installs the libraries, headers,
# the CMake package and the pkg-config files under DIR. Extra arguments go to
# the configure step of a build tree of its own, e.g. -DBUILD_SHARED_LIBS=ON.
cmd_install() {
    [ $# -ge 1 ] || { echo "usage: ./run install DIR [CMAKE ARGS]" >&2; return 64; }
    local prefix="$1"; shift
    cmd_setup
    local dir="${VELA_INSTALL_BUILD_DIR:-$ROOT/build/install-tree}"
    configure "$dir" -DVELA_BUILD_TESTS=OFF -DVELA_BUILD_TOOLS=OFF "$@"
    cmake --build "$dir" -j "$JOBS"
    cmake --install "$dir" --prefix "$prefix"
    echo "installed into $prefix: find_package(VelaWidget 1.0 REQUIRED COMPONENTS core curl quick)"
}
