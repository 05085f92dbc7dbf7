#!/usr/bin/env bash
# Installs the build into a temporary root and checks what lands where: the file list, the
# desktop entry and the AppStream data through their validators, the man page, and that the
# installed program answers --help and --version with no display at all.
set -euo pipefail
build=$(readlink -f "$1")
tmp=$(mktemp -d /tmp/jotterly-install-XXXXXX)
trap 'rm -rf "$tmp"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

DESTDIR="$tmp/root" cmake --install "$build" --prefix /usr >"$tmp/install.log" ||
    fail "cmake --install failed: $(cat "$tmp/install.log")"
cd "$tmp/root"
expected="usr/bin/jotterly
usr/lib/jotterly/jotterly-sound.so
usr/share/applications/jotterly.desktop
usr/share/icons/hicolor/scalable/apps/jotterly.svg
usr/share/jotterly/help/index.html
usr/share/man/man1/jotterly.1.gz
usr/share/metainfo/org.example.jotterly.metainfo.xml"
actual=$(find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)
[ "$actual" = "$expected" ] || fail "installed files differ: $(diff <(echo "$expected") <(echo "$actual"))"
[ -x usr/bin/jotterly ] || fail "the program is not executable"

desktop=usr/share/applications/jotterly.desktop
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate warns: $out"
grep -qx 'Actions=new-note;manager;' "$desktop" || fail "no launcher actions"
grep -qx 'Exec=jotterly new-note' "$desktop" || fail "no New Note action"
grep -qx 'Exec=jotterly manager' "$desktop" || fail "no Note Manager action"
metainfo=usr/share/metainfo/org.example.jotterly.metainfo.xml
appstreamcli validate --no-net --pedantic "$metainfo" >"$tmp/appstream.log" 2>&1 ||
    fail "appstreamcli: $(cat "$tmp/appstream.log")"
grep -q '<launchable type="desktop-id">jotterly.desktop</launchable>' "$metainfo" ||
    fail "the metainfo does not name the desktop entry"
out=$(zcat usr/share/man/man1/jotterly.1.gz | groff -man -ww -z -t 2>&1) || fail "groff: $out"
[ -z "$out" ] || fail "the man page has warnings: $out"

# Answers on stdout with status 0 and no display, no runtime folder, no data folder.
version=$(env -i HOME="$tmp/home" usr/bin/jotterly --version) || fail "--version failed"
[[ "$version" =~ ^jotterly\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version said '$version'"
grep -q "<release version=\"${version#jotterly }\"" "$metainfo" ||
    fail "the metainfo has no release for ${version#jotterly }"
grep -q "Jotterly ${version#jotterly }" <(zcat usr/share/man/man1/jotterly.1.gz) ||
    fail "the man page is not of version ${version#jotterly }"
help=$(env -i HOME="$tmp/home" usr/bin/jotterly --help) || fail "--help failed"
for word in new-note manager show-notes close-notes quit nologo; do
    grep -q "^  $word " <<<"$help" || fail "--help does not name $word"
done
[ ! -e "$tmp/home" ] || fail "--help or --version left files behind"
echo "installed files, validators, man page, --help and --version: ok"
