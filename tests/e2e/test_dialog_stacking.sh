#!/usr/bin/env bash
# Dialogs above the windows that opened them, under a real window manager (openbox) with a
# tray host: a posted note kept on top opens Save As and a box, the tray menu opens About, the
# Note Manager its Delete question and the new-mail window (on top, its mail from a Dovecot on
# 127.0.0.1) its "Sorry" box when no mail program can be started; each is above its opener
# and above every other window of the program in the window manager's stacking order (so no
# window of ours covers its buttons), and while About is up the tray menu still opens.
# Screenshots of each are left in test-output/e2e.
JOTTERLY_BIN=$(readlink -f "$1")
source "$(dirname "$0")/../../scripts/e2e-lib.sh"
e2e_start_display

# The program's managed windows, bottom first, as the window manager stacks them.
stacking() {
    local id
    for id in $(xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*'); do
        [ "$(xprop -id "$id" _NET_WM_PID 2>/dev/null | awk '{print $3}')" = "$APP_PID" ] &&
            echo $((id))
    done
}
named() { for id in $(stacking); do [ "$(xdotool getwindowname "$id")" = "$1" ] && echo "$id"; done; }
newest_not_in() { # the topmost managed window of the program that is not in the list $1
    local id
    for id in $(stacking | tac); do
        grep -qw "$id" <<<"$1" || { echo "$id"; return 0; }
    done
    return 1
}

# Runs the command in $2.. and checks the window it opens ($1 names it in messages): above
# its opener $OPENER and topmost of all the program's windows. Sets DIALOG.
expect_dialog_on_top() {
    local what=$1 before
    shift
    before=$(stacking)
    "$@"
    e2e_wait_for 10 newest_not_in "$before" || e2e_fail "$what did not open"
    sleep 0.5 # mapped and stacked
    DIALOG=$(newest_not_in "$before")
    local order
    order=$(stacking)
    [ "$(tail -n 1 <<<"$order")" = "$DIALOG" ] ||
        e2e_fail "$what ($(xdotool getwindowname "$DIALOG")) is under another window of the program:"$'\n'"$order"
    local pos_dialog pos_opener
    pos_dialog=$(grep -nw "$DIALOG" <<<"$order" | cut -d: -f1)
    pos_opener=$(grep -nw "$OPENER" <<<"$order" | cut -d: -f1)
    [ -n "$pos_opener" ] && [ "$pos_opener" -lt "$pos_dialog" ] || e2e_fail "$what is not above its opener"
    xprop -id "$DIALOG" WM_TRANSIENT_FOR | grep -q "window id" || e2e_fail "$what has no owner"
}
close_dialog() {
    xdotool windowactivate --sync "$DIALOG" 2>/dev/null || true
    sleep 0.2
    xdotool key Escape
    e2e_wait_for 10 bash -c "! xprop -root _NET_CLIENT_LIST | grep -qi $(printf '0x%x' "$DIALOG")" ||
        e2e_fail "the dialog did not close"
}

"$NOTEFILE" write "$DATA" 360,250,300,200,1
# The icon first: under a window manager the note windows too have a parent other than the
# root, as the embedded icon has. Openbox then takes over the windows already shown.
e2e_start_in_tray
openbox --sm-disable </dev/null >"$E2E_TMP/openbox.log" 2>&1 &
E2E_PIDS+=($!)
e2e_wait_for 10 bash -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
    e2e_fail "openbox did not start"
e2e_wait_for 20 bash -c "[ -n \"\$(xdotool search --pid $APP_PID --name '^Note 1\$')\" ]" ||
    e2e_fail "the posted note did not show"
sleep 1
OPENER=$(named "Note 1")
[ -n "$OPENER" ] || e2e_fail "the note is not managed by the window manager"
xprop -id "$OPENER" _NET_WM_STATE | grep -q ABOVE || e2e_fail "the note is not kept on top"

# The note menu by the right button on the pin box; its last items are Delete, Save To File,
# Print and Time Setting.
note_menu_item() { # $1: how many items from the end
    eval "$(xdotool getwindowgeometry --shell "$OPENER")"
    xdotool mousemove $((X + 8)) $((Y + 8)) click 3
    sleep 0.7
    for _ in $(seq "$1"); do xdotool key Up; done
    xdotool key Return
}
expect_dialog_on_top "Save To File" note_menu_item 3
e2e_screenshot "$ARTIFACTS/stacking-save-as.png"
close_dialog

expect_dialog_on_top "Print" note_menu_item 2
e2e_screenshot "$ARTIFACTS/stacking-print-box.png"
close_dialog

# About from the tray menu: owned by the program, above the note kept on top.
# Help's rows: Contents, a separator, Homepage, a separator, About.
about_from_menu() {
    e2e_open_menu
    e2e_point_at 0 0
    e2e_wait_for 5 e2e_menus_open 2 || e2e_fail "the Help submenu did not open"
    local id x y w h
    read -r id x y w h <<<"$(e2e_menu_windows | tail -n 1)"
    xdotool mousemove $((x + 40)) $((y + 3 + 2 * ITEM_H + 10 + ITEM_H / 2))
    sleep 0.1
    xdotool click 1
}
expect_dialog_on_top "About" about_from_menu
e2e_screenshot "$ARTIFACTS/stacking-about.png"
# The tray menu still opens while the box is up.
xdotool mousemove --window "$ICON" 10 10 click 3
e2e_wait_for 5 e2e_menus_open 1 || e2e_fail "no tray menu while About is up"
xdotool key Escape
e2e_wait_for 5 e2e_menus_open 0 || true
close_dialog

# ---- the Note Manager: its Delete asks above it ----------------------------------------------
shown_named() { [ -n "$(named "$1")" ]; }
"$JOTTERLY_BIN" manager
e2e_wait_for 10 shown_named "Note Manager" || e2e_fail "the manager did not open"
sleep 0.5
OPENER=$(named "Note Manager")
# The Delete button, under the list (the note of the list is selected).
press_delete() {
    eval "$(xdotool getwindowgeometry --shell "$OPENER")"
    xdotool mousemove $((X + 347)) $((Y + 255)) click 1
}
expect_dialog_on_top "the manager's Delete question" press_delete
[ "$(xdotool getwindowname "$DIALOG")" = "Warning !" ] || e2e_fail "Delete did not ask"
e2e_screenshot "$ARTIFACTS/stacking-manager-delete.png"
close_dialog # Escape: No, the note stays
xdotool windowactivate --sync "$OPENER" key Escape
e2e_wait_for 10 bash -c "! xprop -root _NET_CLIENT_LIST | grep -qi $(printf '0x%x' "$OPENER")" ||
    e2e_fail "the manager did not close"
e2e_quit_by_word
[ "$("$NOTEFILE" dump "$DATA" | wc -l)" = 1 ] || e2e_fail "the note did not outlive No to Delete"

# ---- the new-mail window (kept on top): with no mail program a double click says so above it --
e2e_start_mailserver 2
"$NOTEFILE" mail "$DATA" "Alice,127.0.0.1:$POP,alice,alice-pw" || e2e_fail "could not write $DATA"
# An empty PATH: no xdg-open, xdg-email or browser can take "mailto:".
mkdir -p "$E2E_TMP/no-programs"
# shellcheck disable=SC2034 # read by e2e_start_app
E2E_APP_ENV=(PATH="$E2E_TMP/no-programs")
e2e_start_in_tray
e2e_choose_in_submenu 7 2 0 30 # Check Email > Alice
e2e_wait_for 15 shown_named "New mail" || e2e_fail "no new-mail window"
sleep 0.5
OPENER=$(named "New mail")
xprop -id "$OPENER" _NET_WM_STATE | grep -q ABOVE || e2e_fail "the new-mail window is not on top"
open_first_mail() { # the first row of the list
    eval "$(xdotool getwindowgeometry --shell "$OPENER")"
    xdotool mousemove $((X + 200)) $((Y + 110)) click --repeat 2 --delay 80 1
}
expect_dialog_on_top "the new-mail window's Sorry box" open_first_mail
[ "$(xdotool getwindowname "$DIALOG")" = "Sorry" ] || e2e_fail "no Sorry box"
e2e_screenshot "$ARTIFACTS/stacking-mail-sorry.png"
close_dialog
e2e_quit_by_word
echo "PASS"
