#!/usr/bin/env bash
# The mail check from the tray menu on the real program under Xvfb with a tray host and a
# Dovecot on 127.0.0.1: Check Email > account lists the three waiting messages in the new-mail
# window, whose stamp closes it; while a silent server is being checked the tray icon still
# opens its menu at once, and the check then says it failed; Exit ends with status 0.
#   bash tests/e2e/test_mail.sh path/to/jotterly
JOTTERLY_BIN=$(readlink -f "$1")
source "$(dirname "$0")/../../scripts/e2e-lib.sh"
e2e_start_mailserver 3
"$NOTEFILE" mail "$DATA" "Alice,127.0.0.1:$POP,alice,alice-pw" \
    "Silent,127.0.0.1:$SILENT,alice,alice-pw" || e2e_fail "could not write $DATA"
e2e_start_display

# Check Email (row 7, two separators above) > account $1.
check_account() { e2e_choose_in_submenu 7 2 "$1" 30; }

e2e_start_in_tray

# ---- three messages: the window, its picture, the stamp ---------------------------------------
check_account 0
e2e_wait_for 15 e2e_window_shown "New mail" || e2e_fail "no new-mail window"
sleep 0.5
read -r WX WY WW WH <<<"$(e2e_window_geometry "$(e2e_named_window "$APP_PID" "New mail")")"
e2e_screenshot "$ARTIFACTS/mail-new-window.png"
import -window root -crop "${WW}x${WH}+${WX}+${WY}" +repage "$ARTIFACTS/mail-new-window-only.png"
# The rows of text under the header of the "From" column (the list sits below the report line
# saying the password went out in clear: this server offers no TLS): runs of at least four pixel
# rows whose mean is darker than the white of the list (a grid line is one pixel high).
rows=$(convert "$ARTIFACTS/mail-new-window-only.png" -crop "100x$((WH - 126))+130+98" +repage \
    -colorspace gray -scale "1x$((WH - 126))!" -depth 8 txt:- |
    awk -F'[(,)]' 'NR > 1 { if ($3 < 245) run++; else { if (run >= 4) n++; run = 0 } }
    END { if (run >= 4) n++; print n + 0 }')
[ "$rows" = 3 ] || e2e_fail "the list shows $rows rows of text, not 3"
e2e_close_mail_by_stamp

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

# ---- Exit --------------------------------------------------------------------------------------
e2e_exit_from_menu
echo "PASS"
