#!/usr/bin/env bash
# The sync folder with real engines on 127.0.0.1: Radicale as the CalDAV server and vdirsyncer
# between Jotterly's sync folder and one of its calendars, run by the tray menu's "Sync Now".
# A reminder of Jotterly reaches the server as a VEVENT with its VALARM; an event made on the
# server (as a phone would) becomes a note that rings here; OK here removes it on the server.
JOTTERLY_BIN=$(readlink -f "$1")
source "$(dirname "$0")/../../scripts/e2e-lib.sh"
e2e_start_display

PY=/usr/bin/python3 # Debian's, which has python3-caldav
data="$XDG_DATA_HOME/jotterly"
sync="$E2E_TMP/sync"
mkdir -p "$sync" "$E2E_TMP/radicale"
port=$($PY -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
url="http://127.0.0.1:$port/test/jotterly/"

cat >"$E2E_TMP/radicale.conf" <<CONF
[server]
hosts = 127.0.0.1:$port
[auth]
type = none
[storage]
filesystem_folder = $E2E_TMP/radicale
CONF
radicale --config "$E2E_TMP/radicale.conf" >"$E2E_TMP/radicale.log" 2>&1 &
E2E_PIDS+=($!)
e2e_wait_for 20 $PY -c "import socket; socket.create_connection(('127.0.0.1', $port), 1)" ||
    e2e_fail "Radicale did not start: $(cat "$E2E_TMP/radicale.log")"

caldav() { # runs Python with "cal", the server's calendar
    $PY - "$url" <<PYEOF
import sys, caldav
client = caldav.DAVClient("http://127.0.0.1:$port/", username="test", password="x")
try:
    cal = client.calendar(url=sys.argv[1]); cal.events()
except Exception:
    cal = client.principal().make_calendar(name="jotterly", cal_id="jotterly")
$(cat)
PYEOF
}
echo "pass" | caldav || e2e_fail "no calendar on the server"

cat >"$E2E_TMP/vdirsyncer.conf" <<CONF
[general]
status_path = "$E2E_TMP/vdirsyncer-status/"
[pair jotterly]
a = "folder"
b = "server"
collections = null
[storage folder]
type = "filesystem"
path = "$sync/"
fileext = ".ics"
[storage server]
type = "caldav"
url = "$url"
username = "test"
password = "x"
CONF
vdirsyncer -c "$E2E_TMP/vdirsyncer.conf" discover </dev/null >>"$E2E_TMP/vdirsyncer.log" 2>&1 ||
    e2e_fail "vdirsyncer discover failed: $(cat "$E2E_TMP/vdirsyncer.log")"

"$NOTEFILE" due "$DATA" 3600 || e2e_fail "could not write the data file"
printf 'sync_folder=%s\nsync_command=vdirsyncer -c "%s" sync\n' "$sync" "$E2E_TMP/vdirsyncer.conf" \
    >"$data/jotterly.conf"
e2e_start_in_tray
e2e_wait_for 20 bash -c "ls '$sync'/*.ics >/dev/null 2>&1" || e2e_fail "nothing mirrored to $sync"

# Main menu rows with "Sync Now": ... Note Manager 6 2, Sync Now 7 2, Check Email 8 2, Exit 9 3.
sync_now() {
    e2e_choose 7 2 10
    sleep 3 # vdirsyncer runs in the background; its end rescans the folder
}
sync_now
server_has() { echo "sys.exit(0 if any('$1' in e.data and 'BEGIN:VALARM' in e.data for e in cal.events()) else 1)" | caldav; }
e2e_wait_for 20 server_has "SUMMARY:Due note" ||
    e2e_fail "the reminder is not on the server: $(cat "$E2E_TMP/vdirsyncer.log" "$E2E_TMP/app.log")"

# An event made on the server, due in 25 s with an alarm at its start.
due=$(date -u -d '+25 seconds' +%Y%m%dT%H%M%SZ)
caldav <<PYEOF || e2e_fail "could not add the event on the server"
cal.save_event("""BEGIN:VCALENDAR
VERSION:2.0
PRODID:-//test//phone//EN
BEGIN:VEVENT
UID:phone-event-1
DTSTAMP:$due
DTSTART:$due
SUMMARY:Server event
BEGIN:VALARM
ACTION:DISPLAY
DESCRIPTION:Server event
TRIGGER:-PT0M
END:VALARM
END:VEVENT
END:VCALENDAR
""")
PYEOF
sync_now
e2e_wait_for 20 bash -c "'$NOTEFILE' dump '$DATA' | grep -q 'Server event'" ||
    e2e_fail "the server's event did not become a note: $("$NOTEFILE" dump "$DATA")"

ringing_window() {
    e2e_visible_windows "$APP_PID" | awk '$4 == 234 && $5 == 208 { print; found = 1 } END { exit !found }'
}
e2e_wait_for 60 ringing_window || e2e_fail "the server's event did not ring"
e2e_screenshot "$ARTIFACTS/sync-ringing.png"
read -r win x y w h < <(ringing_window | head -1)
xdotool mousemove --sync $((x + 120)) $((y + 193)) click 1 # OK
e2e_wait_for 10 bash -c "! '$NOTEFILE' dump '$DATA' | grep -q 'Server event'" ||
    e2e_fail "OK did not remove the note"
sync_now
gone() { echo "sys.exit(1 if any('Server event' in e.data for e in cal.events()) else 0)" | caldav; }
e2e_wait_for 20 gone || e2e_fail "the acknowledged event is still on the server"
server_has "SUMMARY:Due note" || e2e_fail "the other reminder left the server"

kill -TERM "$APP_PID"
e2e_wait_exit "$APP_PID" 10 || e2e_fail "no exit after SIGTERM"
[ "$EXIT_STATUS" = 0 ] || e2e_fail "exit status $EXIT_STATUS"
echo "1 passed, 0 failed"
