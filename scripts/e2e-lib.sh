#!/usr/bin/env bash
# Helpers for end-to-end checks: a private X server with a tray host, the real program, and
# clean-up of everything by PID. Source it from a test script; call e2e_start_display first.
# The scripts take the program: bash tests/e2e/test_NAME.sh build/jotterly
set -euo pipefail

E2E_PIDS=()
E2E_TMP=$(mktemp -d /tmp/jotterly-e2e-XXXXXX)
export XDG_DATA_HOME="$E2E_TMP/data"
export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
mkdir -p "$XDG_DATA_HOME/jotterly" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

# The data file, the note-file tool built beside the program, and a folder for pictures that
# outlives the run. Scripts that install the program first set JOTTERLY_BIN later themselves.
# shellcheck disable=SC2034 # for the sourcing script
DATA="$XDG_DATA_HOME/jotterly/Note.Dat"
if [ -n "${JOTTERLY_BIN:-}" ]; then
    # shellcheck disable=SC2034
    NOTEFILE="$(dirname "$JOTTERLY_BIN")/jotterly_notefile"
    ARTIFACTS="${E2E_ARTIFACTS:-$(dirname "$JOTTERLY_BIN")/test-output/e2e}"
    mkdir -p "$ARTIFACTS"
fi

e2e_cleanup() {
    local pid
    for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${E2E_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

e2e_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Waits up to $1 seconds for the command in the remaining arguments to succeed.
e2e_wait_for() {
    local timeout=$1
    shift
    local end
    end=$((SECONDS + timeout))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $end ] || return 1
        sleep 0.05
    done
}

# Starts Xvfb on a free display and a tray host (none with E2E_NO_TRAY=1); exports DISPLAY.
e2e_start_display() {
    local fifo="$E2E_TMP/displayfd"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" </dev/null >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_PIDS+=($!)
    local display
    read -r -t 10 display <"$fifo" || e2e_fail "Xvfb did not start"
    export DISPLAY=":$display"
    [ "${E2E_NO_TRAY:-0}" = 1 ] && return 0
    trayer --edge top --align right --widthtype pixel --width 120 --height 28 \
        --SetDockType true </dev/null >"$E2E_TMP/trayer.log" 2>&1 &
    E2E_PIDS+=($!)
    e2e_wait_for 10 xdotool search --class trayer || e2e_fail "trayer did not start"
}

# Starts the program with the given arguments and the variables of E2E_APP_ENV (NAME=value
# words, for the program alone); sets APP_PID.
E2E_APP_ENV=()
e2e_start_app() {
    env "${E2E_APP_ENV[@]}" "$JOTTERLY_BIN" "$@" </dev/null >>"$E2E_TMP/app.log" 2>&1 &
    APP_PID=$!
    E2E_PIDS+=($APP_PID)
}

# The window of a process that the tray host has embedded (its parent is not the root).
e2e_tray_icon_window() {
    local pid=$1 w
    for w in $(xdotool search --pid "$pid" 2>/dev/null); do
        if ! xwininfo -id "$w" -children 2>/dev/null | grep -q 'Parent window id: .*(the root window)'; then
            if xwininfo -id "$w" 2>/dev/null | grep -q 'Map State: IsViewable'; then
                echo "$w"
                return 0
            fi
        fi
    done
    return 1
}

# Visible top-level windows of a process, one "id x y width height" line each.
e2e_visible_windows() {
    local pid=$1 w
    for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
        if xwininfo -id "$w" -children 2>/dev/null | grep -q 'Parent window id: .*(the root window)'; then
            local info
            info=$(xwininfo -id "$w")
            echo "$w $(awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
                /^  Width/{w=$2} /^  Height/{h=$2} END{print x, y, w, h}' <<<"$info")"
        fi
    done
}

# Waits for a child process to end within $2 seconds and sets EXIT_STATUS; fails on time-out.
e2e_wait_exit() {
    local pid=$1 timeout=$2
    local end=$((SECONDS + timeout))
    while kill -0 "$pid" 2>/dev/null; do
        [ $SECONDS -lt $end ] || return 1
        sleep 0.05
    done
    EXIT_STATUS=0
    wait "$pid" || EXIT_STATUS=$?
}

e2e_screenshot() {
    import -window root "$1"
}

# The note windows (tool windows) of process $1, one id a line.
e2e_note_windows() {
    local id
    for id in $(e2e_visible_windows "$1" | awk '{print $1}'); do
        if xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q UTILITY; then echo "$id"; fi
    done
}

# The first visible top-level window of process $1 titled $2.
e2e_named_window() {
    local id
    for id in $(e2e_visible_windows "$1" | awk '{print $1}'); do
        if [ "$(xdotool getwindowname "$id")" = "$2" ]; then echo "$id"; fi
    done | head -n 1
}

# Whether the program shows $1 note windows / a window titled $1 / none titled $1.
e2e_notes_shown() { [ "$(e2e_note_windows "$APP_PID" | wc -l)" = "$1" ]; }
e2e_window_shown() { [ -n "$(e2e_named_window "$APP_PID" "$1")" ]; }
e2e_window_gone() { [ -z "$(e2e_named_window "$APP_PID" "$1")" ]; }

# The program's open menus (override-redirect windows), "id x y width height", the main first.
e2e_menu_windows() {
    local id x y w h
    e2e_visible_windows "$APP_PID" | sort -n | while read -r id x y w h; do
        if xwininfo -id "$id" | grep -q 'Override Redirect State: yes'; then
            echo "$id $x $y $w $h"
        fi
    done
}
e2e_menus_open() { [ "$(e2e_menu_windows | wc -l)" = "$1" ]; }

# Waits up to $1 seconds (20) for the program's tray icon; sets ICON.
e2e_wait_tray_icon() {
    e2e_wait_for "${1:-20}" e2e_tray_icon_window "$APP_PID" || e2e_fail "no tray icon"
    ICON=$(e2e_tray_icon_window "$APP_PID")
}
e2e_start_in_tray() {
    e2e_start_app nologo
    e2e_wait_tray_icon "$@"
}

# Right click on the icon. Sets the main menu's place (MENU MX MY MW MH), the height ITEM_H of
# its $1 (9) items under three separators of 5 pixels in a frame of 3, and MENU_MS, the time
# the menu took to show.
e2e_open_menu() {
    local start
    start=$(date +%s%N)
    xdotool mousemove --window "$ICON" 10 10 click 3
    e2e_wait_for 5 e2e_menus_open 1 || e2e_fail "no menu after a right click"
    # shellcheck disable=SC2034 # for the sourcing script
    MENU_MS=$((($(date +%s%N) - start) / 1000000))
    # shellcheck disable=SC2034
    read -r MENU MX MY MW MH <<<"$(e2e_menu_windows | head -n 1)"
    ITEM_H=$(((MH - 6 - 15) / ${1:-9}))
}
# Main menu rows and the separators above them: Help 0 0, Data 1 1, Options 2 1, Show Notes
# 3 2, Close Notes 4 2, New Note 5 2, Note Manager 6 2, Check Email 7 2, Exit 8 3.
e2e_point_at() { xdotool mousemove $((MX + 40)) $((MY + 3 + $1 * ITEM_H + $2 * 5 + ITEM_H / 2)); }
# Clicks item $1 (of $3 items, 9) with $2 separators above it in a freshly opened main menu.
e2e_choose() {
    e2e_open_menu "${3:-9}"
    e2e_point_at "$1" "$2"
    sleep 0.1
    xdotool click 1
    e2e_wait_for 5 e2e_menus_open 0 || e2e_fail "the menu stayed open"
}
# Clicks item $3 of the submenu of main menu item $1 (with $2 separators above it); $4 is the
# x offset into the submenu (40), $5 the number of main menu items (9).
e2e_choose_in_submenu() {
    e2e_open_menu "${5:-9}"
    e2e_point_at "$1" "$2"
    e2e_wait_for 5 e2e_menus_open 2 || e2e_fail "the submenu of row $1 did not open"
    local id x y w h
    read -r id x y w h <<<"$(e2e_menu_windows | tail -n 1)"
    xdotool mousemove $((x + ${4:-40})) $((y + 3 + $3 * ITEM_H + ITEM_H / 2))
    sleep 0.1
    xdotool click 1
    e2e_wait_for 5 e2e_menus_open 0 || e2e_fail "the menu stayed open"
}
# Exit from the tray menu; fails unless the program then ends with status 0.
e2e_exit_from_menu() {
    e2e_choose 8 3
    e2e_wait_exit "$APP_PID" 10 || e2e_fail "no exit after Exit"
    [ "$EXIT_STATUS" = 0 ] || e2e_fail "exit status $EXIT_STATUS after Exit"
}

# Waits for the box captioned $1 and answers it with the key $2 (Return: its default button).
e2e_answer_box() {
    e2e_wait_for 20 e2e_window_shown "$1" || e2e_fail "no '$1' box"
    xdotool windowfocus --sync "$(e2e_named_window "$APP_PID" "$1")"
    sleep 0.2
    xdotool key "${2:-Return}"
}

# libfaketime for the program alone (and tools started with E2E_APP_ENV): its wall clock runs
# the offset of e2e_set_clock ahead, its monotonic clock is the real one, which is what a
# suspend or a clock change looks like to it.
e2e_use_faketime() {
    local lib=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
    [ -r "$lib" ] || e2e_fail "libfaketime is missing (package faketime)"
    E2E_CLOCK_FILE="$E2E_TMP/faketime"
    E2E_APP_ENV=(LD_PRELOAD="$lib" FAKETIME_TIMESTAMP_FILE="$E2E_CLOCK_FILE"
        FAKETIME_NO_CACHE=1 FAKETIME_DONT_FAKE_MONOTONIC=1)
}
e2e_set_clock() { printf "%+d\n" "$(($1))" >"$E2E_CLOCK_FILE.new" && mv "$E2E_CLOCK_FILE.new" "$E2E_CLOCK_FILE"; }

# Milliseconds on the real clock.
e2e_now_ms() { echo $(($(date +%s%N) / 1000000)); }

# The ringing note windows of the program (or of process $1), as e2e_visible_windows lists them
# (a ringing note takes the template size, 234 x 208 at 96 dpi); fails when there is none.
e2e_ringing_windows() {
    e2e_visible_windows "${1:-$APP_PID}" | awk '$4 == 234 && $5 == 208 { print; found = 1 } END { exit !found }'
}
# Clicks OK (93, 182, 54 x 23 in the window) on the first ringing note of the program (or of
# process $1).
e2e_ok_ringing() {
    local x y
    read -r _ x y _ _ < <(e2e_ringing_windows "${1:-$APP_PID}" | head -1)
    xdotool mousemove --sync $((x + 120)) $((y + 193)) click 1
}

# A note due at $1 (milliseconds on the real clock) rang now: not early, at most $2 ms late.
e2e_expect_rang_in_time() {
    local delay_ms=$(($(e2e_now_ms) - $1))
    echo "rang ${delay_ms} ms after its time"
    [ "$delay_ms" -ge 0 ] || e2e_fail "rang ${delay_ms} ms before its time"
    [ "$delay_ms" -le "$2" ] || e2e_fail "rang ${delay_ms} ms late"
}

# Ends the program (or child process $1) with SIGTERM: it must exit within 10 s with status 0.
e2e_quit_app() {
    local pid=${1:-$APP_PID}
    kill -TERM "$pid"
    e2e_wait_exit "$pid" 10 || e2e_fail "no exit after SIGTERM"
    [ "$EXIT_STATUS" = 0 ] || e2e_fail "exit status $EXIT_STATUS"
}
# The launcher word "quit": the running program must end within 10 s with status 0.
e2e_quit_by_word() {
    "$JOTTERLY_BIN" quit || e2e_fail "quit was not handed over"
    e2e_wait_exit "$APP_PID" 10 || e2e_fail "quit did not end the program"
    [ "$EXIT_STATUS" = 0 ] || e2e_fail "exit status $EXIT_STATUS after quit"
}

# "x y width height" of the program's window $1.
e2e_window_geometry() {
    e2e_visible_windows "$APP_PID" | awk -v id="$1" '$1 == id { print $2, $3, $4, $5 }'
}

# The Note Manager by its launcher word; sets MGR, its window.
e2e_open_manager() {
    "$JOTTERLY_BIN" manager || e2e_fail "the launcher word was not handed over"
    e2e_wait_for 30 e2e_window_shown "Note Manager" || e2e_fail "no Note Manager"
    MGR=$(e2e_named_window "$APP_PID" "Note Manager")
    # An empty id would make a later screenshot wait for a click instead of failing.
    [ -n "$MGR" ] || e2e_fail "the Note Manager went away"
    sleep 0.5
}

# A Dovecot on 127.0.0.1 where alice (password alice-pw) has $1 messages, and a listener that
# never answers; sets POP and SILENT, their ports.
e2e_start_mailserver() {
    local tool
    tool="$(dirname "$JOTTERLY_BIN")/jotterly_mailserver"
    [ -x "$tool" ] || e2e_fail "no $tool: it is built with the tests"
    [ "$(id -u)" = 0 ] || e2e_fail "the private Dovecot needs root"
    "$tool" alice alice-pw "$1" >"$E2E_TMP/ports" 2>"$E2E_TMP/mailserver.log" &
    E2E_PIDS+=($!)
    e2e_wait_for 20 test -s "$E2E_TMP/ports" || e2e_fail "no mail server: $(cat "$E2E_TMP/mailserver.log")"
    # shellcheck disable=SC2034 # for the sourcing script
    read -r POP SILENT <"$E2E_TMP/ports"
}
# Clicks the stamp of the new-mail window (its right edge on the list's, 14 pixels in, in the
# band above the list), which must close it.
e2e_close_mail_by_stamp() {
    local x y w
    read -r x y w _ <<<"$(e2e_window_geometry "$(e2e_named_window "$APP_PID" "New mail")")"
    xdotool mousemove $((x + w - 14 - 16)) $((y + 29)) click 1
    e2e_wait_for 5 e2e_window_gone "New mail" || e2e_fail "the stamp did not close the window"
}
