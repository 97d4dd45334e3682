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
    foreign=$(nm -C "$@" 2>/dev/null | awk -v types="$types" 'NF>=3 && $2 ~ types' | cut -d' ' -f3- |
        grep -v -E 'velawidget::|^QmlCacheGeneratedCode::_0x5f_VelaWidget_|^qml_register_types_VelaWidget\(|^q(Init|Cleanup)Resources_velawidget|^qt_static_plugin_VelaWidgetPlugin|^VelaWidgetPlugin' || true)
    [[ -z $foreign ]] || fail "$what exports symbols outside the kit's namespace:
$foreign"
}

echo "== static package from $build_dir"
cmake --install "$build_dir" --prefix "$work/static" >/dev/null
for lib in "$work"/static/lib/libvelawidget*.a; do check_symbols "$lib" '^[TDBRC]$' --defined-only -g "$lib"; done

echo "== console example against the installed package"
cmake -S "$source_dir/examples/console" -B "$work/console" -G Ninja \
    -DCMAKE_PREFIX_PATH="$work/static" >/dev/null
cmake --build "$work/console" -j "$jobs" >/dev/null

echo "== the same example through pkg-config"
PKG_CONFIG_PATH="$work/static/lib/pkgconfig" pkg-config --exists 'velawidget-curl >= 1.0' ||
    fail "pkg-config does not find velawidget-curl"
# shellcheck disable=SC2046
g++ -std=c++20 "$source_dir/examples/console/main.cpp" -o "$work/console-pc" \
    $(PKG_CONFIG_PATH="$work/static/lib/pkgconfig" pkg-config --cflags --libs velawidget-curl)

if [[ -n $sandbox ]]; then
    echo "== run it on the sandbox"
    "$sandbox" --port 0 --quiet --cert-out "$work/sandbox.pem" >"$work/sandbox.out" &
    pid=$!
    trap 'kill $pid 2>/dev/null || true' EXIT
    for _ in $(seq 100); do grep -q '^listening on' "$work/sandbox.out" 2>/dev/null && break; sleep 0.1; done
    address=$(sed -n 's/^listening on //p' "$work/sandbox.out" | head -1)
    [[ -n $address ]] || fail "the sandbox did not start"
    for host in "$work/console/console-host" "$work/console-pc"; do
        XDG_CACHE_HOME="$work/caches" "$host" "$link" "$address" "$work/sandbox.pem" >"$work/out.txt"
        lines=$(wc -l <"$work/out.txt")
        ((lines > 40)) || fail "$host listed only $lines banks"
        grep -q 'VELATESTPAYMENTONEOFF00000000002' "$work/out.txt" || fail "$host printed no links"
    done
    head -3 "$work/out.txt"
fi

if [[ -f "$work/static/lib/cmake/VelaWidget/VelaWidgetquickTargets.cmake" ]]; then
    echo "== Qt Quick example against the installed package"
    cmake -S "$source_dir/examples/qt-host" -B "$work/qt-host" -G Ninja \
        -DCMAKE_PREFIX_PATH="$work/static" >/dev/null
    cmake --build "$work/qt-host" -j "$jobs" >/dev/null
    if [[ -n $sandbox ]]; then
        XDG_CACHE_HOME="$work/caches" QT_QPA_PLATFORM=offscreen \
            "$work/qt-host/qt-host" "$link" "$address" "$work/sandbox.pem" --present-and-close \
            >"$work/qt-out.txt" 2>"$work/qt-err.txt" || { cat "$work/qt-err.txt" >&2; fail "qt-host failed"; }
        grep -q "selector presented and closed" "$work/qt-out.txt" || fail "qt-host showed no selector"
        grep -qx "selector: cancelled" "$work/qt-out.txt" || fail "qt-host was not told the selector was cancelled"
        cat "$work/qt-out.txt"
    fi
    echo "== Qt Widgets and pure QML examples against the installed package"
    for example in widgets qml-only; do
        cmake -S "$source_dir/examples/$example" -B "$work/$example" -G Ninja \
            -DCMAKE_PREFIX_PATH="$work/static" >/dev/null
        cmake --build "$work/$example" -j "$jobs" >/dev/null
    done
fi

echo "== the kit as a subproject (add_subdirectory, then FetchContent)"
for fetch in OFF ON; do
    cmake -S "$source_dir/tests/packaging/subproject" -B "$work/subproject-$fetch" -G Ninja \
        -DVELA_SOURCE_DIR="$source_dir" -DVELA_FETCH=$fetch -DVELA_BUILD_QUICK=OFF >/dev/null
    cmake --build "$work/subproject-$fetch" -j "$jobs" >/dev/null
    [[ ! -e "$work/subproject-$fetch/velawidget/tests" ]] || fail "a subproject build built the kit's tests"
done
"$work/subproject-OFF/console-host" "https://qr.vela.example/short" 2>/dev/null && fail "accepted a bad link"

echo "== shared libraries"
cmake -S "$source_dir" -B "$work/shared-build" -G Ninja -DBUILD_SHARED_LIBS=ON \
    -DVELA_BUILD_TESTS=OFF -DVELA_BUILD_TOOLS=OFF -DVELA_BUILD_QUICK=OFF >/dev/null
cmake --build "$work/shared-build" -j "$jobs" >/dev/null
cmake --install "$work/shared-build" --prefix "$work/shared" >/dev/null
for lib in "$work"/shared/lib/libvelawidget*.so.1; do
    check_symbols "$lib" '^[TDBRCVWui]$' -D --defined-only "$lib"
    # Read whole, not piped into `grep -q`: under pipefail, grep leaving at the
    # first match fails the pipeline whenever objdump is still writing.
    soname=$(objdump -p "$lib" | awk '$1 == "SONAME" {print $2}')
    [[ $soname == "$(basename "$lib")" ]] || fail "$lib has no SONAME"
done
cmake -S "$source_dir/examples/console" -B "$work/console-shared" -G Ninja \
    -DCMAKE_PREFIX_PATH="$work/shared" >/dev/null
cmake --build "$work/console-shared" -j "$jobs" >/dev/null
"$work/console-shared/console-host" "https://qr.vela.example/short" 2>/dev/null && fail "accepted a bad link"
echo "consumer builds passed"
