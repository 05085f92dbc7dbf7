#!/usr/bin/env bash
# Posted notes under a real X server with a tray host: the windows of three posted notes open
# at their stored rectangles, a moved note is saved where it was left by SIGTERM, and all come
# back there at the next start. Then 50 posted notes: the time from start to all shown.
JOTTERLY_BIN=$(readlink -f "$1")
source "$(dirname "$0")/../../scripts/e2e-lib.sh"
e2e_start_display

# "title left top width height" of every visible note window (titled "Note N"), by title.
window_table() {
    local id x y w h
    e2e_visible_windows "$APP_PID" | while read -r id x y w h; do
        local name
        name=$(xdotool getwindowname "$id")
        [[ "$name" =~ ^Note\ [0-9]+$ ]] && echo "$name $x $y $w $h"
    done | sort -V
}
# Cheap enough to poll: the visible windows of the program joined with the names of the
# top-level windows, two calls whatever the number of notes.
note_count() {
    local visible=" " id
    for id in $(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null); do
        visible+="$(printf '0x%x' "$id") "
    done
    xwininfo -root -children | awk -v ids="$visible" '
        /"Note [0-9]+":/ { if (index(ids, " " $1 " ")) n++ } END { print n + 0 }'
}
has_notes() { [ "$(note_count)" -ge "$1" ]; }

# The posted notes of the data file in the same form.
file_table() {
    "$NOTEFILE" dump "$DATA" | awk '$1 == 1 { print $6, $7, $2, $3, $4, $5 }' | sort -V
}

expect_table() {
    [ "$1" = "$2" ] || e2e_fail "$3"$'\nexpected:\n'"$2"$'\ngot:\n'"$1"
}

# ---- three posted notes ----------------------------------------------------------------------
"$NOTEFILE" write "$DATA" 40,60,220,160,0 400,100,200,150,1 650,420,240,180,3
expected=$'Note 1 40 60 220 160\nNote 2 400 100 200 150\nNote 3 650 420 240 180'

e2e_start_app nologo
e2e_wait_for 20 has_notes 3 || e2e_fail "the three note windows did not appear"
expect_table "$(window_table)" "$expected" "windows not at their stored rectangles"
sleep 0.3 # the last paint reaches the screen
e2e_screenshot "$ARTIFACTS/sticky-three-notes.png"

# Drag note 3 by its title bar with the pointer (no window manager here: the note moves
# itself), and move note 2 the way a window manager would. Both new places get saved.
xdotool mousemove 760 430 mousedown 1 mousemove 770 435 mousemove 790 445 mousemove 800 450 \
    mouseup 1
e2e_wait_for 5 bash -c "[ \"\$(xdotool search --all --pid $APP_PID --name '^Note 3\$' getwindowgeometry | grep -c 'Position: 690,440')\" = 1 ]" ||
    e2e_fail "dragging the title bar did not move the note"$'\n'"$(window_table)"
moved=$(xdotool search --all --onlyvisible --pid "$APP_PID" --name '^Note 2$' | head -n 1)
xdotool windowmove "$moved" 300 500
expected=$'Note 1 40 60 220 160\nNote 2 300 500 200 150\nNote 3 690 440 240 180'
e2e_wait_for 5 bash -c "[ \"\$(xwininfo -id $moved | awk '/Absolute upper-left Y/{print \$4}')\" = 500 ]" ||
    e2e_fail "the note did not move"
sleep 0.2 # the program sees the configure event

e2e_quit_app
expect_table "$(file_table)" "$expected" "Note.Dat does not hold the notes where they were"

e2e_start_app nologo
e2e_wait_for 20 has_notes 3 || e2e_fail "the note windows did not come back"
expect_table "$(window_table)" "$expected" "the notes did not come back where they were"
sleep 0.3
e2e_screenshot "$ARTIFACTS/sticky-after-restart.png"
e2e_quit_app

# ---- 50 posted notes: start to all shown ------------------------------------------------------
rects=()
for i in $(seq 0 49); do
    rects+=("$((10 + (i % 10) * 95)),$((40 + (i / 10) * 140)),180,130,$((i % 4))")
done
"$NOTEFILE" write "$DATA" "${rects[@]}"
start=$(date +%s%N)
e2e_start_app nologo
e2e_wait_for 30 has_notes 50 || e2e_fail "not all 50 note windows appeared ($(note_count))"
elapsed=$((($(date +%s%N) - start) / 1000000))
echo "50 posted notes shown ${elapsed} ms after start"
echo "$elapsed" >"$ARTIFACTS/sticky-50-notes-ms.txt"
sleep 0.3
e2e_screenshot "$ARTIFACTS/sticky-50-notes.png"
e2e_quit_app
[ "$(file_table | wc -l)" = 50 ] || e2e_fail "not all 50 notes are posted after the save"
echo "1 passed, 0 failed"
