#!/usr/bin/env bash
# Builds the example hosts against an installed VelaWidget, the way a host
# developer would, and checks what the installed libraries export.
#   consumer.sh SOURCE_DIR BUILD_DIR WORK_DIR [SANDBOX_BINARY]
set -euo pipefail
source_dir=$1 build_dir=$2 work=$3 sandbox=${4:-}
rm -rf "$work" && mkdir -p "$work"
jobs=${VELA_JOBS:-2}
link="https://qr.vela.example/VELATESTPAYMENTONEOFF00000000002?sum=100"

fail() { echo "consumer: $*" >&2; exit 1; }

# Every defined global symbol of a library must belong to the kit.
# A static library holds weak copies of every template it instantiates, which
# the host's link folds; only its strong symbols are its own.
check_symbols() {
    local what=$1 types=$2; shift 2
    local foreign
    # Qt's generated registration functions carry the module's name instead.
    # Resource functions are named after the resource, which each Qt release
    # prefixes its own way (velawidget_quick, qmake_VelaWidget,
    # qmlcache_velawidget_quick): any lower-case prefix before the kit's name.
    foreign=$(nm -C "$@" 2>/dev/null | awk -v types="$types" 'NF>=3 && $2 ~ types' | cut -d' ' -f3- |
        grep -v -E 'velawidget::|^QmlCacheGeneratedCode::_0x5f_VelaWidget_|^qml_register_types_VelaWidget\(|^q(Init|Cleanup)Resources_([a-z0-9]+_)*(velawidget|VelaWidget)[A-Za-z0-9_]*\(|^qt_static_plugin_VelaWidgetPlugin|^VelaWidgetPlugin' || true)
    [[ -z $foreign ]] || fail "$what exports symbols outside the kit's namespace:
$foreign"
}

# The definitions the installed CMake package hands a host that links TARGET.
target_definitions() {  # EXPORT-FILE TARGET
    awk -v start="set_target_properties($2 PROPERTIES" '$0 == start {on = 1; next}
        on && /^\)/ {on = 0} on && $1 == "INTERFACE_COMPILE_DEFINITIONS" {print $2}' "$1" |
        tr -d '"' | tr ';' '\n'
}

# A pkg-config file states each field once (pkg-config reads one line of a
# field and drops the others) and hands a host every definition the matching
# CMake target does.
check_pc() {  # PKGCONFIG-DIR NAME EXPORT-FILE TARGET
    local file="$1/$2.pc" repeated cflags definition
    [[ -f $file ]] || fail "no $2.pc in $1"
    repeated=$(grep -o '^[A-Za-z.]*:' "$file" | sort | uniq -d)
    [[ -z $repeated ]] || fail "$2.pc repeats $repeated"
    cflags=" $(PKG_CONFIG_PATH="$1" pkg-config --cflags "$2") " || fail "pkg-config rejects $2"
    for definition in $(target_definitions "$3" "$4"); do
        [[ $cflags == *" -D$definition "* ]] || fail "$2.pc lacks -D$definition of $4"
    done
}

# examples/NAME built with CMake against the static package.
build_example() {
    cmake -S "$source_dir/examples/$1" -B "$work/$1" -G Ninja -DCMAKE_PREFIX_PATH="$work/static" >/dev/null
    cmake --build "$work/$1" -j "$jobs" >/dev/null
}

echo "== static package from $build_dir"
cmake --install "$build_dir" --prefix "$work/static" >/dev/null
for lib in "$work"/static/lib/libvelawidget*.a; do check_symbols "$lib" '^[TDBRC]$' --defined-only -g "$lib"; done
pc_static="$work/static/lib/pkgconfig"
cmake_static="$work/static/lib/cmake/VelaWidget"
check_pc "$pc_static" velawidget "$cmake_static/VelaWidgetCoreTargets.cmake" VelaWidget::velawidget
check_pc "$pc_static" velawidget-curl "$cmake_static/VelaWidgetcurlTargets.cmake" VelaWidget::curl
quick=$([[ -f $cmake_static/VelaWidgetquickTargets.cmake ]] && echo yes || true)

echo "== console (CMake) and examples/pkg-config (make, static .pc) against the package"
build_example console
version=$(tr -d '[:space:]' <"$source_dir/VERSION")
mkdir -p "$work/make-static"
PKG_CONFIG_PATH="$pc_static" make -s -C "$work/make-static" \
    -f "$source_dir/examples/pkg-config/Makefile" >/dev/null
"$work/make-static/banks" --version | grep -q "^VelaWidget $version, library" ||
    fail "examples/pkg-config does not tell version $version"

