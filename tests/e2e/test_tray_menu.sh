#!/usr/bin/env bash
# The tray icon and its menu driven with the pointer on the real program, under Xvfb with a
# tray host: a double click opens one new note window, Show Notes and Ctrl+click raise the
# notes, Close Notes closes them for good, Exit ends with status 0 after saving, and Export then
# Import through the real file dialogs round-trip the data.
JOTTERLY_BIN=$(readlink -f "$1")
source "$(dirname "$0")/../../scripts/e2e-lib.sh"
e2e_start_display

# ---- helpers ---------------------------------------------------------------------------------

# Data > Export ($1 = 0) or Import ($1 = 1).
choose_data() { e2e_choose_in_submenu 1 1 "$1"; }

# Types a path into the open file dialog named $1 and accepts it.
answer_file_dialog() {
    e2e_wait_for 10 e2e_window_shown "$1" || e2e_fail "no '$1' dialog"
    local dialog
    dialog=$(e2e_named_window "$APP_PID" "$1")
    xdotool windowfocus --sync "$dialog"
    sleep 0.3
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 5 "$2"
    xdotool key Return
    e2e_wait_for 10 e2e_window_gone "$1" || e2e_fail "the '$1' dialog stayed open"
}

# Whether window $1 lies above window $2 (xwininfo lists the root's children topmost first).
is_above() {
    xwininfo -root -children | awk -v a="$(printf '0x%x' "$1")" -v b="$(printf '0x%x' "$2")" '
        $1 == a { ia = NR } $1 == b { ib = NR } END { exit !(ia && ib && ia < ib) }'
}

posted_flags() { "$NOTEFILE" dump "$DATA" | awk '{ printf "%s", $1 }'; }

# ---- run 1: a double click makes one note; the menu; raising; Exit -------------------------
e2e_start_in_tray
e2e_wait_for 10 e2e_notes_shown 1 || e2e_fail "the welcome note did not show"
welcome=$(e2e_note_windows "$APP_PID")

xdotool mousemove --window "$ICON" 10 10 click --repeat 2 --delay 120 1
e2e_wait_for 5 e2e_notes_shown 2 || e2e_fail "a double click did not open a note window"
sleep 1 # well past the double-click time: still exactly one new window, and no manager
e2e_notes_shown 2 || e2e_fail "a double click opened $(($(e2e_note_windows "$APP_PID" | wc -l) - 1)) windows"
mine=$(e2e_note_windows "$APP_PID" | grep -v -x "$welcome")

# Another window covers the new note; Show Notes brings the notes forward again.
read -r _ nx ny nw nh <<<"$(e2e_visible_windows "$APP_PID" | grep "^$mine ")"
xmessage -geometry "${nw}x${nh}+${nx}+${ny}" "a window over the notes" </dev/null >/dev/null 2>&1 &
cover_pid=$!
E2E_PIDS+=("$cover_pid")
e2e_wait_for 5 xdotool search --onlyvisible --class Xmessage || e2e_fail "no xmessage"
cover=$(xdotool search --onlyvisible --class Xmessage | head -n 1)
e2e_wait_for 5 is_above "$cover" "$mine" || e2e_fail "the covering window is not above the note"
e2e_choose 3 2
e2e_wait_for 5 is_above "$mine" "$cover" || e2e_fail "Show Notes did not raise the note"

# Ctrl+click does the same once the double-click time has passed.
xdotool windowraise "$cover"
e2e_wait_for 5 is_above "$cover" "$mine" || e2e_fail "could not cover the note again"
xdotool mousemove --window "$ICON" 10 10 keydown ctrl click 1 keyup ctrl
e2e_wait_for 5 is_above "$mine" "$cover" || e2e_fail "Ctrl+click did not raise the note"
e2e_notes_shown 2 || e2e_fail "Ctrl+click changed the note windows"
kill "$cover_pid"

e2e_exit_from_menu
[ "$("$NOTEFILE" dump "$DATA" | wc -l)" = 2 ] || e2e_fail "Note.Dat does not hold the new note"
[ "$(posted_flags)" = 11 ] || e2e_fail "the notes were not kept posted: $(posted_flags)"

# ---- run 2: the posted notes come back; Close Notes closes them for good ----------------------
e2e_start_in_tray
e2e_wait_for 10 e2e_notes_shown 2 || e2e_fail "the posted notes did not come back"
e2e_choose 4 2
e2e_wait_for 5 e2e_notes_shown 0 || e2e_fail "Close Notes left $(e2e_note_windows "$APP_PID" | wc -l) windows"
e2e_exit_from_menu
[ "$(posted_flags)" = 00 ] || e2e_fail "closed notes are still posted: $(posted_flags)"

e2e_start_in_tray
sleep 2
e2e_notes_shown 0 || e2e_fail "closed notes came back at the next start"

# ---- run 3: Export, change, Import the export back ---------------------------------------------
exported="$E2E_TMP/exported.dat"
choose_data 0
answer_file_dialog "Save As" "$exported"
e2e_wait_for 5 test -s "$exported" || e2e_fail "Export wrote nothing"
# Nothing changed since the last save: the export holds the same notes (its save time is now).
[ "$("$NOTEFILE" dump "$exported")" = "$("$NOTEFILE" dump "$DATA")" ] ||
    e2e_fail "the export does not hold the current data"

e2e_choose 5 2 # New Note
e2e_wait_for 5 e2e_notes_shown 1 || e2e_fail "New Note opened no window"

choose_data 1
e2e_answer_box Warning # Yes is the default button
answer_file_dialog "Open" "$exported"
e2e_wait_for 5 e2e_notes_shown 0 || e2e_fail "the import left note windows open"
e2e_exit_from_menu
[ "$("$NOTEFILE" dump "$DATA")" = "$("$NOTEFILE" dump "$exported")" ] ||
    e2e_fail "after the import the data is not the exported data"
echo "1 passed, 0 failed"
