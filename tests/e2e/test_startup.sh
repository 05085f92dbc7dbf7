#!/usr/bin/env bash
# Start-up under a real X server with a tray host: single instance, logo, tray icon, SIGTERM.
JOTTERLY_BIN=$(readlink -f "$1")
source "$(dirname "$0")/../../scripts/e2e-lib.sh"
e2e_start_display

# The tray icon appears and no logo is shown with "nologo".
e2e_start_app nologo
first=$APP_PID
e2e_wait_for 20 e2e_tray_icon_window "$first" || e2e_fail "no tray icon"
e2e_visible_windows "$first" | grep -q ' 264 143$' && e2e_fail "logo shown despite nologo"

# A second copy ends at once with no window of its own and says that Jotterly runs (the
# running copy shows it too: tests/e2e/test_launcher.sh).
start=$(date +%s%N)
"$JOTTERLY_BIN" nologo </dev/null >"$E2E_TMP/second.log" 2>&1 &
second=$!
e2e_wait_exit "$second" 2 || e2e_fail "second copy still running after 2 s"
elapsed=$((($(date +%s%N) - start) / 1000000))
[ "$EXIT_STATUS" = 0 ] || e2e_fail "second copy exited with $EXIT_STATUS"
[ "$(cat "$E2E_TMP/second.log")" = "Jotterly is already running." ] ||
    e2e_fail "second copy printed: $(cat "$E2E_TMP/second.log")"
echo "second copy ended after ${elapsed} ms"

# SIGTERM runs the shutdown save and exits 0: the first start's data lands in Note.Dat.
[ -e "$XDG_DATA_HOME/jotterly/Note.Dat" ] && e2e_fail "Note.Dat written before any change"
e2e_quit_app "$first"
[ -s "$XDG_DATA_HOME/jotterly/Note.Dat" ] || e2e_fail "SIGTERM did not save"
[ "$(stat -c %a "$XDG_DATA_HOME/jotterly/Note.Dat")" = 600 ] || e2e_fail "Note.Dat is not private"
grep -q "Welcome !" "$XDG_DATA_HOME/jotterly/Note.Dat" || e2e_fail "welcome note not saved"

# The logo shows for about two seconds unless started with "nologo" (exactly that word).
e2e_start_app
e2e_wait_for 5 bash -c "xdotool search --onlyvisible --pid $APP_PID | while read w; do xwininfo -id \$w; done | grep -q 'Width: 264'" ||
    e2e_fail "no logo without nologo"
e2e_wait_for 20 e2e_tray_icon_window "$APP_PID" || e2e_fail "no tray icon after the logo"
e2e_quit_app
# Other words are no way to start it: a line of usage and status 2, before any window.
for args in "NOLOGO" "nologo x"; do
    status=0
    # shellcheck disable=SC2086
    "$JOTTERLY_BIN" $args </dev/null >/dev/null 2>"$E2E_TMP/usage.log" || status=$?
    [ "$status" = 2 ] && grep -q usage "$E2E_TMP/usage.log" || e2e_fail "'$args' ended with $status"
done
echo "1 passed, 0 failed"
