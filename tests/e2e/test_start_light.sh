#!/usr/bin/env bash
# What most sessions never use is not loaded at start: neither the sound back end nor libcurl
# nor OpenSSL is mapped while the program waits, and Qt Network never is (the single-instance
# socket is a plain one). The sound back end is loaded ahead of the first
# alarm (due 40 s after start), so the ring itself waits for nothing, and it rings on its tick.
JOTTERLY_BIN=$(readlink -f "$1")
source "$(dirname "$0")/../../scripts/e2e-lib.sh"
e2e_start_display

LAZY=(jotterly-sound.so libQt6Multimedia.so libpulse.so libcurl.so libssl.so libcrypto.so
    libQt6Network.so)
mapped() { grep -q "/$1" "/proc/$APP_PID/maps"; }
due_ns=$(($(date +%s%N) + 40000000000))
"$NOTEFILE" due "$DATA" 40 || e2e_fail "could not write the data file"
e2e_start_in_tray
sleep 3
for lib in "${LAZY[@]}"; do
    ! mapped "$lib" || e2e_fail "$lib is loaded at start"
done

e2e_wait_for 40 mapped jotterly-sound.so || e2e_fail "the sound back end was not loaded for the alarm"
ahead_ms=$(((due_ns - $(date +%s%N)) / 1000000))
echo "the sound back end was loaded ${ahead_ms} ms before the alarm time"
[ "$ahead_ms" -gt 5000 ] || e2e_fail "the sound back end was loaded only ${ahead_ms} ms ahead"
! mapped libcurl.so || e2e_fail "libcurl came with the sound back end"

e2e_wait_for 60 e2e_ringing_windows || e2e_fail "no ringing window"
e2e_expect_rang_in_time $((due_ns / 1000000)) 5500
echo "PASS"
