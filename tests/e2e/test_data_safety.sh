#!/usr/bin/env bash
# Nothing is lost, under a real X server with a tray host:
# - SIGKILL at random moments of the saves of a 100,000-note file always leaves the old or the
#   new file whole, and the next start removes the temporary file a killed save left;
# - a file that cannot be read completely is moved aside before the first save and kept, also
#   when a signal ends the program while "Data Read Error!" is open;
# - Exit on a full disk asks what to do; "Keep Running" keeps the program with the old file
#   intact; a signal then ends it with status 1 and a message on stderr;
# - SIGINT and SIGHUP save like SIGTERM.
JOTTERLY_BIN=$(readlink -f "$1")
source "$(dirname "$0")/../../scripts/e2e-lib.sh"
FOLDER="$XDG_DATA_HOME/jotterly"
e2e_start_display

MOUNTED=""
unmount_disk() { if [ -n "$MOUNTED" ]; then umount "$MOUNTED" || true; MOUNTED=""; fi; }
trap 'unmount_disk; e2e_cleanup' EXIT

start_app() { e2e_start_in_tray 60; }
# Exit from the tray menu; what follows depends on the case.
choose_exit() { e2e_choose 8 3; }
note_count() { "$NOTEFILE" dump "$1" | wc -l; }
temps() { find "$FOLDER" -maxdepth 1 -name 'Note.Dat.tmp-*' | wc -l; }

# ---- SIGINT and SIGHUP save like SIGTERM ----------------------------------------------------
for sig in INT HUP TERM; do
    rm -f "$DATA"
    start_app
    kill -"$sig" "$APP_PID"
    e2e_wait_exit "$APP_PID" 10 || e2e_fail "no exit after SIG$sig"
    [ "$EXIT_STATUS" = 0 ] || e2e_fail "exit status $EXIT_STATUS after SIG$sig"
    grep -q "Welcome !" "$DATA" || e2e_fail "SIG$sig did not save"
done
echo "SIGINT, SIGHUP and SIGTERM save"

# ---- SIGKILL during saves of 100,000 notes --------------------------------------------------
rm -rf "$FOLDER"/*
"$NOTEFILE" many "$DATA" 100000
start=$SECONDS
kills=0
left=0
writing_or_gone() { [ "$(temps)" != 0 ] || ! kill -0 "$APP_PID" 2>/dev/null; }
for run in $(seq 30); do
    start_app
    [ "$(temps)" = 0 ] || e2e_fail "run $run: a stale temporary file survived the start"
    kill -TERM "$APP_PID"
    # The kill lands while the new file is written (or just after): shutdown takes a second or
    # more before it writes, so a kill timed from SIGTERM would never cut a write short.
    e2e_wait_for 60 writing_or_gone || e2e_fail "run $run: SIGTERM neither saved nor ended it"
    sleep "$(printf '0.%03d' $((RANDOM % 300)))"
    if kill -KILL "$APP_PID" 2>/dev/null; then kills=$((kills + 1)); fi
    wait "$APP_PID" 2>/dev/null || true
    [ "$(temps)" = 0 ] || left=$((left + 1))
    [ "$(note_count "$DATA")" = 100000 ] || e2e_fail "run $run: the file is not whole"
done
[ "$left" -gt 0 ] || e2e_fail "no kill cut a write short, so the start's clean-up went unchecked"
start_app
[ "$(temps)" = 0 ] || e2e_fail "a stale temporary file survived the last start"
kill -TERM "$APP_PID"
e2e_wait_exit "$APP_PID" 30 || e2e_fail "no exit after SIGTERM"
[ "$(note_count "$DATA")" = 100000 ] || e2e_fail "the last save is not whole"
echo "30 saves of 100000 notes, $kills killed part-way, $left mid-write: always whole ($((SECONDS - start)) s)"

# ---- an unreadable file is moved aside and kept ---------------------------------------------
rm -rf "$FOLDER"/*
"$NOTEFILE" many "$FOLDER/full.dat" 40
head -c -300 "$FOLDER/full.dat" >"$DATA"
cp "$DATA" "$E2E_TMP/original"
e2e_start_app nologo
e2e_answer_box "It's too bad" # "Data Read Error!"
e2e_wait_tray_icon
choose_exit
e2e_answer_box "Jotterly" # the name of the kept file
e2e_wait_exit "$APP_PID" 10 || e2e_fail "no exit after Exit"
aside=$(find "$FOLDER" -name 'Note.Dat.unreadable-*' | head -n 1)
[ -n "$aside" ] || e2e_fail "the unreadable file was not moved aside"
cmp -s "$aside" "$E2E_TMP/original" || e2e_fail "the kept file differs from the original"
[ "$(note_count "$DATA")" -ge 1 ] || e2e_fail "no new file after the move"

# A signal while "Data Read Error!" is open ends the program; the original is kept.
rm -f "$FOLDER"/Note.Dat*
cp "$E2E_TMP/original" "$DATA"
e2e_start_app nologo
e2e_wait_for 20 e2e_window_shown "It's too bad" || e2e_fail "no 'Data Read Error!' box"
kill -TERM "$APP_PID"
e2e_wait_exit "$APP_PID" 5 || e2e_fail "SIGTERM ignored while 'Data Read Error!' is open"
aside=$(find "$FOLDER" -name 'Note.Dat.unreadable-*' | head -n 1)
[ -n "$aside" ] && cmp -s "$aside" "$E2E_TMP/original" || e2e_fail "original not kept after SIGTERM"
echo "unreadable files are moved aside and kept"

# ---- Exit on a full disk ------------------------------------------------------------------------
rm -rf "$FOLDER"/*
mount -t tmpfs -o size=1m,mode=0700 tmpfs "$FOLDER" || e2e_fail "could not mount a small tmpfs"
MOUNTED="$FOLDER"
"$NOTEFILE" many "$DATA" 2500 # about 600 kB: no room for a second copy
cp "$DATA" "$E2E_TMP/before"
start_app
choose_exit
# The day's backup and the save both fail for want of room: Exit asks what to do, and Escape
# is "Keep Running". (The backup's failure is told only after a save that wrote.)
e2e_wait_for 20 e2e_window_shown "Jotterly" || e2e_fail "Exit did not ask what to do"
e2e_screenshot "$ARTIFACTS/exit_save_failed.png"
e2e_answer_box "Jotterly" Escape
sleep 1
kill -0 "$APP_PID" 2>/dev/null || e2e_fail "the program ended although the save failed"
e2e_wait_for 10 e2e_tray_icon_window "$APP_PID" || e2e_fail "the tray icon did not come back"
cmp -s "$DATA" "$E2E_TMP/before" || e2e_fail "the old file changed"
# Now a signal: no box, stderr, status 1 at once.
kill -TERM "$APP_PID"
e2e_wait_exit "$APP_PID" 3 || e2e_fail "SIGTERM with a failing save did not end the program"
[ "$EXIT_STATUS" = 1 ] || e2e_fail "exit status $EXIT_STATUS after a failed save on SIGTERM"
grep -q "could not be saved" "$E2E_TMP/app.log" || e2e_fail "the failure was not told on stderr"
cmp -s "$DATA" "$E2E_TMP/before" || e2e_fail "the old file changed"
unmount_disk
echo "a full disk at Exit keeps the program and the old file"
echo "1 passed, 0 failed"
