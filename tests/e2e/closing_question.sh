#!/usr/bin/env bash
# The closing question while logged in can only be answered: Escape leaves it
# open and sends nothing; "Ja" then sends the offline reports and ends.
#   closing_question.sh <build dir>
source "$(dirname "$0")/xvfb_session.sh"
build=$1

program_and_game_dirs
crlf "Log: LoadMap: 192.168.7.3:7777/TO-Blister?Name=Kim?Team=1" > "$sys/tacticalops.log"
crlf "[DefaultPlayer]" "Name=Kim" > "$sys/TOUser.ini"
printf '#!/bin/sh\n' > "$sys/unrealtournament.exe"

start_xvfb
start_clan_server --clan-pass pw --master-pass mpw
crlf "[MAIN]" \
     "Global-Script-URL=http://127.0.0.1:$port/master.php" "Global-Pass=mpw" \
     "Script-URL=http://127.0.0.1:$port/quavik.php" "Pass=pw" \
     "Directory=$game/" "Update-Intervall=9" \
     "[GUI]" "XPOS=40" "YPOS=40" > "$program/quavik.ini"

(cd "$work" && exec "$program/quavik" LOG) &
quavik=$!
E2E_PIDS+=($quavik)
main=$(wait_main_window)
click_in_window "$main" 50 368
wait_start_stop_done 1

offline_reports() { grep -c 'map="<i>offline</i>"' "$E2E_TMP/server.log" || true; }

# The close image: the question comes up over the window.
click_in_window "$main" 285 12
question=""
for i in $(seq 100); do
  for id in $(xdotool search --onlyvisible --name "^Quavik RC5$" 2>/dev/null); do
    [ "$id" = "$main" ] || question=$id
  done
  [ -n "$question" ] && break
  sleep 0.1
done
[ -n "$question" ] || fail "no closing question"
sleep 0.3

xdotool windowfocus --sync "$question" key Escape || fail "could not press Escape"
sleep 1
xdotool search --onlyvisible --name "^Quavik RC5$" | grep -qx "$question" || fail "Escape closed the question"
kill -0 "$quavik" 2>/dev/null || fail "Escape ended the program"
[ "$(offline_reports)" = 0 ] || fail "an offline report before the question was answered"
[ -n "${SHOT:-}" ] && import -window root "$SHOT"

xdotool windowfocus --sync "$question" key alt+j || fail "could not answer Ja"
wait_exit "$quavik" 15
[ "$(offline_reports)" = 2 ] || { cat "$E2E_TMP/server.log" >&2; fail "not both offline reports after Ja"; }
echo "PASS"
