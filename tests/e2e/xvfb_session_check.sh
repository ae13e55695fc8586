#!/usr/bin/env bash
# The shared X session itself: once start_xvfb returns a client can connect,
# and the server keeps its state when its last client leaves (no reset under
# the next program's feet): a root window property set by one short-lived
# client is still there for the next.
source "$(dirname "$0")/xvfb_session.sh"

start_xvfb
for round in 1 2 3; do
  xprop -root -f QUAVIK_SESSION_PROBE 8s -set QUAVIK_SESSION_PROBE "round $round" \
    || fail "could not set a root property (round $round)"
  value=$(xprop -root QUAVIK_SESSION_PROBE 2>&1) || fail "could not connect again (round $round): $value"
  [[ "$value" == *"\"round $round\""* ]] || fail "the server reset between two clients: $value"
done
echo "PASS"
