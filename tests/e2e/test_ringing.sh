#!/usr/bin/env bash
# A One Time note falls due 40 s after start. What most sessions never use is not loaded while
# the program waits: neither the sound back end nor libcurl nor OpenSSL, and Qt Network never is
# (the single-instance socket is a plain one). The sound back end is loaded ahead of the alarm,
# so the ring itself waits for nothing. The note rings in the middle of the screen within one
# check period; a click on OK removes it from Note.Dat and logs it.
JOTTERLY_BIN=$(readlink -f "$1")
source "$(dirname "$0")/../../scripts/e2e-lib.sh"
e2e_start_display

LAZY=(jotterly-sound.so libQt6Multimedia.so libpulse.so libcurl.so libssl.so libcrypto.so
    libQt6Network.so)
mapped() { grep -q "/$1" "/proc/$APP_PID/maps"; }
due_ms=$(($(e2e_now_ms) + 40000))
"$NOTEFILE" due "$DATA" 40 || e2e_fail "could not write the data file"
e2e_start_in_tray
sleep 3
for lib in "${LAZY[@]}"; do
    ! mapped "$lib" || e2e_fail "$lib is loaded at start"
done

e2e_wait_for 40 mapped jotterly-sound.so || e2e_fail "the sound back end was not loaded for the alarm"
ahead_ms=$((due_ms - $(e2e_now_ms)))
echo "the sound back end was loaded ${ahead_ms} ms before the alarm time"
[ "$ahead_ms" -gt 5000 ] || e2e_fail "the sound back end was loaded only ${ahead_ms} ms ahead"
! mapped libcurl.so || e2e_fail "libcurl came with the sound back end"

e2e_wait_for 60 e2e_ringing_windows ||
    e2e_fail "no ringing window; windows: $(e2e_visible_windows "$APP_PID")"
e2e_expect_rang_in_time "$due_ms" 5500 # one check period (5000 ms) plus the polling above

# The ringing window is centred on the 1024 x 768 screen.
read -r _ x y _ _ < <(e2e_ringing_windows | head -1)
[ "$x" = $(((1024 - 234) / 2)) ] && [ "$y" = $(((768 - 208) / 2)) ] ||
    e2e_fail "ringing window at $x,$y, not centred"

e2e_ok_ringing
e2e_wait_for 10 bash -c "! grep -q 'Due note' '$DATA'" ||
    e2e_fail "Note.Dat still holds the acknowledged note"
grep -q "Note 1" "$DATA" || e2e_fail "the other note was lost"
not_ringing() { ! e2e_ringing_windows >/dev/null; }
e2e_wait_for 5 not_ringing || e2e_fail "the ringing window did not close"
log="$XDG_DATA_HOME/jotterly/Log.txt"
grep -Eq "^[A-Z][a-z]+day [0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2} Due note$" "$log" ||
    e2e_fail "Log.txt lacks the line: $(cat "$log" 2>/dev/null)"

e2e_quit_app
grep -q "Due note" "$DATA" && e2e_fail "the note came back with the shutdown save"
echo "1 passed, 0 failed"
