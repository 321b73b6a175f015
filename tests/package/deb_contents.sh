#!/usr/bin/env bash
# `cpack -G DEB` makes zelmora_<version>_<arch>.deb holding the program, its
# manual and desktop files, owned by root, with the library dependencies
# that dpkg-shlibdeps finds.
# Usage: deb_contents.sh BUILD_DIR VERSION
set -euo pipefail
build=${1:?usage: $0 BUILD_DIR VERSION}
version=${2:?}
for tool in cpack dpkg-deb dpkg-shlibdeps file; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 77; }
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp" >"$tmp/cpack.log" 2>&1 ||
  { cat "$tmp/cpack.log"; exit 1; }
deb=$tmp/zelmora_${version}_$(dpkg --print-architecture).deb
[[ -f $deb ]] || { ls "$tmp"; fail "no $(basename "$deb")"; }

info=$(dpkg-deb -I "$deb")
echo "$info"
field() { sed -n "s/^ $1: //p" <<<"$info"; }
[[ $(field Package) == zelmora ]] || fail "Package"
[[ $(field Version) == "$version" ]] || fail "Version"
[[ $(field Section) == sound ]] || fail "Section"
[[ -n $(field Maintainer) ]] || fail "no Maintainer"
[[ -n $(field Description) ]] || fail "no Description"
depends=$(field Depends)
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libportaudio2 libsamplerate0 fonts-dseg; do
  grep -Eq "(^|, )$lib( |,|$)" <<<"$depends" || fail "Depends lacks $lib"
done
for package in fonts-denemo qt6-wayland; do
  grep -Eq "(^|, )$package( |,|$)" <<<"$(field Recommends)" || fail "Recommends lacks $package"
done

contents=$(dpkg-deb -c "$deb")
for f in usr/bin/zelmora usr/share/zelmora/help/index.html \
  usr/share/applications/org.zelmora.Zelmora.desktop \
  usr/share/icons/hicolor/scalable/apps/org.zelmora.Zelmora.svg \
  usr/share/metainfo/org.zelmora.Zelmora.metainfo.xml; do
  grep -q " \./$f$" <<<"$contents" || fail "the package lacks /$f"
done
grep -Eq '^-rwxr-xr-x root/root .* \./usr/bin/zelmora$' <<<"$contents" ||
  fail "the program is not an executable owned by root"
if grep -v ' root/root ' <<<"$contents"; then fail "files not owned by root"; fi
echo "package OK: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB"
