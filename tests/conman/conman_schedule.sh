#!/usr/bin/env bash
# The whole program on the simulated service, offscreen, with a schedule in its settings file
# as the Connection Manager's dialogs store it: select a profile at the next minute, dial at
# the one after, disconnect two minutes later and quit one minute after that. Nothing else
# touches the program; it must end by itself with each "ConMan:" line at its minute.
set -euo pipefail
program="$1"

home="$(mktemp -d)"
pid=""
cleanup() {
    if [ -n "$pid" ]; then
        kill -TERM "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
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

cat >"$KESTRELON_RAS_DIR/rasphone.pbk" <<'PBK'
[Home Line]
PhoneNumber=0800 555 0101
DeviceMs=300
AuthMs=200
[Office Line]
PhoneNumber=0800 555 0202
DeviceMs=300
AuthMs=200
PBK

# Start early enough in a minute that the program is up before it ends: the minute it starts
# in is skipped, the schedule begins with the next.
while [ "$((10#$(date +%S)))" -gt 45 ]; do sleep 1; done
start="$(date +%s)"
at() { # minutes from now -> "hour minute"
    local t=$((start + $1 * 60))
    echo "$((10#$(date -d "@$t" +%H))) $((10#$(date -d "@$t" +%M)))"
}
stamp() { # minutes from now -> "hh:mm" as the log shows it
    date -d "@$((start + $1 * 60))" +%H:%M
}
task() { # number, minutes from now, action, connection
    read -r hour minute <<<"$(at "$2")"
    printf '%shour=%s\n%sminute=%s\n%saction=%s\n%sconnection=%s\n' \
        "$1" "$hour" "$1" "$minute" "$1" "$3" "$1" "$4"
}

{
    cat <<'INI'
[Settings]
Version=1.00
ProgLog=Program.log
DialLog=Dial.log
ErrorLog=Error.log
MaxLogSize=50
DialDelay=500
DynDelay=True
WaitInvalidate=True
ShowError=True
ConMan=True
LastCon=1
[ConProf]
nProfs=2
1Name=Home
1Con1=Home Line
2Name=Office
2Con1=Office Line
[tasks]
nTasks=4
INI
    task 1 1 1 2
    task 2 2 2 0
    task 3 4 0 0
    task 4 5 4 0
} >"$home/Kestrelon.Ini"

"$program" &
pid=$!

# The program ends by itself at the Quit task, at the latest six minutes from now.
for ((i = 0; i < 400; i++)); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 1
done
kill -0 "$pid" 2>/dev/null && fail "the program did not quit on schedule"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "exit status after the Quit task was $status"

# Each expected line, in this order, written in its minute.
expected=(
    "$(stamp 1)|ConMan: Connection Office Selected"
    "$(stamp 2)|ConMan: Start dialing"
    "$(stamp 2)|Started dialing: Office"
    "$(stamp 2)|Connection established to Office"
    "$(stamp 4)|ConMan: Disconnect"
    "$(stamp 4)|Connection broken by user"
    "$(stamp 5)|ConMan: Quit"
    "$(stamp 5)|Kestrelon shut down"
)
actual="$(tr -d '\r' <"$home/Program.log" | grep -E '  (ConMan:|Started dialing|Connection |Kestrelon shut down)' |
    sed -E 's/^[0-9]{2}\/[0-9]{2}\/[0-9]{2} ([0-9]{2}:[0-9]{2}):[0-9]{2}  /\1|/')"
[ "$actual" = "$(printf '%s\n' "${expected[@]}")" ] ||
    fail "the program log differs; expected:
$(printf '  %s\n' "${expected[@]}")
got:
$(sed 's/^/  /' <<<"$actual")"
grep -qF "Connection Time:" "$home/Dial.log" || fail "no connection summary in the dial log"
echo "schedule selected, dialled, disconnected and quit on its own: ok"
