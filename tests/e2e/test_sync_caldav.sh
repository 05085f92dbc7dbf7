#!/usr/bin/env bash
# The sync folder with real engines on 127.0.0.1: Radicale as the CalDAV server, and vdirsyncer
# between the same calendar and the sync folders of two Jotterlys: A runs it from its tray
# menu's "Sync Now", B as a timer would. A's reminder reaches the server as a VEVENT with its
# VALARM and B's notes; one made in A's Note Manager rings in B at its time; an event made on
# the server (as a phone would) becomes a note that rings
# in both; OK in A removes it from the server and stops B's ringing after B's next sync; a note
# changed on the server and in A between two syncs ends with both versions on every side.
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

# A vdirsyncer configuration $1 between folder $2 and the calendar.
vdir_config() {
    cat >"$1" <<CONF
[general]
status_path = "$1.status/"
[pair jotterly]
a = "folder"
b = "server"
collections = null
conflict_resolution = ["command", "$JOTTERLY_BIN", "sync-conflict", "$2"]
[storage folder]
type = "filesystem"
path = "$2/"
fileext = ".ics"
[storage server]
type = "caldav"
url = "$url"
username = "test"
password = "x"
CONF
    vdirsyncer -c "$1" discover </dev/null >>"$E2E_TMP/vdirsyncer.log" 2>&1 ||
        e2e_fail "vdirsyncer discover failed: $(cat "$E2E_TMP/vdirsyncer.log")"
}
vdir_config "$E2E_TMP/vdirsyncer.conf" "$sync"

# B: its own data, runtime and sync folder, and no notes of its own.
b_data="$E2E_TMP/data-b/jotterly"
b_sync="$E2E_TMP/sync-b"
mkdir -p "$b_data" "$b_sync" "$E2E_TMP/runtime-b"
chmod 700 "$E2E_TMP/runtime-b"
vdir_config "$E2E_TMP/vdirsyncer-b.conf" "$b_sync"
"$NOTEFILE" many "$b_data/Note.Dat" 0 || e2e_fail "could not write B's data file"
printf 'sync_folder=%s\n' "$b_sync" >"$b_data/jotterly.conf"
sync_b() { vdirsyncer -c "$E2E_TMP/vdirsyncer-b.conf" sync </dev/null >>"$E2E_TMP/vdirsyncer.log" 2>&1; }
b_has() { "$NOTEFILE" dump "$b_data/Note.Dat" | grep -q "$1"; }

"$NOTEFILE" due "$DATA" 3600 || e2e_fail "could not write the data file"
printf 'sync_folder=%s\nsync_command=vdirsyncer -c "%s" sync\n' "$sync" "$E2E_TMP/vdirsyncer.conf" \
    >"$data/jotterly.conf"
E2E_APP_ENV=(XDG_DATA_HOME="$E2E_TMP/data-b" XDG_RUNTIME_DIR="$E2E_TMP/runtime-b")
e2e_start_app nologo
B_PID=$APP_PID
E2E_APP_ENV=()
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
sync_b || e2e_fail "B's vdirsyncer failed: $(cat "$E2E_TMP/vdirsyncer.log")"
e2e_wait_for 20 b_has "Due note" || e2e_fail "A's reminder did not reach B"

