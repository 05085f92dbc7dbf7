#!/usr/bin/env bash
# The mail check and sounds that cannot silence each other, on the real program with a Dovecot
# on 127.0.0.1 and a PulseAudio null sink whose monitor is recorded. While a silent server is
# being checked the tray icon still opens its menu at once, and the check then says it failed.
# Three waiting messages are listed in the new-mail window (its own sound plays once), which
# stays open; a note rings with a wave file; the new-mail window's stamp closes it, and the
# ringing loop is still heard; OK on the note ends it; Exit ends with status 0.
JOTTERLY_BIN=$(readlink -f "$1")
source "$(dirname "$0")/../../scripts/e2e-lib.sh"
WAV=$(readlink -f "$(dirname "$0")/../../resources/sounds/beep-loop.wav")
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

e2e_start_mailserver 3
"$NOTEFILE" due "$DATA" 40 "$WAV" "Alice,127.0.0.1:$POP,alice,alice-pw" \
    "Silent,127.0.0.1:$SILENT,alice,alice-pw" || e2e_fail "could not write $DATA"
e2e_start_display
e2e_start_in_tray
sleep 1.5
[ "$(peak)" -lt 100 ] || e2e_fail "sound before anything happened: peak $(peak)"

# The tray menu opens only while no note rings, so the mail comes first: Check Email (row 7,
# two separators above) > account $1.
check_account() { e2e_choose_in_submenu 7 2 "$1" 30; }

# ---- a silent server: the tray still answers; the check then ends with "Mail not checked" -----
check_account 1
e2e_open_menu
echo "menu opened ${MENU_MS} ms after a right click during the check"
[ "$MENU_MS" -lt 2000 ] || e2e_fail "the menu took $MENU_MS ms during the check"
xdotool key Escape
e2e_wait_for 5 e2e_menus_open 0 || e2e_fail "the menu stayed open"
e2e_wait_for 20 e2e_window_shown "Mail not checked" || e2e_fail "no failure box after the silent server"
e2e_screenshot "$ARTIFACTS/mail-nothing-new.png"
e2e_answer_box "Mail not checked"
e2e_wait_for 5 e2e_window_gone "Mail not checked" || e2e_fail "the box stayed open"

# ---- three messages: their rows in the window, which stays open while the note rings --------
check_account 0
e2e_wait_for 15 e2e_window_shown "New mail" || e2e_fail "no new-mail window"
WIN=$(e2e_named_window "$APP_PID" "New mail")
sleep 0.5
read -r WX WY WW WH <<<"$(e2e_window_geometry "$WIN")"
import -window root -crop "${WW}x${WH}+${WX}+${WY}" +repage "$ARTIFACTS/mail-new-window-only.png"
# The rows of text under the header of the "From" column (the list sits below the report line
# saying the password went out in clear: this server offers no TLS): runs of at least four pixel
# rows whose mean is darker than the white of the list (a grid line is one pixel high).
rows=$(convert "$ARTIFACTS/mail-new-window-only.png" -crop "100x$((WH - 126))+130+98" +repage \
    -colorspace gray -scale "1x$((WH - 126))!" -depth 8 txt:- |
    awk -F'[(,)]' 'NR > 1 { if ($3 < 245) run++; else { if (run >= 4) n++; run = 0 } }
    END { if (run >= 4) n++; print n + 0 }')
[ "$rows" = 3 ] || e2e_fail "the list shows $rows rows of text, not 3"

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
