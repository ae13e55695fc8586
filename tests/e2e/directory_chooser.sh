#!/usr/bin/env bash
# The directory chooser in the real program: the folder button of the setup
# panel opens it centred, 369 x 332; a folder chosen in its tree lands in the
# game directory box and, once saved, in quavik.ini with its slash.
#   directory_chooser.sh <build dir> [screenshot dir]
source "$(dirname "$0")/xvfb_session.sh"
build=$1
shots=${2:-}

program="$E2E_TMP/program"
home="$E2E_TMP/home"
mkdir -p "$program" "$home/Games/TacticalOps/System" "$home/.cache/fontconfig" "$home/Apps"
cp "$build/quavik" "$program/"
touch "$home/Games/TacticalOps/System/TacticalOps.exe"

start_xvfb
# The tree's home drive is this temp home.
(cd "$E2E_TMP" && HOME="$home" XDG_CONFIG_HOME="$home/.config" exec "$program/quavik") &
quavik=$!
E2E_PIDS+=($quavik)

# The first start opens the setup panel; its folder button opens the chooser.
main=$(first_start_main_window)
sleep 0.5
click_in_window "$main" 262 155
chooser=$(wait_window "Quavik RC5 - Anwendungsverzeichnis suchen" 10) || fail "the chooser did not open"
# The caption as the window manager reads it, exactly.
expect_caption "$chooser" "Quavik RC5 - Anwendungsverzeichnis suchen..."
eval "$(xdotool getwindowgeometry --shell "$chooser")"
[ "$WIDTH" = 369 ] && [ "$HEIGHT" = 332 ] || fail "the chooser is ${WIDTH}x$HEIGHT"
# Centred on the 1024 x 768 screen, to the pixel.
dx=$((X - (1024 - 369) / 2)) dy=$((Y - (768 - 332) / 2))
[ "${dx#-}" -le 1 ] && [ "${dy#-}" -le 1 ] || fail "the chooser is at $X,$Y, not centred"
[ -n "$shots" ] && import -window root "$shots/chooser.png"

# Rows of 18 pixels: the root, "/" and the home drive. A press on the home
# drive's label selects it; a press right of the label of "/" must leave the
# highlight (where the keys below start) on the home drive.
click_in_window "$chooser" 60 45
sleep 0.3
click_in_window "$chooser" 250 27
sleep 0.3
[ -n "$shots" ] && import -window root "$shots/chooser_press_beside.png"

# With the keyboard from there: open the home drive, find Games by typing
# its name (hidden folders such as .cache may come first).
xdotool windowfocus --sync "$chooser"
sleep 0.3
xdotool key Right
sleep 0.2
xdotool type --delay 50 Games
sleep 0.2
# Its folder contents through the menu key: a window captioned with the
# folder's name; OK brings the tree back to Games.
xdotool key Menu
sleep 0.5
xdotool key f
contents=$(wait_window "Files in" 10) || fail "the folder contents window did not open"
[ -n "$shots" ] && import -window root "$shots/folder_contents.png"
expect_caption "$contents" 'Files in "../Games "'
xdotool windowfocus --sync "$contents" key Return
for _ in $(seq 50); do
  xdotool search --onlyvisible --name "Files in" >/dev/null 2>&1 || break
  sleep 0.1
done
sleep 0.3
# Open Games and go down to TacticalOps.
xdotool windowfocus --sync "$chooser"
sleep 0.3
for key in Right Down; do
  xdotool key "$key"
  sleep 0.2
done
[ -n "$shots" ] && import -window root "$shots/chooser_selected.png"
# A double click on the free space below the entries takes the selection.
click_in_window "$chooser" 300 320
xdotool click --repeat 2 --delay 80 1
for _ in $(seq 50); do
  xdotool search --onlyvisible --name "Anwendungsverzeichnis suchen" >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool search --onlyvisible --name "Anwendungsverzeichnis suchen" >/dev/null 2>&1 && fail "the chooser stayed open"

# "Konfiguration speichern & zurückkehren", then close the program.
click_in_window "$main" 149 319
sleep 0.5
[ -n "$shots" ] && import -window root "$shots/saved.png"
xdotool key Return  # the box saying the settings were saved
sleep 0.3
click_in_window "$main" 285 12
wait_exit "$quavik" 15
grep -q "^Directory=$home/Games/TacticalOps/"$'\r'"$" "$program/quavik.ini" \
  || fail "quavik.ini holds $(grep Directory "$program/quavik.ini")"
echo "PASS"
