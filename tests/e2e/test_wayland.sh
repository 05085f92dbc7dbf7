#!/usr/bin/env bash
# A Wayland session with no X server: the program runs on the native Wayland platform (a
# headless compositor here), says once what the compositor limits, and takes launcher words.
# With no display at all it ends with a message instead of aborting.
JOTTERLY_BIN=$(readlink -f "$1")
source "$(dirname "$0")/../../scripts/e2e-lib.sh"
unset DISPLAY

status=0
"$JOTTERLY_BIN" nologo >"$E2E_TMP/none.log" 2>&1 </dev/null || status=$?
[ "$status" = 1 ] || e2e_fail "with no display the program ended with $status"
grep -q 'no display' "$E2E_TMP/none.log" || e2e_fail "no display, and it said: $(cat "$E2E_TMP/none.log")"

weston --backend=headless-backend.so --socket=jotterly-wayland --idle-time=0 --no-config \
    </dev/null >"$E2E_TMP/weston.log" 2>&1 &
E2E_PIDS+=($!)
e2e_wait_for 10 test -S "$XDG_RUNTIME_DIR/jotterly-wayland" || e2e_fail "weston did not start"
export WAYLAND_DISPLAY=jotterly-wayland

e2e_start_app nologo
e2e_wait_for 10 grep -q 'On this Wayland desktop' "$E2E_TMP/app.log" ||
    e2e_fail "nothing said about the compositor: $(cat "$E2E_TMP/app.log")"
kill -0 "$APP_PID" || e2e_fail "the program did not keep running"
"$JOTTERLY_BIN" new-note || e2e_fail "new-note was not handed over"
sleep 1
e2e_quit_by_word
[ "$(grep -c 'On this Wayland desktop' "$E2E_TMP/app.log")" = 1 ] || e2e_fail "told more than once"
[ "$("$NOTEFILE" dump "$DATA" | wc -l)" = 2 ] || e2e_fail "Note.Dat does not hold the new note"
echo "1 passed, 0 failed"
