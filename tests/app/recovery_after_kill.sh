#!/usr/bin/env bash
# The real program under Xvfb: an edit leaves a recovery copy in the state folder; after
# SIGKILL the next start offers it (unattended runs print the offer and answer No, which
# deletes the copy). Usage: recovery_after_kill.sh QUILLEX SONG
set -euo pipefail
quillex="$1"
song="$2"
work="$(mktemp -d)"
trap 'kill -9 $pid 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_STATE_HOME="$work/state"
export QUILLEX_UNATTENDED=1 QUILLEX_RECOVERY_SECONDS=1
unset QT_QPA_PLATFORM
copy="$XDG_STATE_HOME/quillex/recovery/recovery.qx"

wait_for() { # up to 10 s
    for _ in $(seq 100); do eval "$1" && return 0; sleep 0.1; done
    return 1
}

"$quillex" "$song" 2>"$work/first.log" &
pid=$!
wait_for '[ -n "$(xdotool search --onlyvisible --name "^quillex" 2>/dev/null)" ]' || {
    echo "no window"; exit 1; }
sleep 0.5
[ ! -e "$copy" ] || { echo "a copy before any edit"; exit 1; }
# Sync mode, then a beat before the first one.
xdotool key --delay 100 Tab shift+n
wait_for '[ -f "$copy" ] && [ -f "${copy%.qx}.qxx" ]' || {
    cat "$work/first.log"; echo "no recovery copy after an edit"; exit 1; }
kill -9 $pid
wait $pid 2>/dev/null || true

"$quillex" "$song" 2>"$work/second.log" &
pid=$!
wait_for 'grep -q "did not close normally" "$work/second.log"' || {
    cat "$work/second.log"; echo "the copy was not offered"; exit 1; }
wait_for '[ ! -e "$copy" ]' || { echo "No kept the copy"; exit 1; }
kill $pid
wait $pid 2>/dev/null || true
echo "recovery copy offered after SIGKILL"
