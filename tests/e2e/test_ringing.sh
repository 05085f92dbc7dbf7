#!/usr/bin/env bash
# A One Time note falls due 3 s after start: its window rings in the middle of the screen
# within one check period, a click on OK removes the note from Note.Dat and logs it.
JOTTERLY_BIN=$(readlink -f "$1")
source "$(dirname "$0")/../../scripts/e2e-lib.sh"
e2e_start_display

data="$XDG_DATA_HOME/jotterly"
due_ms=$(($(e2e_now_ms) + 3000))
"$NOTEFILE" due "$data/Note.Dat" 3 || e2e_fail "could not write the data file"
grep -q "Due note" "$data/Note.Dat" || e2e_fail "the data file holds no due note"
e2e_start_in_tray

e2e_wait_for 20 e2e_ringing_windows ||
    e2e_fail "no ringing window; windows: $(e2e_visible_windows "$APP_PID")"
e2e_expect_rang_in_time "$due_ms" 5500 # one check period (5000 ms) plus the polling above

# The ringing window is centred on the 1024 x 768 screen.
read -r _ x y _ _ < <(e2e_ringing_windows | head -1)
[ "$x" = $(((1024 - 234) / 2)) ] && [ "$y" = $(((768 - 208) / 2)) ] ||
    e2e_fail "ringing window at $x,$y, not centred"
[ -n "${E2E_SHOT:-}" ] && e2e_screenshot "$E2E_SHOT"

e2e_ok_ringing
e2e_wait_for 10 bash -c "! grep -q 'Due note' '$data/Note.Dat'" ||
    e2e_fail "Note.Dat still holds the acknowledged note"
grep -q "Note 1" "$data/Note.Dat" || e2e_fail "the other note was lost"
end=$((SECONDS + 5))
while e2e_ringing_windows >/dev/null; do
    [ $SECONDS -lt $end ] || e2e_fail "the ringing window did not close"
    sleep 0.05
done
grep -Eq "^[A-Z][a-z]+day [0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2} Due note$" \
    "$data/Log.txt" || e2e_fail "Log.txt lacks the line: $(cat "$data/Log.txt" 2>/dev/null)"

e2e_quit_app
grep -q "Due note" "$data/Note.Dat" && e2e_fail "the note came back with the shutdown save"
echo "1 passed, 0 failed"
