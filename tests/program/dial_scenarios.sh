#!/usr/bin/env bash
# The whole program on the simulated service, offscreen: it dials at start-up through two busy
# signals, notices a hang-up made from outside, takes over a connection another program made,
# and reconnects that one when it is broken.
set -euo pipefail
program="$1"
rasdial="$(dirname "$program")/kestrelon-rasdial"

home="$(mktemp -d)"
pid=""
# Ends the program; one that does not end on SIGTERM within 10 s is killed and reported.
stop_program() {
    [ -n "$pid" ] || return 0
    kill -TERM "$pid" 2>/dev/null || true
    for ((i = 0; i < 100; i++)); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        echo "FAIL: the program did not end on SIGTERM" >&2
        kill -KILL "$pid" 2>/dev/null || true
    fi
    wait "$pid" 2>/dev/null || true
    pid=""
}
cleanup() {
    stop_program
    "$rasdial" "Elsewhere" /disconnect >/dev/null 2>&1 || true
    rm -rf "$home"
}
trap cleanup EXIT
export KESTRELON_HOME="$home"
export KESTRELON_RAS_DIR="$home/ras"
export QT_QPA_PLATFORM=offscreen
mkdir -p "$KESTRELON_RAS_DIR"

fail() {
    echo "FAIL: $*" >&2
    for log in Program.log Dial.log Error.log; do
        [ -f "$home/$log" ] && sed "s/^/  $log: /" "$home/$log" >&2
    done
    exit 1
}

wait_for_log() { # file, text, seconds
    local limit=$(($3 * 10))
    for ((i = 0; i < limit; i++)); do
        if grep -qF -- "$2" "$home/$1" 2>/dev/null; then
            return 0
        fi
        sleep 0.1
    done
    return 1
}

count_in_log() {
    grep -cF -- "$2" "$home/$1" 2>/dev/null || true
}

cat >"$KESTRELON_RAS_DIR/rasphone.pbk" <<'EOF'
[City Net]
PhoneNumber=0800 555 0101
UserName=jdoe
Password=secret
Answer=busy busy connect
FailMs=300
DeviceMs=300
AuthMs=200
[Elsewhere]
PhoneNumber=0800 555 0202
DeviceMs=100
AuthMs=100
EOF

cat >"$home/Kestrelon.Ini" <<'EOF'
[Settings]
Version=1.00
ProgLog=Program.log
DialLog=Dial.log
ErrorLog=Error.log
MaxLogSize=50
DialDelay=500
DynDelay=True
WaitInvalidate=True
StartDial=True
ShowError=True
LastCon=1
[ConProf]
nProfs=2
1Name=City
1Con1=City Net
1UName=jdoe
1IgnErr=676
2Name=Other
2Con1=Elsewhere
2Reconnect=True
EOF

"$program" &
pid=$!

# Start-up dials the last used profile through two busy signals.
wait_for_log Program.log "Started dialing: City" 40 || fail "no dial at start-up"
wait_for_log Program.log "Connection established to City" 30 || fail "City did not connect"
grep -qF "Dials: 3" "$home/Dial.log" || fail "Dial.log does not show 3 dials"
[ "$(count_in_log Error.log 676)" -eq 2 ] || fail "Error.log does not hold the two busy signals"
listed="$("$rasdial")"
grep -qF "City Net" <<<"$listed" || fail "the service does not list the connection: $listed"

# A hang-up from outside is noticed; City does not reconnect.
"$rasdial" "City Net" /disconnect >/dev/null || fail "kestrelon-rasdial could not hang up"
wait_for_log Program.log "Connection broken" 40 || fail "the broken connection went unnoticed"
wait_for_log Dial.log "Connection Time:" 40 || fail "no connection summary"

# Another program connects: the idle program takes the connection over.
"$rasdial" "Elsewhere" >/dev/null || fail "kestrelon-rasdial could not connect Elsewhere"
wait_for_log Program.log "Connection detected: Other" 40 || fail "no takeover"

# That connection breaks; Other has Reconnect, so a new dial follows.
sleep 1.5
"$rasdial" "Elsewhere" /disconnect >/dev/null || fail "kestrelon-rasdial could not hang up Elsewhere"
wait_for_log Program.log "Started dialing: Other" 40 || fail "no reconnect dial"
wait_for_log Program.log "Connection established to Other" 40 || fail "the reconnect did not connect"
[ "$(count_in_log Program.log "Connection broken")" -ge 2 ] || fail "the second break was not logged"

kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "exit status after SIGTERM was $status"
wait_for_log Program.log "Kestrelon shut down" 1 || fail "no shut-down line"
echo "start-up dial, outside hang-up, takeover, reconnect and SIGTERM: ok"
