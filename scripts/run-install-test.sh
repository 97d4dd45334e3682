# ./run install_test: the Debian packages (./run package) installed with apt
# into a throw-away Debian root made by debootstrap (build/install-test), so
# that their dependencies are proved; there the console and the Qt example are
# built against the system paths with find_package(VelaWidget), and the
# console one lists the banks of vela-sandbox from velawidget-tools; a QML
# test imports the module with nothing but `import VelaWidget`. The root is of
# this machine's release (VERSION_CODENAME in /etc/os-release), the one the
# packages were built for. Needs root (chroot) and the Debian mirror;
# VELA_SKIP_INSTALL_TEST=1 skips it in `./run test` when offline. The base
# system is kept as a tarball per release in the same directory, so a rerun
# skips the download of it.
cmd_install_test() {
    local started=$SECONDS
    cmd_package >/dev/null
    local work="$BUILD/install-test" root="$BUILD/install-test/root"
    local mirror release
    mirror=$({ sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true; } | head -1)
    mirror=${mirror:-http://deb.debian.org/debian}
    release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    [ -n "$release" ] || { echo "install test: /etc/os-release names no release" >&2; return 1; }
    install_test_cleanup
    as_root rm -rf "$root"
    mkdir -p "$work"
    if [ -f "$work/base-$release.tgz" ]; then
        as_root debootstrap --variant=minbase --unpack-tarball="$work/base-$release.tgz" "$release" "$root" "$mirror" >"$work/debootstrap.log"
    else
        as_root debootstrap --variant=minbase --make-tarball="$work/base-$release.tgz" "$release" "$work/tarball-tmp" "$mirror" >"$work/debootstrap.log"
        as_root rm -rf "$work/tarball-tmp"
        as_root debootstrap --variant=minbase --unpack-tarball="$work/base-$release.tgz" "$release" "$root" "$mirror" >>"$work/debootstrap.log"
    fi
    # EXIT as well as RETURN: under `set -e` a failing step leaves the shell
    # without returning, and /proc must not stay mounted in the tree.
    trap install_test_cleanup EXIT RETURN
    as_root mount -t proc proc "$root/proc"
    as_root cp /etc/resolv.conf "$root/etc/resolv.conf"
    as_root sh -c "printf 'deb %s $release main\ndeb %s $release-updates main\ndeb %s-security $release-security main\n' \
        '$mirror' '$mirror' '$mirror' >'$root/etc/apt/sources.list'"
    as_root mkdir -p "$root/work/debs"
    as_root cp "$BUILD"/packages/*.deb "$root/work/debs/"
    as_root cp -r "$ROOT/examples" "$root/work/examples"
    as_root cp "$ROOT/tests/packaging/tst_import.qml" "$root/work/"
    echo "install test: Debian root ready after $((SECONDS - started))s"
    as_root chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/work LANG=C.UTF-8 sh -ec '
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        apt-get install -y -qq --no-install-recommends /work/debs/*.deb g++ cmake ninja-build \
            qt6-declarative-dev-tools qml6-module-qttest >/work/apt.log
        cd /work
        for example in console qt-host; do
            cmake -S examples/$example -B build-$example -G Ninja >/dev/null
            cmake --build build-$example >/dev/null
        done
        vela-sandbox --port 0 --quiet --cert-out sandbox.pem >sandbox.out &
        for i in $(seq 100); do grep -q "^listening on" sandbox.out 2>/dev/null && break; sleep 0.1; done
        address=$(sed -n "s/^listening on //p" sandbox.out)
        build-console/console-host \
            "https://qr.vela.example/VELATESTPAYMENTSTATIC00000000001?sum=100" "$address" sandbox.pem >banks.txt
        kill $!
        QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software \
            /usr/lib/qt6/bin/qmltestrunner -input tst_import.qml >qmltest.txt 2>&1 || { cat qmltest.txt; exit 1; }
        echo "install test: console-host listed $(wc -l <banks.txt) banks; qt-host built; import VelaWidget found the plugin"'
    echo "install test: passed in $((SECONDS - started))s"
}

install_test_cleanup() {
    local root="$BUILD/install-test/root"
    if mountpoint -q "$root/proc" 2>/dev/null; then as_root umount "$root/proc"; fi
    trap - EXIT RETURN
}
