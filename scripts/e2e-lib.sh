#!/usr/bin/env bash
# Helpers for end-to-end checks: a private X server with a tray host, the real program, and
# clean-up of everything by PID. Source it from a test script; call e2e_start_display first.
set -euo pipefail

E2E_PIDS=()
E2E_TMP=$(mktemp -d /tmp/jotterly-e2e-XXXXXX)
export XDG_DATA_HOME="$E2E_TMP/data"
export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
mkdir -p "$XDG_DATA_HOME/jotterly" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

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
