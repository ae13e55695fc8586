#!/usr/bin/env bash
# A native UT 469 install as the Linux build leaves it: the program in
# System64, the player's files in ~/.utpg/System with LF line ends, and a
# UTF-8 log behind a byte order mark. Logging in must report the log's
# server, map and name, bind the keys in ~/.utpg/System/User.ini without
# writing a CR into it, and the start image must launch the native binary.
#   native_469.sh <build dir>
source "$(dirname "$0")/xvfb_session.sh"
build=$1

program="$E2E_TMP/program"
work="$E2E_TMP/work"
game="$E2E_TMP/game"
home="$E2E_TMP/home"
utpg="$home/.utpg/System"
mkdir -p "$program" "$work" "$game/System64" "$game/System" "$utpg"
cp "$build/quavik" "$program/"

lf() { printf '%s\n' "$@"; }
bom=$'\xef\xbb\xbf'
name_utf8="Jörg"

lf "${bom}Log: Log file open, 12/10/26 21:02:11" \
   "Init: Version: 469" \
   "Log: LoadMap: Entry" \
   "Log: Browse: 198.51.100.20/Index.unr?Name=$name_utf8?Class=Botpack.TMale1?team=255" \
   "Log: LoadMap: 198.51.100.20/CTF-Face?Name=$name_utf8?Class=Botpack.TMale1?team=255" \
   "Log: Bringing Level CTF-Face.MyLevel up for play (41)..." > "$utpg/UnrealTournament.log"
# The game is still writing: a line without its line end does not count yet.
printf 'Log: LoadMap: 203.0.113.9/DM-Half' >> "$utpg/UnrealTournament.log"
lf "${bom}[Engine.Input]" "F1=" "F2=" "F3=" "Tab=Type" "[DefaultPlayer]" "Name=$name_utf8" > "$utpg/User.ini"
lf "[URL]" "Protocol=unreal" > "$utpg/UnrealTournament.ini"
# The native binary: records how it was started.
lf '#!/bin/sh' "{ pwd; printf '%s\n' \"\$@\"; } > '$E2E_TMP/launched'" > "$game/System64/ut-bin-amd64"
chmod +x "$game/System64/ut-bin-amd64"

start_xvfb

start_clan_server --clan-pass geheim \
  --seed "Kim|10.0.0.5:7777|CTF-Face"

printf '%s\r\n' "[MAIN]" \
     "Script-URL=http://127.0.0.1:$port/quavik.php" \
     "Directory=$game/" \
     "Pass=geheim" \
     "Update-Intervall=9" \
     "Clansite=http://127.0.0.1:$port/" \
     "TOLogSizeCheck=0" \
     "Programmversion=2" \
     "Keybinder=37" "Keybinder_say=39" "Keybinder_teamsay=38" \
     "[GUI]" "XPOS=40" "YPOS=40" > "$program/quavik.ini"
chmod 600 "$program/quavik.ini"

(cd "$work" && HOME="$home" exec "$program/quavik" LOG) &
quavik=$!
E2E_PIDS+=($quavik)

main=$(wait_main_window)

# Waits until the server has recorded $1 reports.
wait_reports() {
  local want=$1 i
  for i in $(seq 300); do
    [ "$(grep -c -- ' -> ' "$E2E_TMP/server.log" 2>/dev/null || true)" -ge "$want" ] && return 0
    kill -0 "$quavik" 2>/dev/null || fail "Quavik ended"
    sleep 0.1
  done
  fail "no report number $want within 30 s: $(cat "$E2E_TMP/server.log")"
}
reports() { grep -- ' -> ' "$E2E_TMP/server.log" | cut -d' ' -f4- || true; }

click_in_window "$main" 50 368
wait_reports 1
expected="GET /quavik.php clan name=\"$name_utf8\" server=\"198.51.100.20\" map=\"CTF-Face\" -> 200 added"
[ "$(reports)" = "$expected" ] || { diff <(echo "$expected") <(reports) || true; fail "the login's report differs"; }

# The key bindings: in place, LF line ends and the byte order mark kept.
expected_ini=$(lf "${bom}[Engine.Input]" "F1=EXEC quavik_echo.txt" "F2=EXEC quavik_teamsay.txt" \
  "F3=EXEC quavik_say.txt" "Tab=Type" "[DefaultPlayer]" "Name=$name_utf8"; echo x)
for i in $(seq 100); do
  [ "$(cat "$utpg/User.ini"; echo x)" = "$expected_ini" ] && break
  sleep 0.1
done
[ "$(cat "$utpg/User.ini"; echo x)" = "$expected_ini" ] \
  || { diff <(echo "$expected_ini") <(cat "$utpg/User.ini"; echo x) || true; fail "User.ini differs"; }
! grep -q $'\r' "$utpg/User.ini" || fail "a CR was written into User.ini"
for i in $(seq 150); do
  [ -f "$utpg/quavik_echo.txt" ] && break
  sleep 0.1
done
[ -f "$utpg/quavik_echo.txt" ] || fail "no exec script beside the native User.ini"

# The start image launches the native binary in its own directory.
click_in_window "$main" 266 35
for i in $(seq 100); do
  [ -s "$E2E_TMP/launched" ] && break
  sleep 0.1
done
[ -s "$E2E_TMP/launched" ] || fail "the native binary was not started"
[ "$(head -n1 "$E2E_TMP/launched")" = "$game/System64" ] || fail "started in $(head -n1 "$E2E_TMP/launched")"

click_in_window "$main" 50 368
wait_reports 2
click_in_window "$main" 285 12
wait_exit "$quavik" 15
echo "PASS"
