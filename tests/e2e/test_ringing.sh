#!/usr/bin/env bash
# A One Time note falls due 3 s after start: its window rings in the middle of the screen
# within one check period, a click on OK removes the note from Note.Dat and logs it.
JOTTERLY_BIN=$(readlink -f "$1")
source "$(dirname "$0")/../../scripts/e2e-lib.sh"
e2e_start_display

data="$XDG_DATA_HOME/jotterly"
due_ns=$(($(date +%s%N) + 3000000000))
"$NOTEFILE" due "$data/Note.Dat" 3 || e2e_fail "could not write the data file"
grep -q "Due note" "$data/Note.Dat" || e2e_fail "the data file holds no due note"
e2e_start_in_tray

# The ringing window: the template size (234 x 208 at 96 dpi) centred on the 1024 x 768 screen.
ringing_window() {
    e2e_visible_windows "$APP_PID" | awk '$4 == 234 && $5 == 208 { print; found = 1 } END { exit !found }'
}
e2e_wait_for 20 ringing_window || e2e_fail "no ringing window; windows: $(e2e_visible_windows "$APP_PID")"
rang_ns=$(date +%s%N)
delay_ms=$(((rang_ns - due_ns) / 1000000))
echo "rang ${delay_ms} ms after the alarm time"
[ "$delay_ms" -ge 0 ] || e2e_fail "rang ${delay_ms} ms before its time"
# One check period (5000 ms) plus the polling above.
[ "$delay_ms" -le 5500 ] || e2e_fail "rang ${delay_ms} ms late"

read -r win x y w h < <(ringing_window | head -1)
[ "$x" = $(((1024 - 234) / 2)) ] && [ "$y" = $(((768 - 208) / 2)) ] ||
    e2e_fail "ringing window at $x,$y, not centred"
[ -n "${E2E_SHOT:-}" ] && e2e_screenshot "$E2E_SHOT"

# OK sits at (93, 182) size 54 x 23 inside the window.
xdotool mousemove --sync $((x + 120)) $((y + 193)) click 1
e2e_wait_for 10 bash -c "! grep -q 'Due note' '$data/Note.Dat'" ||
    e2e_fail "Note.Dat still holds the acknowledged note"
grep -q "Note 1" "$data/Note.Dat" || e2e_fail "the other note was lost"
end=$((SECONDS + 5))
while ringing_window >/dev/null; do
    [ $SECONDS -lt $end ] || e2e_fail "the ringing window did not close"
    sleep 0.05
done
grep -Eq "^[A-Z][a-z]+day [0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2} Due note$" \
    "$data/Log.txt" || e2e_fail "Log.txt lacks the line: $(cat "$data/Log.txt" 2>/dev/null)"

kill -TERM "$APP_PID"
e2e_wait_exit "$APP_PID" 10 || e2e_fail "no exit after SIGTERM"
[ "$EXIT_STATUS" = 0 ] || e2e_fail "exit status $EXIT_STATUS"
grep -q "Due note" "$data/Note.Dat" && e2e_fail "the note came back with the shutdown save"
echo "1 passed, 0 failed"
