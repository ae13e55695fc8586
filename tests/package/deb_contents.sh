#!/usr/bin/env bash
# Packs the already built programs into the Debian package and checks what
# it holds: the files a desktop installation needs, dependencies taken from
# the linked libraries, the menu entry and icons in their proper form, and the
# clan server's systemd unit, which starts the installed program and which no
# package script enables.
#   deb_contents.sh <build dir>
set -euo pipefail
build=$(cd "$1" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1 ||
  { cat "$out/cpack.log"; fail "cpack failed"; }
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb="$out/quavik_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $(basename "$deb"); found: $(ls "$out")"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = quavik ] || fail "package name $(field Package)"
[ "$(field Version)" = "$version" ] || fail "version $(field Version)"
depends=$(field Depends)
depend_names=$(tr ',' '\n' <<<"$depends" | awk '{print $1}')
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libcurl4 libmicrohttpd12 libstdc++6 qt6-qpa-plugins \
           fonts-liberation; do
  grep -qxF "$lib" <<<"$depend_names" || fail "Depends lacks $lib: $depends"
done

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
expect=(./usr/bin/quavik ./usr/bin/quavik-clan-server
        ./usr/share/applications/de.quavik.Quavik.desktop
        ./usr/share/metainfo/de.quavik.Quavik.metainfo.xml
        ./usr/share/icons/hicolor/scalable/apps/quavik.svg
        ./usr/lib/systemd/system/quavik-clan-server.service
        ./usr/share/quavik/clan-server.conf.example
        ./usr/share/quavik/clan-server.nginx.example)
for size in 16 22 24 32 48 64 128 256; do
  expect+=("./usr/share/icons/hicolor/${size}x${size}/apps/quavik.png")
done
for f in "${expect[@]}"; do
  grep -qxF "$f" <<<"$contents" || fail "the package lacks $f"
done

# The files themselves, as the desktop reads them.
mkdir "$out/root"
dpkg-deb --extract "$deb" "$out/root"
root="$out/root/usr/share"
desktop="$root/applications/de.quavik.Quavik.desktop"
desktop-file-validate "$desktop" || fail "the menu entry does not validate"
grep -qx "Exec=quavik" "$desktop" || fail "the menu entry does not start quavik"
grep -qx "Icon=quavik" "$desktop" || fail "the menu entry does not name the icon"
for size in 16 48 256; do
  actual=$(identify -format '%m %wx%h' "$root/icons/hicolor/${size}x${size}/apps/quavik.png")
  [ "$actual" = "PNG ${size}x${size}" ] || fail "icon ${size}x${size} is $actual"
done
file -b "$out/root/usr/bin/quavik" | grep -q "^ELF.*, stripped" || fail "quavik is not a stripped program"

# Installing Quavik on a member's desktop must not start a server: the
# package carries no maintainer scripts that could enable the unit.
mkdir "$out/control"
dpkg-deb --control "$deb" "$out/control"
for script in preinst postinst prerm postrm; do
  [ ! -e "$out/control/$script" ] || fail "the package has a $script script"
done

unit="$out/root/usr/lib/systemd/system/quavik-clan-server.service"
exec_start=$(sed -n 's/^ExecStart=//p' "$unit")
[ "${exec_start%% *}" = /usr/bin/quavik-clan-server ] ||
  fail "the unit starts '$exec_start', not the installed /usr/bin/quavik-clan-server"
grep -q "/usr/share/quavik/clan-server.conf.example" "$unit" ||
  fail "the unit's instructions do not name the installed settings example"
example="$out/root/usr/share/quavik/clan-server.conf.example"
if grep -Eq '^[[:space:]]*(clan|master)-pass[[:space:]]*=' "$example"; then
  fail "the settings example, readable by everybody, sets a password"
fi
# systemd's own check of the unit, run against the packed program.
sed "s|^ExecStart=/usr/bin/|ExecStart=$out/root/usr/bin/|" "$unit" >"$out/quavik-clan-server.service"
verify=$(systemd-analyze verify "$out/quavik-clan-server.service" 2>&1) ||
  fail "systemd-analyze verify: $verify"
if grep -q quavik-clan-server <<<"$verify"; then
  fail "systemd-analyze verify: $verify"
fi
echo "PASS"
