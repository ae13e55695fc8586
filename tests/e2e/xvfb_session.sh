# Sourced by the end-to-end tests: a private Xvfb display, process tracking
# and clean-up of everything started, also when a check fails.
set -euo pipefail

E2E_TMP=$(mktemp -d)
E2E_PIDS=()

e2e_cleanup() {
  local pid
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${E2E_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Lines of a Windows text file.
crlf() { printf '%s\r\n' "$@"; }

# A program directory with a copy of $build/quavik ($program), a working
# directory ($work) and a game directory ($game, its System folder $sys).
program_and_game_dirs() {
  program="$E2E_TMP/program"
  work="$E2E_TMP/work"
  game="$E2E_TMP/game"
  sys="$game/System"
  mkdir -p "$program" "$work" "$sys"
  cp "$build/quavik" "$program/"
}

# Starts Xvfb on a free display, exports DISPLAY and returns once a client
# can connect. -noreset: by default Xvfb resets whenever its last client
# disconnects (every xdotool call is a client), and a program connecting
# during that reset fails with "could not connect to display".
start_xvfb() {
  Xvfb -noreset -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$E2E_TMP/display" 2>"$E2E_TMP/xvfb.log" &
  E2E_PIDS+=($!)
  local i
  for i in $(seq 100); do
    [ -s "$E2E_TMP/display" ] && break
    sleep 0.1
  done
  [ -s "$E2E_TMP/display" ] || fail "Xvfb did not start: $(cat "$E2E_TMP/xvfb.log")"
  export DISPLAY=":$(head -n1 "$E2E_TMP/display")"
  for i in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  fail "no client could connect to Xvfb on $DISPLAY: $(cat "$E2E_TMP/xvfb.log")"
}

# Waits up to $2 seconds (default 10) for a visible window named $1 and prints its id.
wait_window() {
  local name=$1 limit=${2:-10} id="" i
  for i in $(seq $((limit * 10))); do
    id=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | tail -n1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Waits up to $2 seconds for process $1 (a child of this shell) to end with
# exit code $3 (default 0); fails otherwise: a crash or a sanitizer report at
# exit is a failure too.
wait_exit() {
  local pid=$1 limit=${2:-10} expected=${3:-0} i rc
  for i in $(seq $((limit * 10))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      rc=0
      wait "$pid" 2>/dev/null || rc=$?
      [ "$rc" -eq "$expected" ] || fail "process $pid ended with exit code $rc, expected $expected"
      return 0
    fi
    sleep 0.1
  done
  fail "process $pid did not end within ${limit}s"
}

# Fails unless window $1's caption, as the window manager reads it
# (_NET_WM_NAME, and WM_NAME through xdotool), is exactly $2.
expect_caption() {
  local id=$1 expected=$2 net name
  net=$(xprop -id "$id" _NET_WM_NAME) || fail "window $id has gone"
  # xprop shows the text in quotes, with its own quotes escaped.
  [ "$net" = "_NET_WM_NAME(UTF8_STRING) = \"${expected//\"/\\\"}\"" ] || fail "caption: $net, expected \"$expected\""
  name=$(xdotool getwindowname "$id") || fail "window $id has gone"
  [ "$name" = "$expected" ] || fail "window name: \"$name\", expected \"$expected\""
}

# Clicks once with the real X pointer at window-relative coordinates. Two
# presses at one spot closer together than the double-click time (400 ms in
# Qt) are a double click, which the window's image buttons take as one click
# only: a second click comes no sooner than 600 ms after the one before.
E2E_LAST_CLICK_MS=0
click_in_window() {
  local id=$1 x=$2 y=$3 now
  eval "$(xdotool getwindowgeometry --shell "$id")"
  now=$(date +%s%3N)
  if (( now - E2E_LAST_CLICK_MS < 600 )); then
    sleep "0.$(printf '%03d' $((600 - (now - E2E_LAST_CLICK_MS))))"
  fi
  xdotool mousemove $((X + x)) $((Y + y)) click 1
  E2E_LAST_CLICK_MS=$(date +%s%3N)
}

# Answers the first-start notice of a starting quavik and prints the id of
# its 299 x 399 main window.
first_start_main_window() {
  local notice id i
  notice=$(wait_window "Quavik RC5" 15) || fail "no first-start notice appeared"
  sleep 0.3
  xdotool windowfocus --sync "$notice" key Return || fail "could not answer the notice"
  for i in $(seq 50); do
    id=$(wait_window "Quavik RC5" 5) || fail "the main window did not open"
    eval "$(xdotool getwindowgeometry --shell "$id")"
    if [ "$WIDTH" = 299 ] && [ "$HEIGHT" = 399 ]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  fail "no 299 x 399 main window"
}

# Waits up to 10 seconds for the sed script $2 to print a value from the
# file $1 (a started program's output) and prints that value.
await_output_value() {
  local file=$1 script=$2 value i
  for i in $(seq 100); do
    value=$(sed -n "$script" "$file" 2>/dev/null || true)
    [ -n "$value" ] && { echo "$value"; return 0; }
    sleep 0.1
  done
  return 1
}

# Starts the clan server on a free loopback port with the given arguments
# and sets $port; its requests go to $E2E_TMP/server.log.
start_clan_server() {
  "$build/quavik-clan-server" --address 127.0.0.1 --port 0 "$@" \
    >"$E2E_TMP/server.out" 2>"$E2E_TMP/server.log" &
  E2E_PIDS+=($!)
  port=$(await_output_value "$E2E_TMP/server.out" 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p') \
    || fail "the clan server did not start: $(cat "$E2E_TMP/server.log")"
}

# Prints the id of the 299 x 399 main window of a starting quavik; fails
# when another window (a notice) comes up instead.
wait_main_window() {
  local id
  id=$(wait_window "Quavik RC5" 15) || fail "the main window did not open"
  eval "$(xdotool getwindowgeometry --shell "$id")"
  [ "$WIDTH" = 299 ] && [ "$HEIGHT" = 399 ] || fail "a ${WIDTH}x$HEIGHT window instead of the main window (a notice?)"
  echo "$id"
}

# Waits until the activity log $work/quavik.log of the quavik started as
# $quavik (with LOG) holds $1 "END Start/Stop" lines.
wait_start_stop_done() {
  local want=$1 i count=0
  for i in $(seq 300); do
    count=$(grep -c ":   END Start/Stop"$'\r'"\$" "$work/quavik.log" 2>/dev/null || true)
    [ "${count:-0}" -ge "$want" ] && return 0
    kill -0 "$quavik" 2>/dev/null || fail "Quavik ended during Start/Stop"
    sleep 0.1
  done
  echo "Requests so far:" >&2; cat "$E2E_TMP/server.log" >&2
  echo "Windows:" >&2
  for id in $(xdotool search --onlyvisible --name "" 2>/dev/null); do
    echo "  $(xdotool getwindowname "$id" 2>/dev/null) $(xdotool getwindowgeometry "$id" 2>/dev/null | sed -n 's/.*Geometry: //p')" >&2
  done
  fail "Start/Stop number $want did not end within 30 s (a message box?)"
}

# Starts the game server stand-in with the given arguments and sets
# $query_port (its game port is one less); the number of query requests it
# got so far stands in $E2E_TMP/queries.
start_game_server_standin() {
  "$build/quavik-game-server-standin" --count-file "$E2E_TMP/queries" "$@" \
    >"$E2E_TMP/standin.out" 2>"$E2E_TMP/standin.log" &
  E2E_PIDS+=($!)
  query_port=$(await_output_value "$E2E_TMP/standin.out" 's/^port \([0-9]*\)$/\1/p') \
    || fail "the game server stand-in did not start: $(cat "$E2E_TMP/standin.log")"
}

# The number of query requests the stand-in got so far.
standin_queries() { cat "$E2E_TMP/queries"; }

# Waits up to 5 seconds for the stand-in to have counted $1 requests; fails
# when it counted another number by then.
expect_standin_queries() {
  local expected=$1 i
  for i in $(seq 50); do
    [ "$(standin_queries)" = "$expected" ] && return 0
    sleep 0.1
  done
  fail "the stand-in counted $(standin_queries) requests, expected $expected"
}
