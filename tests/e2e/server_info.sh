#!/usr/bin/env bash
# The live server info from the outside: the real program, the real clan
# server and the game server stand-in in a real X server. Logged out and
# idle, the program asks the game server nothing. Logged in, the roster
# names a clan mate on the stand-in: the mouse resting on that row shows the
# server's info within 2 s (one query), the row's "Server-Info..." opens the
# panel, and its "Beitreten" starts the game onto the server. Logged out
# and minimised again, no further query goes out.
#   server_info.sh <build dir>
# With QUAVIK_E2E_SHOTS set to a directory, screenshots of the tooltip and
# the panel are kept there.
source "$(dirname "$0")/xvfb_session.sh"
build=$1

program_and_game_dirs
crlf "Log: LoadMap: Entry?Name=Kim?Team=255" > "$sys/tacticalops.log"
crlf "[Engine.Input]" "F1=" "" "[DefaultPlayer]" "Name=Kim" > "$sys/TOUser.ini"
crlf "[Engine.Engine]" "GameRenderDevice=SoftDrv.SoftwareRenderDevice" > "$sys/tacticalops.ini"
# The "game" notes the arguments it was started with.
printf '#!/bin/sh\nprintf "%%s\\n" "$@" > launched.tmp && mv launched.tmp launched.txt\n' > "$sys/UnrealTournament.exe"
chmod +x "$sys/UnrealTournament.exe"

shot() { [ -z "${QUAVIK_E2E_SHOTS:-}" ] || import -window root "$QUAVIK_E2E_SHOTS/$1.png"; }

start_xvfb
start_game_server_standin --name "Clan Server" --map TO-Rapid --gametype "Tactical Ops" --max 13 \
  --player "Anna:12:40" --player "Bernd:3:70" --player "Carl:7:55"
game_server="127.0.0.1:$((query_port - 1))"
start_clan_server --clan-pass pw --seed "Ada|$game_server|TO-Rapid"

# Every setting filled in, so no first-start notice appears; the longest
# interval, so no timer tick falls into the test; Tactical Ops (the text query).
crlf "[MAIN]" \
     "Script-URL=http://127.0.0.1:$port/quavik.php" \
     "Directory=$game/" \
     "Pass=pw" \
     "Update-Intervall=9" \
     "Clansite=http://127.0.0.1:$port/" \
     "TOLogSizeCheck=0" \
     "Programmversion=0" \
     "Keybinder=-1" "Keybinder_say=-1" "Keybinder_teamsay=-1" \
     "[GUI]" "XPOS=40" "YPOS=40" "TrayMinimize=1" > "$program/quavik.ini"

(cd "$work" && exec "$program/quavik" LOG) &
quavik=$!
E2E_PIDS+=($quavik)
main=$(wait_main_window)

# Logged out and idle: no query at all.
sleep 2
expect_standin_queries 0

click_in_window "$main" 50 368  # Anmelden
wait_start_stop_done 1

# The height of the tallest visible window of quavik besides the main window
# (a tooltip, a menu); 0 when there is none.
other_window_height() {
  local id tallest=0
  for id in $(xdotool search --onlyvisible --pid "$quavik" 2>/dev/null); do
    [ "$id" = "$main" ] && continue
    eval "$(xdotool getwindowgeometry --shell "$id")"
    [ "$HEIGHT" -gt "$tallest" ] && tallest=$HEIGHT
  done
  echo "$tallest"
}

# The mouse rests on Ada's row (row 1, under the heading strip): within 2 s
# the tooltip holds the answer, taller than the one line "Abfrage läuft...".
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $((X + 60)) $((Y + 70))
rested=$(date +%s%N)
answered=""
for i in $(seq 40); do
  if [ "$(standin_queries)" = 1 ] && [ "$(other_window_height)" -gt 60 ]; then answered=yes; break; fi
  sleep 0.1
done
elapsed_ms=$((($(date +%s%N) - rested) / 1000000))
[ -n "$answered" ] || fail "no server info tooltip within 4 s (queries: $(standin_queries), window height $(other_window_height))"
[ "$elapsed_ms" -le 2700 ] || fail "the server info took $elapsed_ms ms after the mouse came to rest"
echo "tooltip with the answer after $elapsed_ms ms (including the tooltip delay)"
shot tooltip

# The row's popup menu: "Server-Info..." opens the panel; the answer is
# still fresh, so no new query.
xdotool click 3
sleep 0.5
xdotool key Down Return
panel=$(wait_window "Quavik RC5 - Server-Info" 5) || fail "the server info panel did not open"
sleep 0.5
shot panel
expect_standin_queries 1

# "Beitreten" (the right one of the two buttons at the panel's foot).
eval "$(xdotool getwindowgeometry --shell "$panel")"
xdotool mousemove $((X + WIDTH * 3 / 4)) $((Y + HEIGHT - 18)) click 1
for i in $(seq 50); do [ -f "$sys/launched.txt" ] && break; sleep 0.1; done
[ "$(head -n1 "$sys/launched.txt" 2>/dev/null)" = "$game_server/index.unr" ] \
  || fail "the join did not start the game on $game_server: $(cat "$sys/launched.txt" 2>/dev/null)"

# Logged out and minimised: nothing is asked any more.
xdotool windowfocus --sync "$panel" key Escape
click_in_window "$main" 50 368  # Abmelden
wait_start_stop_done 2
click_in_window "$main" 268 12  # Minimieren
sleep 3
expect_standin_queries 1

echo "PASS"
