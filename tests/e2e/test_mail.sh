#!/usr/bin/env bash
# The mail check from the tray menu on the real program under Xvfb with a tray host and a
# Dovecot on 127.0.0.1: Check Email > account lists the three waiting messages in the new-mail
# window, whose stamp closes it; while a silent server is being checked the tray icon still
# opens its menu at once, and the check then ends with "No New Mail"; Exit ends with status 0.
#   bash tests/e2e/test_mail.sh path/to/jotterly
JOTTERLY_BIN=$(readlink -f "$1")
source "$(dirname "$0")/../../scripts/e2e-lib.sh"
BIN_DIR="$(dirname "$JOTTERLY_BIN")"
NOTEFILE="$BIN_DIR/jotterly_notefile"
MAILSERVER="$BIN_DIR/jotterly_mailserver"
DATA="$XDG_DATA_HOME/jotterly/Note.Dat"
ARTIFACTS="${E2E_ARTIFACTS:-$BIN_DIR/test-output/e2e}"
mkdir -p "$ARTIFACTS"
[ -x "$NOTEFILE" ] && [ -x "$MAILSERVER" ] || e2e_fail "the test tools are not built"
[ "$(id -u)" = 0 ] || e2e_fail "the private Dovecot needs root"

"$MAILSERVER" alice alice-pw 3 >"$E2E_TMP/ports" 2>"$E2E_TMP/mailserver.log" &
E2E_PIDS+=($!)
e2e_wait_for 20 test -s "$E2E_TMP/ports" || e2e_fail "no mail server: $(cat "$E2E_TMP/mailserver.log")"
read -r POP SILENT <"$E2E_TMP/ports"
"$NOTEFILE" mail "$DATA" "Alice,127.0.0.1:$POP,alice,alice-pw" \
    "Silent,127.0.0.1:$SILENT,alice,alice-pw" || e2e_fail "could not write $DATA"
e2e_start_display

menu_windows() {
    local id x y w h
    e2e_visible_windows "$APP_PID" | sort -n | while read -r id x y w h; do
        if xwininfo -id "$id" | grep -q 'Override Redirect State: yes'; then
            echo "$id $x $y $w $h"
        fi
    done
}
menus_open() { [ "$(menu_windows | wc -l)" = "$1" ]; }
named_window() {
    local id
    for id in $(e2e_visible_windows "$APP_PID" | awk '{print $1}'); do
        if [ "$(xdotool getwindowname "$id")" = "$1" ]; then echo "$id"; fi
    done | head -n 1
}
window_shown() { [ -n "$(named_window "$1")" ]; }
window_gone() { [ -z "$(named_window "$1")" ]; }

# Right click on the icon; the main menu's place and the height of its items (9 items,
# 3 separators of 5 pixels, a frame of 3).
open_menu() {
    xdotool mousemove --window "$ICON" 10 10 click 3
    e2e_wait_for 5 menus_open 1 || e2e_fail "no menu after a right click"
    read -r MENU MX MY MW MH <<<"$(menu_windows | head -n 1)"
    ITEM_H=$(((MH - 6 - 15) / 9))
}
# Check Email (row 7, two separators above) > account $1.
check_account() {
    open_menu
    xdotool mousemove $((MX + 40)) $((MY + 3 + 7 * ITEM_H + 2 * 5 + ITEM_H / 2))
    e2e_wait_for 5 menus_open 2 || e2e_fail "the Check Email submenu did not open"
    local id x y w h
    read -r id x y w h <<<"$(menu_windows | tail -n 1)"
    xdotool mousemove $((x + 30)) $((y + 3 + $1 * ITEM_H + ITEM_H / 2))
    sleep 0.1
    xdotool click 1
    e2e_wait_for 5 menus_open 0 || e2e_fail "the menu stayed open"
}

e2e_start_app nologo
e2e_wait_for 20 e2e_tray_icon_window "$APP_PID" || e2e_fail "no tray icon"
ICON=$(e2e_tray_icon_window "$APP_PID")

# ---- three messages: the window, its picture, the stamp ---------------------------------------
check_account 0
e2e_wait_for 15 window_shown "New mail" || e2e_fail "no new-mail window"
sleep 0.5
WIN=$(named_window "New mail")
read -r _ WX WY WW WH <<<"$(e2e_visible_windows "$APP_PID" | grep "^$WIN ")"
e2e_screenshot "$ARTIFACTS/mail-new-window.png"
import -window root -crop "${WW}x${WH}+${WX}+${WY}" +repage "$ARTIFACTS/mail-new-window-only.png"
# The rows of text under the header of the "Form" column: runs of at least four pixel rows whose
# mean is darker than the white of the list (a grid line is one pixel high).
rows=$(convert "$ARTIFACTS/mail-new-window-only.png" -crop "100x$((WH - 110))+130+82" +repage \
    -colorspace gray -scale "1x$((WH - 110))!" -depth 8 txt:- |
    awk -F'[(,)]' 'NR > 1 { if ($3 < 245) run++; else { if (run >= 4) n++; run = 0 } }
    END { if (run >= 4) n++; print n + 0 }')
[ "$rows" = 3 ] || e2e_fail "the list shows $rows rows of text, not 3"
# The stamp: its right edge on the list's (14 pixels in), in the band above the list.
xdotool mousemove $((WX + WW - 14 - 16)) $((WY + 29)) click 1
e2e_wait_for 5 window_gone "New mail" || e2e_fail "the stamp did not close the window"

# ---- a silent server: the tray still answers; the check then ends with "No New Mail" ----------
check_account 1
start=$(date +%s%N)
xdotool mousemove --window "$ICON" 10 10 click 3
e2e_wait_for 5 menus_open 1 || e2e_fail "no menu while the check ran"
ms=$((($(date +%s%N) - start) / 1000000))
echo "menu opened ${ms} ms after a right click during the check"
[ "$ms" -lt 2000 ] || e2e_fail "the menu took $ms ms during the check"
xdotool key Escape
e2e_wait_for 5 menus_open 0 || e2e_fail "the menu stayed open"
e2e_wait_for 20 window_shown "Nothing new" || e2e_fail "no \"No New Mail\" after the silent server"
e2e_screenshot "$ARTIFACTS/mail-nothing-new.png"
xdotool windowfocus --sync "$(named_window "Nothing new")"
xdotool key Return
e2e_wait_for 5 window_gone "Nothing new" || e2e_fail "the box stayed open"

# ---- Exit --------------------------------------------------------------------------------------
open_menu
xdotool mousemove $((MX + 40)) $((MY + 3 + 8 * ITEM_H + 3 * 5 + ITEM_H / 2))
sleep 0.1
xdotool click 1
e2e_wait_exit "$APP_PID" 10 || e2e_fail "no exit after Exit"
[ "$EXIT_STATUS" = 0 ] || e2e_fail "exit status $EXIT_STATUS after Exit"
echo "PASS"
