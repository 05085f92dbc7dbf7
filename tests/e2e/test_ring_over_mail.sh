#!/usr/bin/env bash
# Sounds that cannot silence each other, heard for real: the program plays into a PulseAudio
# null sink whose monitor is recorded. New mail arrives from a Dovecot on 127.0.0.1 (its own
# sound plays once) and its window stays open; a note rings with a wave file; the new-mail
# window's stamp closes it, and the ringing loop is still heard; OK on the note ends it.
#   bash tests/e2e/test_ring_over_mail.sh path/to/jotterly
JOTTERLY_BIN=$(readlink -f "$1")
source "$(dirname "$0")/../../scripts/e2e-lib.sh"
WAV=$(readlink -f "$(dirname "$0")/../../resources/sounds/beep-loop.wav")
[ -x "$NOTEFILE" ] || e2e_fail "the test tools are not built"
command -v pulseaudio >/dev/null && command -v parec >/dev/null ||
    e2e_fail "pulseaudio and parec are missing (scripts/setup installs them)"

pulse="$E2E_TMP/pulse"
mkdir -p "$pulse"
HOME=$pulse XDG_RUNTIME_DIR=$pulse XDG_CONFIG_HOME=$pulse pulseaudio -n --daemonize=no \
    --exit-idle-time=-1 --use-pid-file=no --disable-shm=yes \
    "--load=module-null-sink sink_name=jotterly_null" \
    "--load=module-native-protocol-unix auth-anonymous=1 socket=$pulse/native" \
    </dev/null >"$E2E_TMP/pulse.log" 2>&1 &
E2E_PIDS+=($!)
e2e_wait_for 10 test -S "$pulse/native" || e2e_fail "no PulseAudio: $(cat "$E2E_TMP/pulse.log")"
export PULSE_SERVER="unix:$pulse/native"
parec --device=jotterly_null.monitor --raw --format=s16le --channels=1 --rate=8000 \
    --latency-msec=20 >"$E2E_TMP/sink.raw" 2>"$E2E_TMP/parec.log" &
E2E_PIDS+=($!)

# The loudest sample on the sink over the last 1.5 s (8000 two-byte samples a second).
peak() {
    python3 - "$E2E_TMP/sink.raw" <<'EOF'
import array, os, sys
size = os.path.getsize(sys.argv[1]) // 2 * 2
with open(sys.argv[1], "rb") as f:
    f.seek(max(0, size - 24000))
    samples = array.array("h", f.read(size - f.tell()))
print(max((abs(s) for s in samples), default=0))
EOF
}
heard() { sleep 1.5 && [ "$(peak)" -gt 5000 ]; }

e2e_start_mailserver 1
"$NOTEFILE" due "$DATA" 25 "$WAV" "Alice,127.0.0.1:$POP,alice,alice-pw" ||
    e2e_fail "could not write $DATA"
e2e_start_display
e2e_start_in_tray
sleep 1.5
[ "$(peak)" -lt 100 ] || e2e_fail "sound before anything happened: peak $(peak)"

# The tray menu opens only while no note rings, so the mail comes first: Check Email (row 7,
# two separators above) > the account. Its window stays open while the note begins to ring.
e2e_choose_in_submenu 7 2 0 30
e2e_wait_for 15 e2e_window_shown "New mail" || e2e_fail "no new-mail window"
WIN=$(e2e_named_window "$APP_PID" "New mail")

e2e_wait_for 60 e2e_ringing_windows || e2e_fail "no ringing window"
e2e_wait_for 10 heard || e2e_fail "the ringing note's wave is not heard: peak $(peak)"

# The stamp closes the new-mail window (raised over the ringing note first).
xdotool windowraise "$WIN"
sleep 0.5
e2e_screenshot "$ARTIFACTS/ring-over-mail.png"
e2e_close_mail_by_stamp
heard || e2e_fail "closing the new-mail window silenced the ringing note: peak $(peak)"
e2e_ringing_windows >/dev/null || e2e_fail "the note stopped ringing"

# OK answers the note: the loop ends with it.
e2e_ok_ringing
e2e_wait_for 10 bash -c "! grep -q 'Due note' '$DATA'" || e2e_fail "the note was not acknowledged"
sleep 1.5
[ "$(peak)" -lt 100 ] || e2e_fail "the loop plays on after OK: peak $(peak)"
e2e_exit_from_menu
echo "PASS"
