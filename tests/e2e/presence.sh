#!/usr/bin/env bash
# One presence update from the outside: the real program and the real clan
# server in a real X server. A click on "Anmelden" must report the player's
# whereabouts from the game log to the clan script and the master server, put
# the served roster into the game's exec scripts and bind the keys in the user
# INI; a second click must report the player offline.
#   presence.sh <build dir>
source "$(dirname "$0")/xvfb_session.sh"
build=$1

program_and_game_dirs
# The player's name in the game's 8-bit code page: "Jörg".
name_cp1252=$'J\xf6rg'
name_utf8="Jörg"
# Blank, "&" and "=" must survive the trip in the query string.
clan_pass="ge heim&x=1"
master_pass="m?pass"

# Only the last LoadMap line counts: earlier servers, the menu map and an
# earlier exit are history.
crlf "Log: Log file open, 12/10/26 20:14:03" \
     "Log: LoadMap: Entry?Name=$name_cp1252?Team=255" \
     "Log: LoadMap: 10.1.1.1:7777/TO-Verdict?Name=$name_cp1252?Team=0" \
     "Exit: Exiting." \
     "Log: LoadMap: 192.168.7.3:7777/TO-Blister?Name=$name_cp1252?Team=1?Class=s_SWAT.s_Player_T" \
     "ScriptLog: round started" > "$sys/tacticalops.log"
# F1 exists without a value, f2 in other letter case with an old binding, F3
# is missing: two values change in place and F3 joins the end of the section.
crlf "[Engine.Input]" "F1=" "f2=Jump" "Tab=Type" "" \
     "[DefaultPlayer]" "Name=$name_cp1252" > "$sys/TOUser.ini"
crlf "[Engine.Engine]" "GameRenderDevice=SoftDrv.SoftwareRenderDevice" > "$sys/tacticalops.ini"
printf '#!/bin/sh\n' > "$sys/unrealtournament.exe"
chmod +x "$sys/unrealtournament.exe"

start_xvfb

start_clan_server \
  --clan-pass "$clan_pass" --master-pass "$master_pass" \
  --seed "Kim|10.0.0.5:7777|TO-Verdict" \
  --seed "Lee|<i>Sucht Server...</i>|<i>Sucht Server...</i>"

# Every setting filled in, so no first-start notice appears; the longest
# interval, so no timer tick falls into the test.
crlf "[MAIN]" \
     "Global-Script-URL=http://127.0.0.1:$port/master.php" \
     "Global-Pass=$master_pass" \
     "Script-URL=http://127.0.0.1:$port/quavik.php" \
     "Directory=$game/" \
     "Pass=$clan_pass" \
     "Update-Intervall=9" \
     "Clansite=http://127.0.0.1:$port/" \
     "TOLogSizeCheck=0" \
     "Programmversion=0" \
     "Keybinder=37" "Keybinder_say=39" "Keybinder_teamsay=38" \
     "[GUI]" "XPOS=40" "YPOS=40" > "$program/quavik.ini"
chmod 600 "$program/quavik.ini"

(cd "$work" && exec "$program/quavik" LOG) &
quavik=$!
E2E_PIDS+=($quavik)

main=$(wait_main_window)

# The login image.
click_in_window "$main" 50 368
wait_start_stop_done 1

reports() { grep -- ' -> ' "$E2E_TMP/server.log" | cut -d' ' -f4- || true; }
expected=$(printf '%s\n' \
  "GET /quavik.php clan name=\"$name_utf8\" server=\"192.168.7.3:7777\" map=\"TO-Blister\" -> 200 added" \
  "GET /master.php master name=\"$name_utf8\" server=\"192.168.7.3:7777\" map=\"TO-Blister\" -> 200 added")
[ "$(reports)" = "$expected" ] || { diff <(echo "$expected") <(reports) || true; fail "the login's reports differ"; }

# The roster as served, ordered by name, with the player's own report in it.
summary="Quavik meldet: $name_cp1252 (192.168.7.3:7777) Kim (10.0.0.5:7777) Lee (Sucht Server...) "
for command in echo say teamsay; do
  script="$sys/quavik_$command.txt"
  [ -f "$script" ] || fail "no $script"
  [ "$(cat "$script"; echo x)" = "$(printf '%s %s\r\nx' "$command" "$summary")" ] \
    || { od -c "$script" | head -20; fail "quavik_$command.txt differs"; }
done

expected_ini=$(crlf "[Engine.Input]" "F1=EXEC quavik_echo.txt" "f2=EXEC quavik_teamsay.txt" "Tab=Type" \
  "F3=EXEC quavik_say.txt" "" "[DefaultPlayer]" "Name=$name_cp1252"; echo x)
[ "$(cat "$sys/TOUser.ini"; echo x)" = "$expected_ini" ] \
  || { diff <(echo "$expected_ini") <(cat "$sys/TOUser.ini"; echo x) || true; fail "TOUser.ini differs"; }

# The login in the activity log (its date and time follow the system locale):
# both reports and the scripts inside Start/Stop.
steps() {
  grep -E ": (START|  END) (Start/Stop|Sende Spielerstandort|Erstellung EXEC-Scripts)"$'\r'"\$" \
    "$work/quavik.log" | sed -E 's/^.*: (START|  END) /\1 /; s/\r$//'
}
expected_steps=$(printf '%s\n' "START Start/Stop" \
  "START Sende Spielerstandort" "  END Sende Spielerstandort" \
  "START Sende Spielerstandort" "  END Sende Spielerstandort" \
  "START Erstellung EXEC-Scripts" "  END Erstellung EXEC-Scripts" \
  "  END Start/Stop")
[ "$(steps)" = "$expected_steps" ] || { diff <(echo "$expected_steps") <(steps) || true; fail "the login's activity log differs"; }

# The logout image lies where the login image was.
click_in_window "$main" 50 368
wait_start_stop_done 2

expected=$(printf '%s\n' "$expected" \
  "GET /quavik.php clan name=\"$name_utf8\" server=\"<i>offline</i>\" map=\"<i>offline</i>\" -> 200 updated" \
  "GET /master.php master name=\"$name_utf8\" server=\"<i>offline</i>\" map=\"<i>offline</i>\" -> 200 updated")
[ "$(reports)" = "$expected" ] || { diff <(echo "$expected") <(reports) || true; fail "the logout's reports differ"; }

# Closing removes the program's temporary files.
[ -f "$program/zephanor.tmp" ] || fail "no answer file while running"
click_in_window "$main" 285 12
wait_exit "$quavik" 15
[ ! -e "$program/zephanor.tmp" ] && [ ! -e "$program/TacticalOps.sik" ] || fail "temporary files left behind"
echo "PASS"
