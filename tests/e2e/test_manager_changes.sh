#!/usr/bin/env bash
# The Note Manager on a bare X server (a tray host, no window manager) with the real program:
# its title band dragged by (60, 40) moves it by (60, 40) and its bottom edge dragged 80 pixels
# down makes it 80 pixels taller; a One Time note due in 70 minutes, of which libfaketime lets 9
# pass at once, is shifted an hour earlier with Ctrl+Alt+Down, the manager closed with Escape,
# and the note rings within one check period of its new time (the old schedule would wait an
# hour).
JOTTERLY_BIN=$(readlink -f "$1")
source "$(dirname "$0")/../../scripts/e2e-lib.sh"
e2e_start_display
e2e_use_faketime

data="$XDG_DATA_HOME/jotterly"

# Due in 70 minutes; the clock then moves on 9 (the program notices the jump within two ticks
# and looks at its notes afresh), which leaves the note an hour and a minute ahead.
e2e_set_clock 0
env "${E2E_APP_ENV[@]}" "$NOTEFILE" due "$data/Note.Dat" $((70 * 60)) ||
    e2e_fail "could not write the data file"
e2e_start_in_tray
skew=$((9 * 60))
e2e_set_clock "$skew"
sleep 11

e2e_open_manager

# ---- moved by its title band, made taller by its bottom edge --------------------------------
read -r x y w h <<<"$(e2e_window_geometry "$MGR")"
xdotool mousemove --sync $((x + 100)) $((y + 20)) mousedown 1
xdotool mousemove --sync $((x + 130)) $((y + 40)) mousemove --sync $((x + 160)) $((y + 60)) mouseup 1
sleep 0.3
read -r x2 y2 w2 h2 <<<"$(e2e_window_geometry "$MGR")"
[ "$((x2 - x)),$((y2 - y)),$w2,$h2" = "60,40,$w,$h" ] ||
    e2e_fail "dragging the band by 60,40 moved $x,$y ${w}x$h to $x2,$y2 ${w2}x$h2"
xdotool mousemove --sync $((x2 + 200)) $((y2 + h2 - 4)) mousedown 1
xdotool mousemove --sync $((x2 + 200)) $((y2 + h2 + 36)) mousemove --sync $((x2 + 200)) $((y2 + h2 + 76)) mouseup 1
sleep 0.3
read -r x3 y3 w3 h3 <<<"$(e2e_window_geometry "$MGR")"
[ "$x3,$y3,$w3,$((h3 - h2))" = "$x2,$y2,$w2,80" ] ||
    e2e_fail "dragging the bottom edge 80 down made $x2,$y2 ${w2}x$h2 into $x3,$y3 ${w3}x$h3"
import -window "$MGR" "$ARTIFACTS/manager_moved_taller.png"

# ---- an hour earlier by key; Escape ----------------------------------------------------------
e2e_ringing_windows && e2e_fail "the note rang before its time"
xdotool windowfocus --sync "$MGR"
xdotool key --delay 100 ctrl+alt+Down Escape
e2e_wait_for 5 e2e_window_gone "Note Manager" || e2e_fail "Escape did not close the manager"
e2e_wait_for 5 bash -c "'$NOTEFILE' alarms '$data/Note.Dat' | grep -q 'Due note$'" ||
    e2e_fail "Note.Dat lacks the note"
due=$("$NOTEFILE" alarms "$data/Note.Dat" | awk '/Due note$/ { print $1, $2 }')
due_ms=$((($(date -d "$due" +%s) - skew) * 1000)) # on the real clock
ahead_s=$(((due_ms - $(e2e_now_ms)) / 1000))
echo "after the shift the note rings at $due (program time), ${ahead_s} s from now"
[ "$ahead_s" -ge 5 ] && [ "$ahead_s" -le 60 ] || e2e_fail "the note was not moved an hour earlier"

e2e_wait_for $((ahead_s + 30)) e2e_ringing_windows || e2e_fail "no ring within 30 s of the new time"
# One check period (5000 ms), plus mapping the window and polling for it on a busy machine.
e2e_expect_rang_in_time "$due_ms" 7500

e2e_quit_app
echo "2 passed, 0 failed"
