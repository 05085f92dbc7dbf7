#!/usr/bin/env bash
# Measures start-up under Xvfb with a tray host: milliseconds from launch to the tray icon
# being embedded, and resident and proportional memory (RSS, PSS from smaps_rollup) after
# SETTLE seconds idle (5); 5 runs, medians. With no notes the first start shows the welcome
# note. The last run's resident memory is also listed per library (and heap), largest first.
#   [SETTLE=60] [RUNS=5] [TOP=30 mappings listed] scripts/measure-startup.sh build/jotterly [notes]
JOTTERLY_BIN=$(readlink -f "$1")
NOTEFILE="$(dirname "$JOTTERLY_BIN")/jotterly_notefile"
NOTES=${2:-0}
source "$(dirname "$0")/e2e-lib.sh"
e2e_start_display

median() { sort -n | awk '{a[NR]=$1} END{print a[int((NR+1)/2)]}'; }
SETTLE=${SETTLE:-5}
rss_kib() { awk '/^Rss:/{print $2}' "/proc/$1/smaps_rollup"; }
pss_kib() { awk '/^Pss:/{print $2}' "/proc/$1/smaps_rollup"; }
RUNS=${RUNS:-5}
# Rss and Pss summed per mapped file (anonymous mappings as [anon], the heap as [heap]).
rss_by_mapping() {
    awk '/^[0-9a-f]+-[0-9a-f]+ /{name = (NF >= 6 ? $6 : "[anon]"); sub(".*/", "", name)}
         /^Rss:/{rss[name] += $2} /^Pss:/{pss[name] += $2}
         END{for (n in rss) printf "%8d %8d  %s\n", rss[n], pss[n], n}' "/proc/$1/smaps" |
        sort -rn | head -"${2:-30}"
}

measure_jotterly() {
    local times=() rss=() pss=()
    for run in $(seq "$RUNS"); do
        rm -f "$XDG_DATA_HOME/jotterly/Note.Dat"
        if [ "$NOTES" -gt 0 ]; then "$NOTEFILE" many "$XDG_DATA_HOME/jotterly/Note.Dat" "$NOTES"; fi
        local start=$(date +%s%N)
        e2e_start_app nologo
        e2e_wait_for 60 e2e_tray_icon_window "$APP_PID" || e2e_fail "no tray icon"
        times+=($((($(date +%s%N) - start) / 1000000)))
        sleep "$SETTLE"
        rss+=($(rss_kib "$APP_PID"))
        pss+=($(pss_kib "$APP_PID"))
        if [ "$run" = "$RUNS" ]; then
            echo "RSS KiB  PSS KiB  mapping (last run)"
            rss_by_mapping "$APP_PID" "${TOP:-30}"
        fi
        kill -KILL "$APP_PID"
        wait "$APP_PID" 2>/dev/null || true
    done
    echo "jotterly notes=$NOTES startup_ms=$(printf '%s\n' "${times[@]}" | median) rss_kib=$(printf '%s\n' "${rss[@]}" | median) pss_kib=$(printf '%s\n' "${pss[@]}" | median) after ${SETTLE} s (runs: ${times[*]} ms; RSS ${rss[*]} KiB; PSS ${pss[*]} KiB)"
}

measure_jotterly
