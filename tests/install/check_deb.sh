#!/usr/bin/env bash
# Builds the .deb with CPack, checks its dependencies (from dpkg-shlibdeps), installs it, runs
# the installed /usr/bin/jotterly --version, and removes it again. Needs root. What lands where
# is check_install.sh's: the package is made from the same installation.
set -euo pipefail
build=$(readlink -f "$1")
tmp=$(mktemp -d /tmp/jotterly-deb-XXXXXX)
installed=0
SUDO=""
cleanup() {
    if [ "$installed" = 1 ]; then
        $SUDO apt-get remove -y -q -o DPkg::Lock::Timeout=300 jotterly >>"$tmp/apt.log" 2>&1 ||
            echo "could not remove the jotterly package: $(cat "$tmp/apt.log")" >&2
    fi
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
if [ "$(id -u)" != 0 ]; then
    sudo -n true 2>/dev/null || fail "installing the package needs root (or sudo without a password)"
    SUDO=sudo
fi
if dpkg-query -W -f='${Status}' jotterly 2>/dev/null | grep -q 'install ok installed'; then
    fail "a jotterly package is already installed here; not touching it"
fi

(cd "$build" && cpack -G DEB -B "$tmp/out") >"$tmp/cpack.log" 2>&1 || fail "cpack: $(cat "$tmp/cpack.log")"
debs=("$tmp"/out/jotterly_*.deb)
[ ${#debs[@]} = 1 ] && [ -f "${debs[0]}" ] || fail "no single .deb: $(ls "$tmp/out")"
deb=${debs[0]}
dpkg-deb --info "$deb" | tee "$tmp/info"
depends=$(sed -n 's/^ Depends: //p' "$tmp/info")
for lib in libc6 libstdc++6 libqt6widgets6 libqt6gui6 libqt6core6 libqt6multimedia6 \
    libqt6svg6 libqt6dbus6 libcurl4; do
    grep -Fq "$lib (" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
grep -q '^ Recommends: qt6-wayland' "$tmp/info" || fail "qt6-wayland is not recommended"
grep -q ';' "$tmp/info" && fail "a CMake list leaked into the control file"

installed=1
$SUDO apt-get install -y -q -o DPkg::Lock::Timeout=300 "$deb" >"$tmp/apt.log" 2>&1 ||
    fail "installing the package failed: $(cat "$tmp/apt.log")"
version=$(env -i /usr/bin/jotterly --version) || fail "/usr/bin/jotterly --version failed"
[ "$version" = "$("$build/jotterly" --version)" ] || fail "installed program says '$version'"
echo "installed: $version"
$SUDO apt-get remove -y -q -o DPkg::Lock::Timeout=300 jotterly >"$tmp/apt.log" 2>&1 ||
    fail "removing the package failed: $(cat "$tmp/apt.log")"
installed=0
[ ! -e /usr/bin/jotterly ] || fail "/usr/bin/jotterly is still there after removal"
echo "package built, installed, run and removed: ok"
