# ./run docs: the API reference from the public headers, into build/docs/html.
cmd_docs() {
    cmd_setup
    mkdir -p "$BUILD/docs"
    (cd "$ROOT" && sed "s|@VERSION@|$(cat VERSION)|; s|@OUTPUT@|$BUILD/docs|" docs/Doxyfile.in |
        doxygen - >"$BUILD/docs/doxygen.log")
    if grep -q "warning:" "$BUILD/docs/doxygen.log"; then
        grep "warning:" "$BUILD/docs/doxygen.log" >&2
    fi
    echo "API reference: $BUILD/docs/html/index.html"
}
