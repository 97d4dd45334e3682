# ./run in_root CODENAME [COMMAND [ARGS]]: `./run COMMAND ARGS` (default:
# test) in a copy of this working tree (tracked and untracked, not ignored:
# never build/) inside a Debian root of CODENAME (trixie, bookworm) made by
# debootstrap, after `./run setup` there; each step's time is printed. What
# makes a rerun fast lives outside the tree, in VELA_ROOTS_DIR
# (/var/cache/velawidget): base-CODENAME.tgz (the downloaded base system),
# CODENAME/root (the prepared root: setup inside it is then a no-op) and
# CODENAME/ccache (mounted into the root, where the tree is always
# /work/velawidget, so a fresh clone hits it). `rm -rf` that directory for a
# cold run. Needs root (chroot, mounts) and the Debian mirror.
cmd_in_root() {
    [ $# -ge 1 ] || { echo "usage: ./run in_root CODENAME [COMMAND [ARGS]]" >&2; return 64; }
    local codename="$1"; shift
    [ $# -ge 1 ] || set -- test
    local cache="${VELA_ROOTS_DIR:-/var/cache/velawidget}" started=$SECONDS step
    as_root mkdir -p "$cache/$codename/ccache"
    # Mounts are found by their path in /proc/mounts: no relative or linked one.
    cache=$(realpath "$cache")
    local dir="$cache/$codename" root="$cache/$codename/root" tree=/work/velawidget

    # One run per root at a time: CI's background preparation and a stage
    # started before it ends must not debootstrap or mount over each other.
    as_root touch "$dir/lock"
    as_root chmod a+rw "$dir/lock"
    local lock
    exec {lock}<>"$dir/lock"
    flock "$lock"

    in_root_prepare "$codename" "$cache" "$root"

    # Every way out unmounts: under `set -e` a failing step leaves the shell
    # at once, and a signal is turned into an exit so that EXIT runs too.
    in_root_cleanup "$root"
    trap 'in_root_cleanup "'"$root"'"' EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    in_root_mount "$root" "$dir/ccache"

    step=$SECONDS
    as_root rm -rf --one-file-system "$root$tree"
    as_root mkdir -p "$root$tree"
    (cd "$ROOT" && git ls-files -co --exclude-standard -z |
        while IFS= read -r -d '' file; do [ -e "$file" ] && printf '%s\0' "$file"; done |
        tar --null -T - -cf -) | as_root tar -xf - -C "$root$tree"
    echo "in_root: copied the tree in $((SECONDS - step))s"

    # A clean environment: only the run's own settings cross into the root.
    local vars=(PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root USER=root LOGNAME=root
                LANG=C.UTF-8 CCACHE_DIR=/var/cache/ccache)
    local name
    for name in CI $(compgen -e VELA_); do
        if [ "$name" != VELA_ROOTS_DIR ] && [ -n "${!name+set}" ]; then vars+=("$name=${!name}"); fi
    done
    step=$SECONDS
    as_root chroot "$root" env -i "${vars[@]}" sh -ec '
        cd "$0"
        ./run setup
        # libdbus aborts without a machine id; in case no package made one.
        [ -s /etc/machine-id ] || dbus-uuidgen --ensure=/etc/machine-id' "$tree"
    echo "in_root: setup took $((SECONDS - step))s"
    if [ "$*" != setup ]; then
        step=$SECONDS
        as_root chroot "$root" env -i "${vars[@]}" sh -c 'cd "$0" && exec ./run "$@"' "$tree" "$@"
        echo "in_root: ./run $* took $((SECONDS - step))s"
    fi
    in_root_cleanup "$root"
    echo "in_root: $codename done in $((SECONDS - started))s"
}

# in_root_prepare CODENAME CACHE ROOT: the base tarball and the root, each
# made only when missing; a root whose unpacking was cut off is made anew.
in_root_prepare() {
    local codename="$1" cache="$2" root="$3" step=$SECONDS
    local mirror tarball="$cache/base-$codename.tgz"
    mirror=$({ sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true; } | head -1)
    mirror=${mirror:-http://deb.debian.org/debian}
    if [ ! -f "$tarball" ]; then
        as_root rm -rf "$tarball.tmp" "$cache/tarball-tmp-$codename"
        as_root debootstrap --variant=minbase --make-tarball="$tarball.tmp" "$codename" \
            "$cache/tarball-tmp-$codename" "$mirror" >"$cache/debootstrap-$codename.log" 2>&1 ||
            { tail -20 "$cache/debootstrap-$codename.log" >&2; return 1; }
        as_root mv "$tarball.tmp" "$tarball"
        as_root rm -rf "$cache/tarball-tmp-$codename"
        echo "in_root: downloaded the $codename base system in $((SECONDS - step))s"
        step=$SECONDS
    fi
    # The stamp names how the root was made: a root made another way is made anew.
    local made_as="minbase, debian.sources, no recommends"
    [ "$(cat "$root/.vela-ready" 2>/dev/null)" = "$made_as" ] && return
    in_root_cleanup "$root"
    as_root rm -rf --one-file-system "$root"
    as_root debootstrap --variant=minbase --unpack-tarball="$tarball" "$codename" "$root" "$mirror" \
        >>"$cache/debootstrap-$codename.log" 2>&1 ||
        { tail -20 "$cache/debootstrap-$codename.log" >&2; return 1; }
    # The sources as an installed system has them, where the install test reads its mirror.
    as_root rm -f "$root/etc/apt/sources.list"
    printf 'Types: deb\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: %s\n\n' \
        "$mirror" "$codename $codename-updates" /usr/share/keyrings/debian-archive-keyring.gpg \
        "$mirror-security" "$codename-security" /usr/share/keyrings/debian-archive-keyring.gpg |
        as_root tee "$root/etc/apt/sources.list.d/debian.sources" >/dev/null
    # Without recommends, as `./run setup` installs on a real machine.
    as_root sh -c "printf 'APT::Install-Recommends \"false\";\n' >'$root/etc/apt/apt.conf.d/90vela'"
    echo "$made_as" | as_root tee "$root/.vela-ready" >/dev/null
    echo "in_root: unpacked the $codename root in $((SECONDS - step))s"
}

# in_root_mount ROOT CCACHE: what the build, Xvfb, dbus, sway and the tests
# need. The root keeps its own /dev nodes (debootstrap made them) with a pty
# instance and shared memory of its own; /tmp and /run start empty each run.
in_root_mount() {
    local root="$1" ccache="$2"
    as_root cp /etc/resolv.conf "$root/etc/resolv.conf"
    as_root mount -t proc proc "$root/proc"
    as_root mount -t sysfs -o ro sysfs "$root/sys" 2>/dev/null || as_root mount --bind -o ro /sys "$root/sys"
    as_root mount -t devpts -o newinstance,ptmxmode=0666,mode=0620 devpts "$root/dev/pts"
    as_root ln -sf pts/ptmx "$root/dev/ptmx"
    as_root mkdir -p "$root/dev/shm"
    as_root mount -t tmpfs -o mode=1777 shm "$root/dev/shm"
    as_root mount -t tmpfs -o mode=1777 tmp "$root/tmp"
    as_root mount -t tmpfs -o mode=0755 run "$root/run"
    as_root mkdir -p "$root/run/lock" "$root/var/cache/ccache"
    as_root mount --bind "$ccache" "$root/var/cache/ccache"
}

# in_root_cleanup ROOT: ends what still runs inside the root and unmounts
# everything under it, deepest first (the install test's own mounts too).
in_root_cleanup() {
    local root="$1" pids mounts mount
    pids=$(as_root find /proc -mindepth 2 -maxdepth 2 -path '/proc/[0-9]*/root' -lname "$root" \
        -printf '%h\n' 2>/dev/null | sed 's,^/proc/,,' || true)
    if [ -n "$pids" ]; then
        # shellcheck disable=SC2086 # one id a word
        as_root kill -TERM $pids 2>/dev/null || true
        sleep 1
        # shellcheck disable=SC2086
        as_root kill -KILL $pids 2>/dev/null || true
    fi
    mounts=$(awk -v root="$root/" 'index($2, root) == 1 { print $2 }' /proc/mounts | sort -r)
    for mount in $mounts; do
        as_root umount "$mount" 2>/dev/null || as_root umount -l "$mount"
    done
    trap - EXIT INT TERM
}
