#!/usr/bin/env bash
# One writer per data file, and outside changes kept, on the real program under Xvfb:
# - a second copy on the same data with another runtime folder hands "new-note" to the first
#   (which makes the note), and a plain second start is refused with the holder named; only
#   the first copy writes, and every note made is in "Note.Dat" after it quits;
# - another process replaces "Note.Dat" with a file holding one more note while the program
#   runs; after an edit and Exit both the extra note and the edit are on disk.
JOTTERLY_BIN=$(readlink -f "$1")
source "$(dirname "$0")/../../scripts/e2e-lib.sh"
e2e_start_display
OTHER_RUNTIME="$E2E_TMP/runtime-2"
mkdir -m 700 "$OTHER_RUNTIME"
note_titles() { "$NOTEFILE" dump "$1" | cut -d' ' -f6-; }

# ---- two copies, two runtime folders ---------------------------------------------------------
e2e_start_in_tray
FIRST=$APP_PID
e2e_wait_for 10 e2e_notes_shown 1 || e2e_fail "no welcome note"
STATUS=0
XDG_RUNTIME_DIR="$OTHER_RUNTIME" timeout 20 "$JOTTERLY_BIN" nologo new-note \
    </dev/null >"$E2E_TMP/second.out" 2>&1 || STATUS=$?
[ "$STATUS" = 0 ] || e2e_fail "new-note from another runtime folder: status $STATUS, $(cat "$E2E_TMP/second.out")"
e2e_wait_for 10 e2e_notes_shown 2 || e2e_fail "the first copy did not make the handed-over note"

# A plain start there has no word to hand over: it names the copy that holds the notes.
XDG_RUNTIME_DIR="$OTHER_RUNTIME" "$JOTTERLY_BIN" nologo </dev/null >"$E2E_TMP/third.out" 2>&1 &
APP_PID=$!
E2E_PIDS+=($APP_PID)
e2e_wait_for 20 e2e_window_shown "Jotterly" || e2e_fail "the refused copy showed no box"
e2e_screenshot "$ARTIFACTS/one_writer_refused.png"
e2e_answer_box "Jotterly"
e2e_wait_exit "$APP_PID" 10 || e2e_fail "the refused copy did not end"
[ "$EXIT_STATUS" = 1 ] || e2e_fail "the refused copy ended with $EXIT_STATUS"
grep -q "open in another Jotterly (process $FIRST on $(hostname))" "$E2E_TMP/third.out" ||
    e2e_fail "the holder was not named: $(cat "$E2E_TMP/third.out")"
APP_PID=$FIRST
e2e_quit_app
[ "$(note_titles "$DATA" | wc -l)" = 2 ] || e2e_fail "Note.Dat holds $(note_titles "$DATA" | wc -l) notes, not 2"
echo "a second copy handed over its note and a third was refused with the holder named"

# ---- a file replaced from outside ----------------------------------------------------------
rm -rf "${DATA:?}"*
"$NOTEFILE" write "$DATA" 100,100,200,150 400,100,200,150
e2e_start_in_tray
e2e_wait_for 10 e2e_notes_shown 2 || e2e_fail "the two notes were not shown"
"$NOTEFILE" write "$E2E_TMP/outside.dat" 100,100,200,150 400,100,200,150 700,100,200,150
mv "$E2E_TMP/outside.dat" "$DATA" # as a sync tool puts a file in place
read -r note x y w h <<<"$(e2e_visible_windows "$APP_PID" | sort -k2 -n | head -n 1)"
xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
sleep 0.3
xdotool type --delay 20 "edited-here"
# The autosave a few seconds after the edit finds the file replaced: both versions are kept.
e2e_wait_for 20 e2e_window_shown "Jotterly" || e2e_fail "the kept copy was not told"
e2e_screenshot "$ARTIFACTS/one_writer_conflict.png"
e2e_answer_box "Jotterly"
e2e_exit_from_menu
conflict=$(find "$XDG_DATA_HOME/jotterly" -name 'Note.Dat.conflict-*' | head -n 1)
[ -n "$conflict" ] || e2e_fail "the outside version was not kept aside"
note_titles "$conflict" | grep -qx "Note 3" || e2e_fail "the extra note is lost"
grep -qa "edited-here" "$DATA" || e2e_fail "the edit is lost"
echo "the outside version was kept as $(basename "$conflict") and the edit saved"
