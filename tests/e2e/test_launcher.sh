#!/usr/bin/env bash
# Start-up and the launcher words on the real program under Xvfb with a tray host: the logo
# unless "nologo", the first save by SIGTERM into a private file; each word reaches the running
# copy (new-note makes exactly one note window, manager opens the Note Manager, show-notes and
# close-notes act on the notes, quit saves and ends with status 0; a plain second start says
# that Jotterly runs and the running copy shows a notice); a wrong word ends with
# status 2 and one line of usage; --help and --version answer without starting anything.
JOTTERLY_BIN=$(readlink -f "$1")
source "$(dirname "$0")/../../scripts/e2e-lib.sh"
e2e_start_display

# Runs the program with a word; sets STATUS, OUT and ERR. It must end within 5 seconds.
launch() {
    STATUS=0
    timeout 5 "$JOTTERLY_BIN" "$@" >"$E2E_TMP/out" 2>"$E2E_TMP/err" </dev/null || STATUS=$?
    OUT=$(cat "$E2E_TMP/out")
    ERR=$(cat "$E2E_TMP/err")
    [ "$STATUS" != 124 ] || e2e_fail "'jotterly $*' did not end"
}

# ---- without a running copy ----------------------------------------------------------------
launch --version
[ "$STATUS" = 0 ] && [[ "$OUT" =~ ^jotterly\ [0-9.]+$ ]] && [ -z "$ERR" ] ||
    e2e_fail "--version: status $STATUS, '$OUT', '$ERR'"
launch --help
[ "$STATUS" = 0 ] && grep -q '^  new-note ' <<<"$OUT" && [ -z "$ERR" ] || e2e_fail "--help"
launch frobnicate
[ "$STATUS" = 2 ] || e2e_fail "an unknown word ended with $STATUS"
[ -z "$OUT" ] && [ "$(wc -l <<<"$ERR")" = 1 ] && grep -q usage <<<"$ERR" ||
    e2e_fail "an unknown word printed '$OUT' / '$ERR'"
for word in quit show-notes close-notes; do
    launch "$word"
    [ "$STATUS" = 1 ] && grep -q 'not running' <<<"$ERR" ||
        e2e_fail "$word with none running: status $STATUS, '$ERR'"
done
[ -e "$XDG_RUNTIME_DIR/jotterly/instance" ] && e2e_fail "a word left a socket behind"

# A plain start shows the logo for about two seconds and writes nothing until SIGTERM saves.
e2e_start_app
e2e_wait_for 5 bash -c "xdotool search --onlyvisible --pid $APP_PID | while read w; do xwininfo -id \$w; done | grep -q 'Width: 264'" ||
    e2e_fail "no logo without nologo"
e2e_wait_tray_icon
[ -e "$DATA" ] && e2e_fail "Note.Dat written before any change"
e2e_quit_app
[ -s "$DATA" ] || e2e_fail "SIGTERM did not save"
[ "$(stat -c %a "$DATA")" = 600 ] || e2e_fail "Note.Dat is not private"

# new-note with none running starts the program, with no logo, and then makes the note.
e2e_start_app nologo new-note
e2e_wait_for 20 e2e_tray_icon_window "$APP_PID" || e2e_fail "new-note did not start the program"
e2e_visible_windows "$APP_PID" | grep -q ' 264 143$' && e2e_fail "logo shown despite nologo"
e2e_wait_for 10 e2e_notes_shown 2 || e2e_fail "no new note beside the welcome note"
sleep 1
e2e_notes_shown 2 || e2e_fail "the starting new-note made $(e2e_note_windows "$APP_PID" | wc -l) windows"

# ---- words for the running copy ----------------------------------------------------------------
launch new-note
[ "$STATUS" = 0 ] && [ -z "$OUT$ERR" ] || e2e_fail "new-note: status $STATUS, '$OUT$ERR'"
e2e_wait_for 5 e2e_notes_shown 3 || e2e_fail "new-note made no window in the running copy"
sleep 1
e2e_notes_shown 3 || e2e_fail "new-note made $(($(e2e_note_windows "$APP_PID" | wc -l) - 2)) windows"
# A plain second start is told, and the running copy shows it: its notice in the tray (an
# override-redirect window of its own, as the menus are) that goes after a few seconds.
launch
[ "$STATUS" = 0 ] && [ "$OUT" = "Jotterly is already running." ] && [ -z "$ERR" ] ||
    e2e_fail "a plain second start: $STATUS '$OUT' '$ERR'"
e2e_wait_for 5 e2e_menus_open 1 || e2e_fail "no notice of the running copy"
e2e_screenshot "$ARTIFACTS/launcher-second-start.png"
e2e_wait_for 15 e2e_menus_open 0 || e2e_fail "the notice of the running copy stayed"
e2e_notes_shown 3 || e2e_fail "a second start changed the notes shown"

launch manager
[ "$STATUS" = 0 ] || e2e_fail "manager: status $STATUS"
e2e_wait_for 5 e2e_window_shown "Note Manager" || e2e_fail "manager did not open the Note Manager"
# While the manager is open, a new note waits for it to close rather than being lost.
launch new-note
[ "$STATUS" = 0 ] || e2e_fail "new-note beside the manager: status $STATUS"
sleep 1
e2e_notes_shown 3 || e2e_fail "a note was made while the manager was open"
e2e_answer_box "Note Manager" Escape
e2e_wait_for 5 e2e_window_gone "Note Manager" || e2e_fail "the manager did not close"
e2e_wait_for 5 e2e_notes_shown 4 || e2e_fail "the waiting new-note was not carried out"

launch show-notes
[ "$STATUS" = 0 ] || e2e_fail "show-notes: status $STATUS"
launch close-notes
[ "$STATUS" = 0 ] || e2e_fail "close-notes: status $STATUS"
e2e_wait_for 5 e2e_notes_shown 0 || e2e_fail "close-notes left $(e2e_note_windows "$APP_PID" | wc -l) windows"
launch new-note
e2e_wait_for 5 e2e_notes_shown 1 || e2e_fail "new-note after close-notes"

e2e_quit_by_word
dump=$("$NOTEFILE" dump "$DATA")
[ "$(wc -l <<<"$dump")" = 5 ] || e2e_fail "Note.Dat does not hold the welcome note and 4 new ones: $dump"
[ "$(awk '{printf "%s", $1}' <<<"$dump")" = 00001 ] ||
    e2e_fail "quit did not keep the open note posted: $(awk '{printf "%s", $1}' <<<"$dump")"

# The manager word also starts the program first.
e2e_start_app nologo manager
e2e_wait_for 20 e2e_window_shown "Note Manager" || e2e_fail "manager did not start the program"
launch quit
e2e_wait_for 5 e2e_window_shown "Note Manager" || e2e_fail "quit closed the manager under the user's hands"
e2e_answer_box "Note Manager" Escape
e2e_wait_exit "$APP_PID" 10 || e2e_fail "quit was not carried out after the manager closed"
[ "$EXIT_STATUS" = 0 ] || e2e_fail "ended with $EXIT_STATUS"
echo "1 passed, 0 failed"
