#!/usr/bin/env bash
# A desktop with no system tray: the program says so once, in a notice that names the launcher
# actions, keeps running, and the launcher words still reach it.
JOTTERLY_BIN=$(readlink -f "$1")
E2E_NO_TRAY=1
source "$(dirname "$0")/../../scripts/e2e-lib.sh"
e2e_start_display

# A new note is titled "Jotterly" too until it has a title of its own: the notice is a dialog.
notice_window() {
    local id
    for id in $(e2e_visible_windows "$APP_PID" | awk '{print $1}'); do
        [ "$(xdotool getwindowname "$id")" = Jotterly ] &&
            xprop -id "$id" _NET_WM_WINDOW_TYPE | grep -q DIALOG && echo "$id"
    done | head -n 1
}
notice_shown() { [ -n "$(notice_window)" ]; }
notices_told() { grep -c 'no system tray' "$E2E_TMP/app.log" || true; }

e2e_start_app nologo new-note
e2e_wait_for 10 e2e_notes_shown 2 || e2e_fail "new-note did not start the program without a tray"
e2e_wait_for 10 notice_shown || e2e_fail "no notice about the missing tray"
notice=$(notice_window)
sleep 0.5
import -window "$notice" "$ARTIFACTS/no-tray-notice.png"
[ "$(notices_told)" = 1 ] || e2e_fail "the missing tray was told $(notices_told) times"
grep -q 'jotterly new-note' "$E2E_TMP/app.log" || e2e_fail "the notice does not name the actions"

# The notice waits for the user without holding anything up.
"$JOTTERLY_BIN" new-note || e2e_fail "new-note was not handed over"
e2e_wait_for 5 e2e_notes_shown 3 || e2e_fail "new-note did not reach the copy without a tray"
xdotool windowfocus --sync "$notice"
xdotool key Return
e2e_wait_for 5 bash -c "! xwininfo -id $notice 2>/dev/null | grep -q IsViewable" ||
    e2e_fail "the notice did not close"
sleep 4
[ "$(notices_told)" = 1 ] || e2e_fail "the missing tray was told again"
notice_shown && e2e_fail "the notice came back"

e2e_quit_by_word
[ "$("$NOTEFILE" dump "$DATA" | wc -l)" = 3 ] || e2e_fail "Note.Dat does not hold the two new notes"
echo "1 passed, 0 failed"
