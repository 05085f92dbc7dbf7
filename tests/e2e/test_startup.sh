#!/usr/bin/env bash
# Start-up under a real X server with a tray host: tray icon, logo or none, the first save by
# SIGTERM. A second copy and wrong words: tests/e2e/test_launcher.sh.
JOTTERLY_BIN=$(readlink -f "$1")
source "$(dirname "$0")/../../scripts/e2e-lib.sh"
e2e_start_display

# The tray icon appears and no logo is shown with "nologo".
e2e_start_in_tray
e2e_visible_windows "$APP_PID" | grep -q ' 264 143$' && e2e_fail "logo shown despite nologo"

# SIGTERM runs the shutdown save and exits 0: the first start's data lands in Note.Dat.
[ -e "$DATA" ] && e2e_fail "Note.Dat written before any change"
e2e_quit_app
[ -s "$DATA" ] || e2e_fail "SIGTERM did not save"
[ "$(stat -c %a "$DATA")" = 600 ] || e2e_fail "Note.Dat is not private"

# The logo shows for about two seconds unless started with "nologo".
e2e_start_app
e2e_wait_for 5 bash -c "xdotool search --onlyvisible --pid $APP_PID | while read w; do xwininfo -id \$w; done | grep -q 'Width: 264'" ||
    e2e_fail "no logo without nologo"
e2e_wait_tray_icon
e2e_quit_app
echo "1 passed, 0 failed"
