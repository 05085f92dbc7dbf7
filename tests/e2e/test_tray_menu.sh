#!/usr/bin/env bash
# The tray icon and its menu driven with the pointer on the real program, under Xvfb with a
# tray host: a double click opens one new note window, a right click shows the menu, Show Notes
# and Ctrl+click raise the notes, Close Notes closes them for good, Exit ends with status 0
# after saving, and Export then Import through the real file dialogs round-trip the data.
#   bash tests/e2e/test_tray_menu.sh path/to/jotterly
JOTTERLY_BIN=$(readlink -f "$1")
source "$(dirname "$0")/../../scripts/e2e-lib.sh"
NOTEFILE="$(dirname "$JOTTERLY_BIN")/jotterly_notefile"
DATA="$XDG_DATA_HOME/jotterly/Note.Dat"
ARTIFACTS="${E2E_ARTIFACTS:-$(dirname "$JOTTERLY_BIN")/test-output/e2e}"
mkdir -p "$ARTIFACTS"
[ -x "$NOTEFILE" ] || e2e_fail "no $NOTEFILE: it is built together with the note windows"
e2e_start_display

# ---- helpers ---------------------------------------------------------------------------------

# The program's note windows (tool windows), one id a line.
note_windows() {
    local id
    for id in $(e2e_visible_windows "$APP_PID" | awk '{print $1}'); do
        if xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q UTILITY; then echo "$id"; fi
    done
}
notes_shown() { [ "$(note_windows | wc -l)" = "$1" ]; }

# The open menu windows (override-redirect), "id x y width height", the main menu first.
menu_windows() {
    local id x y w h
    e2e_visible_windows "$APP_PID" | sort -n | while read -r id x y w h; do
        if xwininfo -id "$id" | grep -q 'Override Redirect State: yes'; then
            echo "$id $x $y $w $h"
        fi
    done
}
menus_open() { [ "$(menu_windows | wc -l)" = "$1" ]; }

# The top-level window of the program named $1 (dialogs and message boxes).
named_window() {
    local id
    for id in $(e2e_visible_windows "$APP_PID" | awk '{print $1}'); do
        if [ "$(xdotool getwindowname "$id")" = "$1" ]; then echo "$id"; fi
    done | head -n 1
}
window_shown() { [ -n "$(named_window "$1")" ]; }
window_gone() { [ -z "$(named_window "$1")" ]; }

start_app() {
    e2e_start_app nologo
    e2e_wait_for 20 e2e_tray_icon_window "$APP_PID" || e2e_fail "no tray icon"
    ICON=$(e2e_tray_icon_window "$APP_PID")
}

# Right click on the icon; sets the main menu's place and the height of its items (9 items,
# 3 separators of 5 pixels, a frame of 3).
open_menu() {
    xdotool mousemove --window "$ICON" 10 10 click 3
    e2e_wait_for 5 menus_open 1 || e2e_fail "no menu after a right click"
    read -r MENU MX MY MW MH <<<"$(menu_windows | head -n 1)"
    ITEM_H=$(((MH - 6 - 15) / 9))
}
# The pointer onto item $1 of the main menu, which has $2 separators above it.
point_at() { xdotool mousemove $((MX + 40)) $((MY + 3 + $1 * ITEM_H + $2 * 5 + ITEM_H / 2)); }
choose() {
    point_at "$1" "$2"
    sleep 0.1
    xdotool click 1
    e2e_wait_for 5 menus_open 0 || e2e_fail "the menu stayed open"
}
# Main menu rows: Help 0 0, Data 1 1, Options 2 1, Show Notes 3 2, Close Notes 4 2,
# New Note 5 2, Note Manager 6 2, Check Email 7 2, Exit 8 3.
choose_data() { # $1: 0 Export, 1 Import
    point_at 1 1
    e2e_wait_for 5 menus_open 2 || e2e_fail "the Data submenu did not open"
    local id x y w h
    read -r id x y w h <<<"$(menu_windows | tail -n 1)"
    xdotool mousemove $((x + 40)) $((y + 3 + $1 * ITEM_H + ITEM_H / 2))
    sleep 0.1
    xdotool click 1
    e2e_wait_for 5 menus_open 0 || e2e_fail "the menu stayed open"
}

# Types a path into the open file dialog named $1 and accepts it.
answer_file_dialog() {
    e2e_wait_for 10 window_shown "$1" || e2e_fail "no '$1' dialog"
    local dialog
    dialog=$(named_window "$1")
    xdotool windowfocus --sync "$dialog"
    sleep 0.3
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 5 "$2"
    xdotool key Return
    e2e_wait_for 10 window_gone "$1" || e2e_fail "the '$1' dialog stayed open"
}

# Whether window $1 lies above window $2 (xwininfo lists the root's children topmost first).
is_above() {
    xwininfo -root -children | awk -v a="$(printf '0x%x' "$1")" -v b="$(printf '0x%x' "$2")" '
        $1 == a { ia = NR } $1 == b { ib = NR } END { exit !(ia && ib && ia < ib) }'
}

