#!/usr/bin/env bash
# The wall clock jumps while the monotonic clock does not, which is what a suspend looks like to
# the program: a reminder that fell due during the jump rings within one check period, and a
# jump backwards never makes a note ring early. libfaketime moves the program's wall clock only.
JOTTERLY_BIN=$(readlink -f "$1")
source "$(dirname "$0")/../../scripts/e2e-lib.sh"
e2e_start_display
e2e_use_faketime

# The fake clock starts at 20:00 today, so a note 8 hours ahead is neither today nor within the
# 7 hours that make a note due soon: only a refresh after the jump can find it.
offset=$(($(date -d "today 20:00" +%s) - $(date +%s)))

data="$XDG_DATA_HOME/jotterly"
start() {
    e2e_set_clock "$offset"
    env "${E2E_APP_ENV[@]}" "$NOTEFILE" due "$data/Note.Dat" "$1" ||
        e2e_fail "could not write the data file"
    e2e_start_in_tray
}

# Forward: the note is due 8 hours ahead; the clock jumps 9 hours.
start $((8 * 3600))
sleep 6
e2e_ringing_windows && e2e_fail "the note rang before the jump"
e2e_set_clock "$offset + 9 * 3600"
jump_ms=$(e2e_now_ms)
e2e_wait_for 20 e2e_ringing_windows || e2e_fail "no ring after the forward jump"
# Since the jump: one check period (5000 ms), plus mapping the window and polling for it on a
# busy machine.
e2e_expect_rang_in_time "$jump_ms" 7500
e2e_quit_app

# Backward: the note is due 3 hours ahead; the clock goes back 2 hours. Nothing may ring.
start $((3 * 3600))
e2e_set_clock "$offset - 2 * 3600"
sleep 12
e2e_ringing_windows && e2e_fail "the note rang after the clock went back"
kill -0 "$APP_PID" || e2e_fail "the program ended"
e2e_quit_app
grep -q "Due note" "$data/Note.Dat" || e2e_fail "the note was lost"
echo "2 passed, 0 failed"
