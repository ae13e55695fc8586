#!/usr/bin/env bash
# The real program in a real X server: a first start with LOG in a fresh
# program directory shows the notice; closing writes the default settings and
# the activity log in the working directory.
#   startup_close.sh <build dir>
source "$(dirname "$0")/xvfb_session.sh"
build=$1

program="$E2E_TMP/program"
work="$E2E_TMP/work"
mkdir -p "$program" "$work"
cp "$build/quavik" "$program/"

start_xvfb
(cd "$work" && exec "$program/quavik" LOG) &
quavik=$!
E2E_PIDS+=($quavik)

main=$(first_start_main_window)
eval "$(xdotool getwindowgeometry --shell "$main")"
[ "$X" = 40 ] && [ "$Y" = 40 ] || fail "main window at $X,$Y instead of 40,40"

# The close image in the title strip.
click_in_window "$main" 285 12
wait_exit "$quavik" 15

expected=$(printf '%s\r\n' "[MAIN]" "Global-Script-URL=" "Global-Pass=" "Script-URL=" "Directory=" "Pass=" \
  "Update-Intervall=4" "Clansite=" "TOLogSizeCheck=0" "Programmversion=0" "Keybinder=-1" \
  "Keybinder_say=-1" "Keybinder_teamsay=-1" "[GUI]" "XPOS=40" "YPOS=40" "Notify=1" "TrayMinimize=0"; echo x)
actual=$(cat "$program/quavik.ini"; echo x)
[ "$actual" = "$expected" ] || { diff <(echo "$expected") <(echo "$actual") || true; fail "quavik.ini differs"; }
[ "$(stat -c %a "$program/quavik.ini")" = 600 ] || fail "quavik.ini is not owner-only"

[ -f "$work/quavik.log" ] || fail "no quavik.log in the working directory"
head -n1 "$work/quavik.log" | grep -q ": START -| ZEPHANOR STARTUP |----------------------"$'\r'"$" \
  || fail "the log does not begin with the start-up line"
grep -q "START ApplicationClose..." "$work/quavik.log" || fail "no close line in the log"
[ ! -e "$program/quavik.log" ] || fail "the log went into the program directory"
echo "PASS"
