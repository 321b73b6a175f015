#!/usr/bin/env bash
# `cmake --install` lays out the program, its manual and its desktop files
# where the desktop finds them, and the desktop files pass the freedesktop
# validators and agree with each other.
# Usage: installed_files.sh BUILD_DIR HELP_DIR_FROM_BINDIR VERSION
set -euo pipefail
build=${1:?usage: $0 BUILD_DIR HELP_DIR_FROM_BINDIR VERSION}
help_from_bin=${2:?}
version=${3:?}
for tool in desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 77; }
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$tmp/usr" >"$tmp/install.log" || { cat "$tmp/install.log"; exit 1; }

id=org.zelmora.Zelmora
share=$tmp/usr/share
desktop=$share/applications/$id.desktop
metainfo=$share/metainfo/$id.metainfo.xml
[[ -x $tmp/usr/bin/zelmora ]] || fail "no program in bin/"
# The program opens its manual at this path relative to itself.
[[ -f $tmp/usr/bin/$help_from_bin/index.html ]] || fail "no manual at bin/$help_from_bin"
for f in "$desktop" "$metainfo"; do [[ -f $f ]] || fail "missing ${f#"$tmp"/}"; done

desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"

# What the validators cannot see: the three files name each other rightly.
icon=$(sed -n 's/^Icon=//p' "$desktop")
[[ -f $share/icons/hicolor/scalable/apps/$icon.svg ]] || fail "no icon file for Icon=$icon"
[[ $(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop") == zelmora ]] || fail "Exec= is not the program"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "the metainfo does not launch $id.desktop"
newest=$(grep -m1 -o '<release version="[^"]*"' "$metainfo" | cut -d'"' -f2)
[[ $newest == "$version" ]] || fail "newest release in the metainfo is $newest, the build is $version"
echo "installed files OK"
