#!/usr/bin/env bash
# Starts Kestrelon in an empty program directory on a virtual X display, answers the
# first-run language question as a user would, checks what the first run wrote, that a
# second start leaves quietly, and that SIGTERM shuts the program down cleanly.
set -euo pipefail

if [ "${1:-}" != "--inside-display" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside-display "$@"
fi
shift
program="$1"

home="$(mktemp -d)"
pid=""
# A failed check must not leave the program behind, nor remove its directory under it.
trap '[ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null; rm -rf "$home"' EXIT
export KESTRELON_HOME="$home"
# The simulated dial-up service keeps its phone book here, away from the user's own.
export KESTRELON_RAS_DIR="$home/ras"
export QT_QPA_PLATFORM=xcb

fail() {
    echo "FAIL: $*" >&2
    [ -f "$home/Program.log" ] && sed 's/^/  Program.log: /' "$home/Program.log" >&2
    exit 1
}

wait_for() { # seconds, then a command that must succeed
    local limit=$(($1 * 10))
    shift
    for ((i = 0; i < limit; i++)); do
        if "$@" 2>/dev/null; then
            return 0
        fi
        sleep 0.1
    done
    return 1
}

"$program" &
pid=$!

# The chooser carries the program's caption and offers English first: Return accepts it.
# There is no window manager, so the key goes in through the keyboard focus.
answer_chooser() {
    local window
    window="$(xdotool search --onlyvisible --name "^Kestrelon 2000$" | head -n 1)"
    [ -n "$window" ] && xdotool windowfocus --sync "$window" key Return &&
        grep -q "Kestrelon started" "$home/Program.log"
}
wait_for 30 answer_chooser || fail "the language chooser did not appear or did not take Return"

wait_for 20 grep -q "Kestrelon started" "$home/Program.log" || fail "no start line in Program.log"
[ -f "$home/Kestrelon.Ini" ] || fail "no Kestrelon.Ini written"
grep -qi "^Version=" "$home/Kestrelon.Ini" || fail "Kestrelon.Ini holds no version"
grep -qi "^ProgLog=Program.log" "$home/Kestrelon.Ini" || fail "first-run log names not saved"
# The first run made one profile per entry of the (sample) phone book.
[ -f "$home/ras/rasphone.pbk" ] || fail "no sample phone book"
grep -qi "^nProfs=[1-9]" "$home/Kestrelon.Ini" || fail "no profiles made from the phone book"

# A second start finds the running one and leaves without a word.
second_status=0
timeout 20 "$program" || second_status=$?
[ "$second_status" -eq 0 ] || fail "second instance ended with $second_status"
[ "$(grep -c "Kestrelon started" "$home/Program.log")" -eq 1 ] || fail "second instance started"
kill -0 "$pid" || fail "the first instance did not survive the second start"

kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "exit status after SIGTERM was $status"
grep -q "Kestrelon shut down" "$home/Program.log" || fail "no shut-down line in Program.log"
echo "start, first run, second instance and SIGTERM: ok"