# A One Time reminder made in A's Note Manager with keys alone, a minute ahead (times made in
# the editor have whole minutes: start early in a minute), reaches B and rings there in time.
while [ $((10#$(date +%S))) -ge 15 ]; do sleep 1; done
e2e_open_manager
xdotool windowfocus --sync "$MGR"
sleep 0.3
# Ctrl+N: an empty One Time entry at the next whole hour, the subject focused. Shift+Tab: the
# start, its day selected; Right twice to the hour, one back; Right to the minute, up to the
# next minute of this hour. Tab to the subject, past the item text, to "Add".
xdotool key --delay 80 ctrl+n
xdotool type --delay 20 "Made in A"
ups=$((10#$(date +%M) + 1))
xdotool key --delay 80 shift+Tab Right Right Down Right
xdotool key --delay 20 $(printf 'Up %.0s' $(seq "$ups"))
xdotool key --delay 80 Tab Tab Tab space
sleep 0.5
xdotool key Escape
e2e_wait_for 5 e2e_window_gone "Note Manager" || e2e_fail "Escape did not close the manager"
e2e_wait_for 5 bash -c "'$NOTEFILE' alarms '$DATA' | grep -q 'Made in A$'" ||
    e2e_fail "A's Note.Dat lacks the note: $("$NOTEFILE" alarms "$DATA")"
made_due=$("$NOTEFILE" alarms "$DATA" | awk '/Made in A$/ { print $1, $2 }')
made_due_ms=$(($(date -d "$made_due" +%s) * 1000))
sync_now
e2e_wait_for 20 server_has "SUMMARY:Made in A" || e2e_fail "the manager's reminder is not on the server"
sync_b || e2e_fail "B's vdirsyncer failed: $(cat "$E2E_TMP/vdirsyncer.log")"
e2e_wait_for 20 b_has "Made in A" || e2e_fail "the manager's reminder did not reach B"
ahead_s=$(((made_due_ms - $(e2e_now_ms)) / 1000))
echo "the manager's reminder is due in ${ahead_s} s"
[ "$ahead_s" -ge 3 ] || e2e_fail "too slow: the reminder fell due before it reached B"
e2e_ringing_windows "$B_PID" && e2e_fail "B rang before the reminder's time"
e2e_wait_for $((ahead_s + 30)) e2e_ringing_windows "$B_PID" || e2e_fail "the manager's reminder did not ring in B"
e2e_expect_rang_in_time "$made_due_ms" 7500
# Answered in both (A rings too): B's goes aside, so each click reaches its own OK.
e2e_wait_for 20 e2e_ringing_windows "$APP_PID" || e2e_fail "the manager's reminder did not ring in A"
read -r bwin _ < <(e2e_ringing_windows "$B_PID" | head -1)
xdotool windowmove --sync "$bwin" 0 40
e2e_ok_ringing "$B_PID"
e2e_ok_ringing "$APP_PID"
e2e_wait_for 10 bash -c "! '$NOTEFILE' dump '$DATA' | grep -q 'Made in A'" || e2e_fail "OK in A kept the note"

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

sync_b || e2e_fail "B's vdirsyncer failed: $(cat "$E2E_TMP/vdirsyncer.log")"
e2e_wait_for 20 b_has "Server event" || e2e_fail "the server's event did not reach B"

e2e_wait_for 60 e2e_ringing_windows "$APP_PID" || e2e_fail "the server's event did not ring in A"
e2e_wait_for 20 e2e_ringing_windows "$B_PID" || e2e_fail "the server's event did not ring in B"
# Both ring in the middle of the screen: B's goes aside, so the click reaches A's.
read -r bwin _ < <(e2e_ringing_windows "$B_PID" | head -1)
xdotool windowmove --sync "$bwin" 0 40
e2e_screenshot "$ARTIFACTS/sync-ringing.png"
e2e_ok_ringing
e2e_wait_for 10 bash -c "! '$NOTEFILE' dump '$DATA' | grep -q 'Server event'" ||
    e2e_fail "OK did not remove the note"
sync_now
gone() { echo "sys.exit(1 if any('Server event' in e.data for e in cal.events()) else 0)" | caldav; }
e2e_wait_for 20 gone || e2e_fail "the acknowledged event is still on the server"
server_has "SUMMARY:Due note" || e2e_fail "the other reminder left the server"
sync_b || e2e_fail "B's vdirsyncer failed: $(cat "$E2E_TMP/vdirsyncer.log")"
b_quiet() { ! e2e_ringing_windows "$B_PID" >/dev/null; }
e2e_wait_for 20 b_quiet || e2e_fail "B still rings after A's OK reached it"
e2e_wait_for 10 bash -c "! '$NOTEFILE' dump '$b_data/Note.Dat' | grep -q 'Server event'" ||
    e2e_fail "B kept the acknowledged note"
b_has "Due note" || e2e_fail "B lost the other reminder"
# A conflicting edit: one note changed on the server (as a phone would) and in A between two
# syncs. A's version goes on and the server's comes back as a conflict copy; both reach B.
"$JOTTERLY_BIN" new-note || e2e_fail "new-note was not handed over"
e2e_wait_for 10 e2e_notes_shown 1 || e2e_fail "no new note"
type_in_note() {
    local x y w h
    read -r _ x y w h < <(e2e_visible_windows "$APP_PID" | head -1)
    xdotool mousemove --sync $((x + w / 2)) $((y + h / 2)) click 1
    sleep 0.3
    xdotool key ctrl+End
    xdotool type --delay 20 "$1"
}
type_in_note "Shared plan"
folder_has() { grep -q "$1" "$2"/*.ics 2>/dev/null; }
e2e_wait_for 30 folder_has "Shared plan" "$sync" || e2e_fail "the new note was not mirrored"
sync_now
any_on_server() { # every item: events, journals, to-dos
    echo "sys.exit(0 if any('$1' in o.data for o in cal.events() + cal.journals() + cal.todos()) else 1)" | caldav
}
e2e_wait_for 20 any_on_server "Shared plan" || e2e_fail "the new note is not on the server"
caldav <<'PYEOF' || e2e_fail "could not edit the note on the server"
for o in cal.events() + cal.journals() + cal.todos():
    if "Shared plan" in o.data:
        o.data = o.data.replace("Shared plan", "Plan from the phone")
        o.save()
PYEOF
type_in_note " edited in A"
e2e_wait_for 30 folder_has "Shared plan edited in A" "$sync" || e2e_fail "A's edit was not mirrored"
sync_now
e2e_wait_for 20 folder_has "Plan from the phone" "$sync" ||
    e2e_fail "the server's version did not reach A: $(tail -20 "$E2E_TMP/vdirsyncer.log")"
sync_now # takes the conflict copy to the server
sync_b || e2e_fail "B's vdirsyncer failed: $(cat "$E2E_TMP/vdirsyncer.log")"
for side in "$sync" "$b_sync"; do
    e2e_wait_for 20 folder_has "Shared plan edited in A" "$side" || e2e_fail "$side lacks A's version"
    e2e_wait_for 20 folder_has "Plan from the phone" "$side" || e2e_fail "$side lacks the server's version"
done
for version in "Shared plan edited in A" "Plan from the phone"; do
    any_on_server "$version" || e2e_fail "the server lacks \"$version\""
done
e2e_wait_for 10 b_has "Conflict copy: Plan from the phone" || e2e_fail "B has no conflict copy: $("$NOTEFILE" dump "$b_data/Note.Dat")"
"$NOTEFILE" dump "$DATA" | grep -q "Conflict copy: Plan from the phone" || e2e_fail "A has no conflict copy"
[ -z "$(find "$sync" "$b_sync" -name '*sync-conflict*')" ] || e2e_fail "a conflict file was left"
e2e_screenshot "$ARTIFACTS/sync-conflict.png"

e2e_quit_app "$B_PID"
e2e_quit_app
echo "1 passed, 0 failed"
