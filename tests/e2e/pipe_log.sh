#!/usr/bin/env bash
# A game log that turns into a pipe nobody writes to: the real program in a
# real X server. After a login and logout with a real log, the log is
# replaced by a FIFO. The next login must report the whereabouts of the
# earlier working copy at once, the window must go on answering (the logout
# click), and the program must close cleanly.
#   pipe_log.sh <build dir> [screenshot]
source "$(dirname "$0")/xvfb_session.sh"
build=$1
screenshot=${2:-}

program_and_game_dirs
crlf "Log: LoadMap: 192.168.7.3:7777/TO-Blister?Name=Kim?Team=1" > "$sys/tacticalops.log"
crlf "[DefaultPlayer]" "Name=Kim" > "$sys/TOUser.ini"
crlf "[Engine.Engine]" "GameRenderDevice=SoftDrv.SoftwareRenderDevice" > "$sys/tacticalops.ini"
printf '#!/bin/sh\n' > "$sys/unrealtournament.exe"
chmod +x "$sys/unrealtournament.exe"

start_xvfb
start_clan_server --clan-pass pw --master-pass mpw

crlf "[MAIN]" \
     "Global-Script-URL=http://127.0.0.1:$port/master.php" \
     "Global-Pass=mpw" \
     "Script-URL=http://127.0.0.1:$port/quavik.php" \
     "Directory=$game/" \
     "Pass=pw" \
     "Update-Intervall=9" \
     "Clansite=http://127.0.0.1:$port/" \
     "TOLogSizeCheck=0" \
     "Programmversion=0" \
     "[GUI]" "XPOS=40" "YPOS=40" > "$program/quavik.ini"
chmod 600 "$program/quavik.ini"

(cd "$work" && exec "$program/quavik" LOG) &
quavik=$!
E2E_PIDS+=($quavik)
main=$(wait_main_window)

reports() { grep -- ' -> ' "$E2E_TMP/server.log" | grep -c "server=\"$1\"" || true; }

# Login and logout with the real log: the working copy holds its line.
click_in_window "$main" 50 368
wait_start_stop_done 1
click_in_window "$main" 50 368
wait_start_stop_done 2
[ "$(reports 192.168.7.3:7777)" = 2 ] || { cat "$E2E_TMP/server.log" >&2; fail "the first login was not reported"; }

rm "$sys/tacticalops.log"
mkfifo "$sys/tacticalops.log"

# The login with the pipe in the log's place reports the working copy's
# server; the logout click after it is answered.
click_in_window "$main" 50 368
wait_start_stop_done 3
[ "$(reports 192.168.7.3:7777)" = 4 ] || { cat "$E2E_TMP/server.log" >&2; fail "the login with a pipe for a log was not reported"; }
[ -n "$screenshot" ] && import -window root "$screenshot"
click_in_window "$main" 50 368
wait_start_stop_done 4
[ "$(reports '<i>offline</i>')" = 4 ] || { cat "$E2E_TMP/server.log" >&2; fail "the logouts were not reported"; }

click_in_window "$main" 285 12
wait_exit "$quavik" 15
echo "PASS"
