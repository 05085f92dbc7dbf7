#!/usr/bin/env bash
# Notes carried to another Jotterly through a calendar file. The first copy, with a One Time
# note due in 90 s, writes it through the Note Manager's calendar tool (Export to Calendar
# File..., the file chooser and "Save Options" answered by keys); a second copy with a data
# folder of its own takes the file in with `jotterly import-ics` before it starts, and then
# rings the imported note at its time; asked by the launcher word, the running second copy
# writes it out again under the same UID.
JOTTERLY_BIN=$(readlink -f "$1")
source "$(dirname "$0")/../../scripts/e2e-lib.sh"
e2e_start_display

ics="$E2E_TMP/carried.ics"
due_ns=$(($(date +%s%N) + 90 * 1000000000))
"$NOTEFILE" due "$DATA" 90 || e2e_fail "could not write the data file"
e2e_start_in_tray

# ---- the first copy: the manager's calendar tool, the sixth of its toolbar -------------------
e2e_open_manager
xdotool mousemove --window "$MGR" $((27 + 5 * 28)) 48 click 1
e2e_wait_for 5 e2e_menus_open 1 || e2e_fail "the calendar tool opened no menu"
import -window root "$ARTIFACTS/calendar_tool_menu.png"
xdotool key Down Return
e2e_wait_for 10 bash -c "xdotool search --onlyvisible --pid $APP_PID --name 'Save' | grep -q ." ||
    e2e_fail "no file chooser"
sleep 0.5
xdotool type --delay 20 "$ics"
xdotool key Return
e2e_wait_for 10 e2e_window_shown "Save Options" || e2e_fail "no Save Options after the file name"
xdotool key Return # All Notes
e2e_wait_for 10 e2e_window_shown "Jotterly" || e2e_fail "no box telling what was written"
import -window root "$ARTIFACTS/calendar_exported.png"
xdotool key Return
grep -q "^BEGIN:VEVENT" "$ics" && grep -q "^SUMMARY:Due note" "$ics" ||
    e2e_fail "the calendar file lacks the note: $(head -c 600 "$ics")"
xdotool key Escape
e2e_wait_for 5 e2e_window_gone "Note Manager" || e2e_fail "Escape did not close the manager"
e2e_quit_by_word

# ---- the second copy: another data folder, the file taken in before it starts ----------------
export XDG_DATA_HOME="$E2E_TMP/data-b" XDG_RUNTIME_DIR="$E2E_TMP/runtime-b"
mkdir -p "$XDG_DATA_HOME/jotterly" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
said=$("$JOTTERLY_BIN" import-ics "$ics" 2>&1) || e2e_fail "import-ics failed: $said"
echo "import-ics: $said"
grep -q "^1 reminder and 1 memo imported" <<<"$said" || e2e_fail "import-ics said: $said"
"$NOTEFILE" alarms "$XDG_DATA_HOME/jotterly/Note.Dat" | grep -q "Due note$" ||
    e2e_fail "the second data file lacks the note"
e2e_start_in_tray

# The running second copy writes its notes back out on the launcher word: the reminder keeps
# the identity it came with.
"$JOTTERLY_BIN" export-ics "$E2E_TMP/back.ics" || e2e_fail "export-ics was not handed over"
e2e_answer_box "Jotterly" # what was written
uid_of_due() { awk '/^BEGIN:VEVENT/ { uid = "" } /^UID:/ { uid = $0 } /^SUMMARY:Due note/ { print uid }' "$1"; }
[ -n "$(uid_of_due "$ics")" ] && [ "$(uid_of_due "$ics")" = "$(uid_of_due "$E2E_TMP/back.ics")" ] ||
    e2e_fail "the reminder came back as '$(uid_of_due "$E2E_TMP/back.ics")', not '$(uid_of_due "$ics")'"

ahead_s=$(((due_ns - $(date +%s%N)) / 1000000000))
echo "the imported note is due in ${ahead_s} s"
[ "$ahead_s" -ge 3 ] || e2e_fail "too slow: the note fell due before the second copy started"
e2e_ringing_windows && e2e_fail "the imported note rang before its time"
e2e_wait_for $((ahead_s + 30)) e2e_ringing_windows || e2e_fail "the imported note did not ring"
# One check period (5000 ms), plus mapping the window and polling for it on a busy machine.
e2e_expect_rang_in_time $((due_ns / 1000000)) 7500
import -window root "$ARTIFACTS/calendar_imported_rings.png"
e2e_quit_app
echo "PASS"
