#!/usr/bin/env bash
# The real program installed where its user can't write: a first start as an
# ordinary user keeps the program directory untouched and writes the settings
# into ~/.config/quavik (XDG_CONFIG_HOME unset) and the temporary files into
# $XDG_CACHE_HOME/quavik. Then the same for a copy installed with
# `cmake --install` and started by a user who could write into its bin
# directory (root, say): it keeps nothing there either.
#   installed_dirs.sh <build dir>
source "$(dirname "$0")/xvfb_session.sh"
build=$1

chmod 755 "$E2E_TMP"
program="$E2E_TMP/program"
home="$E2E_TMP/home"
mkdir -p "$program" "$home"
cp "$build/quavik" "$program/"
chmod 555 "$program"

# Root may write anywhere: run as an ordinary user then.
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chown 65534:65534 "$home"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi

start_xvfb
(cd "$home" && unset XDG_CONFIG_HOME && export HOME="$home" XDG_CACHE_HOME="$home/cache" &&
  exec "${as_user[@]}" "$program/quavik") &
quavik=$!
E2E_PIDS+=($quavik)

main=$(first_start_main_window)
click_in_window "$main" 285 12
wait_exit "$quavik" 15

[ -f "$home/.config/quavik/quavik.ini" ] || fail "no settings file in ~/.config/quavik"
grep -q "^Update-Intervall=4"$'\r'"$" "$home/.config/quavik/quavik.ini" || fail "the settings file lacks the defaults"
[ -d "$home/cache/quavik" ] || fail "no cache directory under \$XDG_CACHE_HOME"
[ "$(ls -A "$program")" = quavik ] || fail "the program directory changed: $(ls -A "$program")"

prefix="$E2E_TMP/prefix"
owner_home="$E2E_TMP/owner"
mkdir -p "$owner_home"
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
before=$(ls -A "$prefix/bin")
[ -w "$prefix/bin" ] || fail "the test's bin directory should be writable"
(cd "$owner_home" && unset XDG_CONFIG_HOME XDG_CACHE_HOME && export HOME="$owner_home" &&
  exec "$prefix/bin/quavik") &
quavik=$!
E2E_PIDS+=($quavik)
main=$(first_start_main_window)
click_in_window "$main" 285 12
wait_exit "$quavik" 15
[ -f "$owner_home/.config/quavik/quavik.ini" ] || fail "the installed copy kept no settings in ~/.config/quavik"
[ -d "$owner_home/.cache/quavik" ] || fail "the installed copy made no ~/.cache/quavik"
[ "$(ls -A "$prefix/bin")" = "$before" ] || fail "the installed copy wrote into its bin directory: $(ls -A "$prefix/bin")"
echo "PASS"