if [[ -n $quick ]]; then
    echo "== Qt Quick, Qt Widgets and pure QML examples; a host built with only pkg-config"
    for example in qt-host widgets qml-only; do build_example $example; done
    check_pc "$pc_static" velawidget-quick "$cmake_static/VelaWidgetquickTargets.cmake" VelaWidget::quick
    # shellcheck disable=SC2046
    g++ -std=c++20 "$source_dir/tests/packaging/quick_pkgconfig.cpp" -o "$work/quick-pc" \
        $(PKG_CONFIG_PATH="$pc_static" pkg-config --cflags --libs velawidget-quick)
    XDG_CACHE_HOME="$work/caches" QT_QPA_PLATFORM=offscreen "$work/quick-pc" "$link" >"$work/quick-pc.txt" ||
        fail "the pkg-config Qt Quick host failed"
    grep -qx "selector screen loaded" "$work/quick-pc.txt" || fail "the pkg-config Qt Quick host showed no selector"

    # A host's qmllint run finds the module's description in the static
    # package (without it: "Failed to import").
    printf '%s\n' 'import QtQuick' 'import VelaWidget' \
        'WidgetView { model: SharedSelector.model; onDismissRequested: SharedSelector.colorScheme = "dark" }' \
        >"$work/Host.qml"
    /usr/lib/qt6/bin/qmllint -I "$work/static/lib/velawidget/qml" "$work/Host.qml" ||
        fail "qmllint does not know the installed module"
fi

if [[ -n $sandbox ]]; then
    echo "== the hosts on the sandbox"
    "$sandbox" --port 0 --quiet --cert-out "$work/sandbox.pem" >"$work/sandbox.out" &
    pid=$!
    trap 'kill $pid 2>/dev/null || true' EXIT
    for _ in $(seq 100); do grep -q '^listening on' "$work/sandbox.out" 2>/dev/null && break; sleep 0.1; done
    address=$(sed -n 's/^listening on //p' "$work/sandbox.out" | head -1)
    [[ -n $address ]] || fail "the sandbox did not start"
    for host in "$work/console/console-host" "$work/make-static/banks"; do
        XDG_CACHE_HOME="$work/caches" "$host" "$link" "$address" "$work/sandbox.pem" >"$work/out.txt"
        (($(grep -c VELATESTPAYMENTONEOFF00000000002 "$work/out.txt") > 40)) || fail "$host listed too few banks"
    done
    if [[ -n $quick ]]; then
        XDG_CACHE_HOME="$work/caches" QT_QPA_PLATFORM=offscreen "$work/qt-host/qt-host" "$link" \
            "$address" "$work/sandbox.pem" --present-and-close >"$work/qt-out.txt" || fail "qt-host failed"
        grep -qx "selector: cancelled" "$work/qt-out.txt" || fail "qt-host was not told the selector was cancelled"
    fi
fi

echo "== the kit as a subproject (FetchContent)"
cmake -S "$source_dir/tests/packaging/subproject" -B "$work/subproject" -G Ninja \
    -DVELA_SOURCE_DIR="$source_dir" -DVELA_BUILD_QUICK=OFF >/dev/null
cmake --build "$work/subproject" -j "$jobs" >/dev/null
kit="$work/subproject/_deps/velawidget-build"
[[ -d $kit && ! -e $kit/tests ]] || fail "a subproject build built the kit's tests"

# The Debian packages hold the shared libraries; the install test builds hosts against them.
echo "== shared libraries, in a libdir as deep as the Debian packages' one"
libdir=lib/$(g++ -print-multiarch)
[[ $libdir != lib/ ]] || libdir=lib/multiarch
cmake -S "$source_dir" -B "$work/shared-build" -G Ninja -DBUILD_SHARED_LIBS=ON -DCMAKE_INSTALL_LIBDIR="$libdir" \
    -DVELA_BUILD_TESTS=OFF -DVELA_BUILD_TOOLS=OFF -DVELA_BUILD_QUICK=OFF >/dev/null
cmake --build "$work/shared-build" -j "$jobs" >/dev/null
cmake --install "$work/shared-build" --prefix "$work/shared" >/dev/null
for lib in "$work/shared/$libdir"/libvelawidget*.so.1; do
    check_symbols "$lib" '^[TDBRCVWui]$' -D --defined-only "$lib"
    # Read whole, not piped into `grep -q`: under pipefail, grep leaving at the
    # first match fails the pipeline whenever objdump is still writing.
    soname=$(objdump -p "$lib" | awk '$1 == "SONAME" {print $2}')
    [[ $soname == "$(basename "$lib")" ]] || fail "$lib has no SONAME"
done
pc_shared="$work/shared/$libdir/pkgconfig"
check_pc "$pc_shared" velawidget "$work/shared/$libdir/cmake/VelaWidget/VelaWidgetCoreTargets.cmake" \
    VelaWidget::velawidget
for pair in "libdir $libdir" "includedir include"; do
    read -r variable expected <<<"$pair"
    found=$(PKG_CONFIG_PATH="$pc_shared" pkg-config --variable="$variable" velawidget)
    [[ $(realpath -m "$found") == $(realpath -m "$work/shared/$expected") ]] ||
        fail "velawidget.pc's $variable is $found, not $work/shared/$expected"
done
echo "consumer builds passed"
