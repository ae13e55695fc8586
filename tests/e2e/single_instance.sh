#!/usr/bin/env bash
# Two starts of the same program: the second brings the first window to the
# front and ends, so one window runs and no second copy shares its files.
# Command-line runs next to it are no second start.
#   single_instance.sh <build dir>
source "$(dirname "$0")/xvfb_session.sh"
build=$1

program_and_game_dirs
printf '#!/bin/sh\n' > "$sys/unrealtournament.exe"
crlf "[MAIN]" "Script-URL=http://127.0.0.1:9/q.php" "Pass=pw" "Directory=$game/" \
     "Update-Intervall=9" "[GUI]" "XPOS=40" "YPOS=40" > "$program/quavik.ini"

start_xvfb
(cd "$work" && exec "$program/quavik") &
first=$!
E2E_PIDS+=($first)
main=$(wait_main_window)

# Another window covers it, then the first window goes to the task bar.
xmessage -geometry 400x400+0+0 "cover" &
E2E_PIDS+=($!)
cover=$(wait_window "xmessage" 10) || fail "no covering window"
xdotool windowminimize --sync "$main" 2>/dev/null || true

# A command-line run does not count as a start of the window.
# (It ends with 1 when it finds no game install, as here.)
found=0
"$program/quavik" --find-games >/dev/null 2>&1 || found=$?
[ "$found" -le 1 ] || fail "--find-games ended with $found while the window runs"

(cd "$work" && exec "$program/quavik") &
second=$!
E2E_PIDS+=($second)
wait_exit "$second" 15

windows=$(xdotool search --onlyvisible --name "^Quavik RC5$" | wc -l)
[ "$windows" = 1 ] || fail "$windows Quavik windows instead of one"
kill -0 "$first" 2>/dev/null || fail "the first copy ended"
shown=$(wait_window "^Quavik RC5$" 5) || fail "the first window was not shown again"
[ "$shown" = "$main" ] || fail "another window than the first is shown"
# In front: the topmost window the X server shows (no window manager runs;
# xwininfo lists the children topmost first).
top=$(xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) .*/\1/p' | while read -r id; do
  if xwininfo -id "$id" | grep -q "Map State: IsViewable"; then echo "$id"; fi; done | sed -n 1p)
[ "$((top))" = "$main" ] || fail "the first window is not in front (topmost: $top, xmessage: $cover)"
[ -n "${SHOT:-}" ] && import -window root "$SHOT"

# The first copy closes as usual, and its lock goes with it: the next start
# opens a window of its own.
click_in_window "$main" 285 12
wait_exit "$first" 15
(cd "$work" && exec "$program/quavik") &
third=$!
E2E_PIDS+=($third)
wait_main_window >/dev/null
echo "PASS"
