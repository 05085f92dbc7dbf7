#!/usr/bin/env bash
# The options sheet driven with the pointer on the installed program, under Xvfb with a tray
# host: Scheme 3 chosen on the Note page and confirmed gives the next note Scheme 3's colours;
# "Start Jotterly when I log in" writes a valid autostart entry that starts the program, and
# unticking it removes the entry.
JOTTERLY_BIN=$(readlink -f "$1")
BUILD_DIR=$(dirname "$JOTTERLY_BIN")
source "$(dirname "$0")/../../scripts/e2e-lib.sh"
export XDG_CONFIG_HOME="$E2E_TMP/config"
ENTRY="$XDG_CONFIG_HOME/autostart/jotterly.desktop"

# The program as a user has it: installed under a prefix of its own.
cmake --install "$BUILD_DIR" --prefix "$E2E_TMP/prefix" >"$E2E_TMP/install.log" 2>&1 ||
    e2e_fail "install failed: $(cat "$E2E_TMP/install.log")"
JOTTERLY_BIN="$E2E_TMP/prefix/bin/jotterly"
e2e_start_display

# ---- helpers ---------------------------------------------------------------------------------

# Opens the sheet from the tray menu; sets SX, SY (its place on the screen).
open_options() {
    e2e_choose 2 1
    e2e_wait_for 10 e2e_window_shown Options || e2e_fail "no Options sheet"
    SHEET=$(e2e_named_window "$APP_PID" Options)
    read -r SX SY _ _ <<<"$(e2e_window_geometry "$SHEET")"
}
# A click at a point of the sheet, in its own pixels.
click_at() {
    xdotool mousemove $((SX + $1)) $((SY + $2))
    sleep 0.15
    xdotool click 1
    sleep 0.2
}
press_ok() {
    click_at "$OK_X" "$OK_Y"
    e2e_wait_for 10 e2e_window_gone Options || e2e_fail "the sheet stayed open after OK"
}
# The colour of a screen pixel as "r,g,b".
pixel() {
    import -window root -crop "1x1+$1+$2" -depth 8 txt:- | sed -n 's/.*srgb(\([0-9,]*\)).*/\1/p'
}

# Places in the sheet, in pixels from its top-left corner (dialog font, 96 dpi).
NOTE_TAB_X=83 NOTE_TAB_Y=18
OTHER_TAB_X=251 OTHER_TAB_Y=18
SCHEME_X=120 SCHEME_Y=46
SCHEME3_DY=20 # the list opens with the shown "Scheme 2" over the box: the next entry
AUTOSTART_X=22 AUTOSTART_Y=164
OK_X=229 OK_Y=232

# ---- Scheme 3 for new notes -------------------------------------------------------------------
e2e_start_in_tray
e2e_wait_for 10 e2e_notes_shown 1 || e2e_fail "the welcome note did not show"
welcome=$(e2e_note_windows "$APP_PID")
open_options
click_at $NOTE_TAB_X $NOTE_TAB_Y
click_at $SCHEME_X $SCHEME_Y
e2e_screenshot "$ARTIFACTS/options-scheme-list.png"
click_at $SCHEME_X $((SCHEME_Y + SCHEME3_DY))
e2e_screenshot "$ARTIFACTS/options-note-page.png"
press_ok

xdotool mousemove --window "$ICON" 10 10 click --repeat 2 --delay 120 1
e2e_wait_for 5 e2e_notes_shown 2 || e2e_fail "a double click did not open a note window"
note=$(e2e_note_windows "$APP_PID" | grep -v -x "$welcome")
read -r nx ny nw nh <<<"$(e2e_window_geometry "$note")"
sleep 0.5
e2e_screenshot "$ARTIFACTS/options-scheme3-note.png"
colour=$(pixel $((nx + nw / 2)) $((ny + nh / 2)))
[ "$colour" = "216,216,216" ] || e2e_fail "the new note is $colour, not Scheme 3's 216,216,216"

# ---- start at login ---------------------------------------------------------------------------
open_options
click_at $OTHER_TAB_X $OTHER_TAB_Y
click_at $AUTOSTART_X $AUTOSTART_Y
e2e_screenshot "$ARTIFACTS/options-other-page.png"
press_ok
[ -f "$ENTRY" ] || e2e_fail "no autostart entry after ticking the box"
desktop-file-validate "$ENTRY" || e2e_fail "the autostart entry is not valid"
grep -qx "Exec=$JOTTERLY_BIN" "$ENTRY" || e2e_fail "the entry does not start $JOTTERLY_BIN: $(cat "$ENTRY")"

# The desktop's launcher starts the program from the entry once this copy has ended.
e2e_quit_app
gio launch "$ENTRY" >"$E2E_TMP/launch.log" 2>&1 || e2e_fail "gio launch: $(cat "$E2E_TMP/launch.log")"
launched() { APP_PID=$(pgrep -x -f "$JOTTERLY_BIN" | head -n 1) && [ -n "$APP_PID" ]; }
e2e_wait_for 10 launched || e2e_fail "the entry did not start the program"
E2E_PIDS+=("$APP_PID")
e2e_wait_tray_icon

open_options
click_at $OTHER_TAB_X $OTHER_TAB_Y
click_at $AUTOSTART_X $AUTOSTART_Y
press_ok
[ -e "$ENTRY" ] && e2e_fail "the autostart entry is still there after unticking"
kill -TERM "$APP_PID" # not a child of this shell: its end is watched, not waited for
e2e_wait_for 10 bash -c "! kill -0 $APP_PID" || e2e_fail "the launched copy did not end"
echo "1 passed, 0 failed"
