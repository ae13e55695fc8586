#!/usr/bin/env bash
# quavik --query against the game server stand-in, both as separate
# programs: the answer is the stand-in's server, and the stand-in counts
# exactly the requests that went out (one text request; three binary ones),
# none while nobody asks.
#   query_standin.sh <build dir>
source "$(dirname "$0")/xvfb_session.sh"
build=$1

start_game_server_standin --name "Clan Server" --map DM-Deck16][ --max 13 \
  --player "Anna:12:40" --player "Bernd:3:70"
[ "$(standin_queries)" = 0 ] || fail "requests before any query: $(standin_queries)"

answer=$("$build/quavik" --query "127.0.0.1:$((query_port - 1))" --game ut --json) || fail "no answer from the stand-in"
[[ "$answer" == *'"server":"Clan Server"'* && "$answer" == *'"max_players":13'* && "$answer" == *'"name":"Anna"'* ]] \
  || fail "unexpected answer: $answer"
expect_standin_queries 1  # one text request

"$build/quavik" --query 127.0.0.1 --query-port "$query_port" --game ut2004 >/dev/null || fail "no binary answer"
expect_standin_queries 4  # and three binary ones
sleep 0.3
expect_standin_queries 4  # and nothing after the answers
echo "PASS"