exit_from_menu() {
    open_menu
    choose 8 3
    e2e_wait_exit "$APP_PID" 10 || e2e_fail "no exit after Exit"
    [ "$EXIT_STATUS" = 0 ] || e2e_fail "exit status $EXIT_STATUS after Exit"
}

posted_flags() { "$NOTEFILE" dump "$DATA" | awk '{ printf "%s", $1 }'; }

# ---- run 1: a double click makes one note; the menu; raising; Exit -------------------------
start_app
e2e_wait_for 10 notes_shown 1 || e2e_fail "the welcome note did not show"
welcome=$(note_windows)

xdotool mousemove --window "$ICON" 10 10 click --repeat 2 --delay 120 1
e2e_wait_for 5 notes_shown 2 || e2e_fail "a double click did not open a note window"
sleep 1 # well past the double-click time: still exactly one new window, and no manager
notes_shown 2 || e2e_fail "a double click opened $(($(note_windows | wc -l) - 1)) windows"
mine=$(note_windows | grep -v -x "$welcome")

open_menu
sleep 0.3
e2e_screenshot "$ARTIFACTS/tray-menu.png"
point_at 5 2 # New Note, selected under the pointer
sleep 0.3
e2e_screenshot "$ARTIFACTS/tray-menu-selected.png"
xdotool key Escape
e2e_wait_for 5 menus_open 0 || e2e_fail "Escape did not close the menu"

# Another window covers the new note; Show Notes brings the notes forward again.
read -r _ nx ny nw nh <<<"$(e2e_visible_windows "$APP_PID" | grep "^$mine ")"
xmessage -geometry "${nw}x${nh}+${nx}+${ny}" "a window over the notes" </dev/null >/dev/null 2>&1 &
cover_pid=$!
E2E_PIDS+=("$cover_pid")
e2e_wait_for 5 xdotool search --onlyvisible --class Xmessage || e2e_fail "no xmessage"
cover=$(xdotool search --onlyvisible --class Xmessage | head -n 1)
e2e_wait_for 5 is_above "$cover" "$mine" || e2e_fail "the covering window is not above the note"
open_menu
choose 3 2
e2e_wait_for 5 is_above "$mine" "$cover" || e2e_fail "Show Notes did not raise the note"

# Ctrl+click does the same once the double-click time has passed.
xdotool windowraise "$cover"
e2e_wait_for 5 is_above "$cover" "$mine" || e2e_fail "could not cover the note again"
xdotool mousemove --window "$ICON" 10 10 keydown ctrl click 1 keyup ctrl
e2e_wait_for 5 is_above "$mine" "$cover" || e2e_fail "Ctrl+click did not raise the note"
notes_shown 2 || e2e_fail "Ctrl+click changed the note windows"
kill "$cover_pid"

exit_from_menu
[ "$("$NOTEFILE" dump "$DATA" | wc -l)" = 2 ] || e2e_fail "Note.Dat does not hold the new note"
[ "$(posted_flags)" = 11 ] || e2e_fail "the notes were not kept posted: $(posted_flags)"

# ---- run 2: the posted notes come back; Close Notes closes them for good ----------------------
start_app
e2e_wait_for 10 notes_shown 2 || e2e_fail "the posted notes did not come back"
open_menu
choose 4 2
e2e_wait_for 5 notes_shown 0 || e2e_fail "Close Notes left $(note_windows | wc -l) windows"
exit_from_menu
[ "$(posted_flags)" = 00 ] || e2e_fail "closed notes are still posted: $(posted_flags)"

start_app
sleep 2
notes_shown 0 || e2e_fail "closed notes came back at the next start"

# ---- run 3: Export, change, Import the export back ---------------------------------------------
exported="$E2E_TMP/exported.dat"
open_menu
choose_data 0
answer_file_dialog "Save As" "$exported"
e2e_wait_for 5 test -s "$exported" || e2e_fail "Export wrote nothing"
# Nothing changed since the last save: the export holds the same notes (its save time is now).
[ "$("$NOTEFILE" dump "$exported")" = "$("$NOTEFILE" dump "$DATA")" ] ||
    e2e_fail "the export does not hold the current data"

open_menu
choose 5 2 # New Note
e2e_wait_for 5 notes_shown 1 || e2e_fail "New Note opened no window"

open_menu
choose_data 1
e2e_wait_for 10 window_shown Warning || e2e_fail "no Warning box before the import"
xdotool windowfocus --sync "$(named_window Warning)"
sleep 0.2
e2e_screenshot "$ARTIFACTS/tray-import-warning.png"
xdotool key Return # Yes is the default button
answer_file_dialog "Open" "$exported"
e2e_wait_for 5 notes_shown 0 || e2e_fail "the import left note windows open"
exit_from_menu
[ "$("$NOTEFILE" dump "$DATA")" = "$("$NOTEFILE" dump "$exported")" ] ||
    e2e_fail "after the import the data is not the exported data"
echo "1 passed, 0 failed"
